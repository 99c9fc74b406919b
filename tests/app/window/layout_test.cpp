// The window as laid out: frame, panels, every control's place, caption,
// start value and enabled state, tab order, fonts, and the information
// window under its splitter.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QSpinBox>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include "app/window/bevel_panel.h"
#include "app/window/splitter_bar.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

TEST(Layout, BorderlessCentredWindowAtTheLayoutsSize) {
  FormUnderTest t;
  TVarnekForm& form = *t.form;
  EXPECT_TRUE(form.windowFlags() & Qt::FramelessWindowHint);
  EXPECT_EQ(form.size(), QSize(597, 433));
  // It grows (see window_size_test.cpp), but never below the layout.
  EXPECT_EQ(form.minimumSize(), QSize(597, 433));
  EXPECT_EQ(form.windowTitle(), "Pirukko");
  EXPECT_EQ(form.geometry().center(), form.screen()->geometry().center());
  EXPECT_EQ(form.font().family(), "IPAPGothic");
  EXPECT_EQ(form.font().pixelSize(), 12);
}

struct PanelCase {
  const char* name;
  const char* parent;
  QRect bounds;
  QColor color;
  Bevel outer, inner;
  int bevel_width;
};

TEST(Layout, NestedPanelsWithTheirColoursAndBevels) {
  FormUnderTest t;
  const QColor yellow(255, 255, 0), red(255, 51, 51), white(255, 255, 255);
  const PanelCase cases[] = {
      {"Panel1", "VarnekForm", {0, 0, 597, 433}, yellow, Bevel::bvRaised, Bevel::bvNone, 2},
      {"Panel2", "Panel1", {4, 4, 589, 425}, red, Bevel::bvNone, Bevel::bvNone, 1},
      {"Panel6", "Panel2", {0, 0, 589, 25}, red, Bevel::bvRaised, Bevel::bvNone, 1},
      {"Panel3", "Panel2", {4, 24, 581, 397}, yellow, Bevel::bvRaised, Bevel::bvNone, 1},
      {"Panel4", "Panel3", {4, 4, 573, 389}, white, Bevel::bvRaised, Bevel::bvNone, 1},
      // Panel5 fills what the information window and the splitter leave.
      {"Panel5", "Panel4", {1, 1, 571, 299}, white, Bevel::bvRaised, Bevel::bvLowered, 1},
  };
  for (const PanelCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* panel = t.Find<BevelPanel>(c.name);
    ASSERT_NE(panel, nullptr);
    EXPECT_EQ(panel->parentWidget()->objectName(), c.parent);
    EXPECT_EQ(panel->geometry(), c.bounds);
    EXPECT_EQ(panel->style().color, c.color);
    EXPECT_EQ(panel->style().outer, c.outer);
    EXPECT_EQ(panel->style().inner, c.inner);
    EXPECT_EQ(panel->style().bevel_width, c.bevel_width);
  }
  // The bevels are painted: the raised outer edge of Panel1 is light on the
  // top-left and shadow on the bottom-right, the face is yellow.
  const QImage image = t.Find<BevelPanel>("Panel1")->grab().toImage();
  EXPECT_EQ(image.pixelColor(0, 10), QColor(255, 255, 255));
  EXPECT_EQ(image.pixelColor(596, 10), QColor(128, 128, 128));
  EXPECT_EQ(image.pixelColor(2, 200), yellow);
}

struct ControlCase {
  const char* name;
  const char* parent;
  QRect bounds;  // an empty size: only the position is laid down
  const char* caption;
};

QString CaptionOf(QWidget* widget) {
  if (auto* w = qobject_cast<QLabel*>(widget)) return w->text();
  if (auto* w = qobject_cast<QAbstractButton*>(widget)) return w->text();
  if (auto* w = qobject_cast<QGroupBox*>(widget)) return w->title();
  if (auto* w = qobject_cast<QLineEdit*>(widget)) return w->text();
  if (auto* w = qobject_cast<QPlainTextEdit*>(widget)) return w->toPlainText();
  if (auto* w = qobject_cast<QComboBox*>(widget)) return w->currentText();
  return {};
}

TEST(Layout, EveryControlInItsParentWithItsBoundsAndCaption) {
  FormUnderTest t;
  const ControlCase cases[] = {
      {"Label1", "Panel6", {8, 4, 0, 0}, "Pirukko"},
      {"ProgressBar1", "Panel6", {268, 12, 289, 7}, ""},
      {"SpeedButton1", "Panel6", {564, 4, 17, 17}, "×"},
      {"SpeedButton2", "Panel6", {192, 4, 68, 17}, "プレビュー"},
      {"GroupBox1", "Panel5", {4, 4, 177, 293}, "場所(ディレクトリ)指定"},
      {"Label3", "GroupBox1", {16, 16, 0, 0}, "ドライブ"},
      {"DriveComboBox1", "GroupBox1", {16, 32, 145, 20}, nullptr},
      {"Label4", "GroupBox1", {16, 60, 0, 0}, "ディレクトリ"},
      {"DirectoryListBox1", "GroupBox1", {16, 76, 145, 145}, nullptr},
      {"Button1", "GroupBox1", {16, 224, 145, 17}, "ｴｸｽﾌﾟﾛｰﾗで開く"},
      {"Label5", "GroupBox1", {16, 248, 0, 0}, "新しいフォルダ名"},
      {"Edit1", "GroupBox1", {16, 264, 145, 20}, "NewFolder"},
      {"GroupBox2", "Panel5", {188, 4, 185, 197}, "ファイル名の設定"},
      {"Label6", "GroupBox2", {16, 22, 0, 0}, "マスク"},
      {"Memo2", "GroupBox2", {52, 20, 109, 41}, "*.*"},
      {"Label7", "GroupBox2", {16, 68, 0, 0}, "先頭に付く文字"},
      {"Edit2", "GroupBox2", {16, 84, 145, 20}, ""},
      {"Label8", "GroupBox2", {16, 112, 0, 0}, "日付表示文字"},
      {"Edit3", "GroupBox2", {16, 128, 145, 20}, "yyyy年mm月dd日"},
      {"Label9", "GroupBox2", {16, 152, 0, 0}, "連番表示方法"},
      {"ComboBox1", "GroupBox2", {16, 168, 145, 20}, "001"},
      {"GroupBox3", "Panel5", {380, 4, 185, 197}, "ついでに… 機能"},
      {"Label10", "GroupBox3", {8, 16, 0, 0}, "日付の指定"},
      {"RadioButton1", "GroupBox3", {16, 28, 0, 0}, "ファイル更新日"},
      {"CheckBox2", "GroupBox3", {112, 28, 70, 17}, "Exif優先"},
      {"RadioButton2", "GroupBox3", {16, 44, 0, 0}, "指定日"},
      {"DateTimePicker1", "GroupBox3", {80, 44, 81, 20}, nullptr},
      {"CheckBox1", "GroupBox3", {8, 72, 0, 0}, "拡張子の変更"},
      {"Label12", "GroupBox3", {24, 92, 0, 0}, "変更後の拡張子"},
      {"Edit4", "GroupBox3", {112, 88, 49, 20}, "txt"},
      {"Label13", "GroupBox3", {16, 120, 0, 0}, "大文字・小文字に変更"},
      {"ComboBox2", "GroupBox3", {16, 136, 145, 20}, "なし"},
      {"Label11", "GroupBox3", {16, 172, 0, 0}, "連番開始位置"},
      {"SpinEdit1", "GroupBox3", {92, 168, 69, 21}, nullptr},
      {"GroupBox4", "Panel5", {188, 204, 289, 29}, "変更後ファイル名サンプル"},
      {"Label15", "GroupBox4", {2, 13, 285, 14}, nullptr},
      {"GroupBox5", "Panel5", {188, 236, 289, 29}, "実行ディレクトリ"},
      {"Label2", "GroupBox5", {6, 13, 277, 14}, nullptr},
      {"Button2", "Panel5", {188, 268, 289, 25}, "実行"},
      {"Button6", "Panel5", {480, 204, 85, 21}, "ﾌｧｲﾙﾘｽﾄ表示"},
      {"Button4", "Panel5", {480, 228, 85, 17}, "ヘルプ表示"},
      {"Button5", "Panel5", {480, 248, 85, 17}, "ﾊﾞｰｼﾞｮﾝ情報"},
      {"Button3", "Panel5", {480, 268, 85, 25}, "終了"},
  };
  for (const ControlCase& c : cases) {
    SCOPED_TRACE(c.name);
    auto* control = t.Find<QWidget>(c.name);
    ASSERT_NE(control, nullptr);
    EXPECT_EQ(control->parentWidget()->objectName(), c.parent);
    EXPECT_EQ(control->pos(), c.bounds.topLeft());
    if (!c.bounds.size().isEmpty()) {
      EXPECT_EQ(control->size(), c.bounds.size());
    }
    if (c.caption) {
      EXPECT_EQ(CaptionOf(control), QString::fromUtf8(c.caption));
    }
  }
}

TEST(Layout, StartValuesAndEnabledStates) {
  FormUnderTest t;
  auto* combo1 = t.Find<QComboBox>("ComboBox1");
  QStringList items;
  for (int i = 0; i < combo1->count(); ++i) items << combo1->itemText(i);
  EXPECT_EQ(items, QStringList({"なし", "1", "01", "001", "0001", "00001"}));
  EXPECT_EQ(combo1->currentIndex(), 3);
  auto* combo2 = t.Find<QComboBox>("ComboBox2");
  EXPECT_EQ(combo2->count(), 3);
  EXPECT_EQ(combo2->itemText(1), "すべて小文字に");
  EXPECT_EQ(combo2->itemText(2), "すべて大文字に");
  EXPECT_EQ(combo2->currentIndex(), 0);

  EXPECT_TRUE(t.Find<QRadioButton>("RadioButton1")->isChecked());
  EXPECT_FALSE(t.Find<QRadioButton>("RadioButton2")->isChecked());
  EXPECT_FALSE(t.Find<QCheckBox>("CheckBox1")->isChecked());
  auto* picker = t.Find<QDateEdit>("DateTimePicker1");
  EXPECT_EQ(picker->date(), QDate(2000, 8, 9));
  EXPECT_TRUE(picker->calendarPopup());
  EXPECT_FALSE(picker->isEnabled());
  EXPECT_FALSE(t.Find<QLineEdit>("Edit4")->isEnabled());
  auto* spin = t.Find<QSpinBox>("SpinEdit1");
  EXPECT_TRUE(spin->isEnabled());
  EXPECT_EQ(spin->value(), 1);
  EXPECT_EQ(spin->minimum(), 0);
  EXPECT_EQ(spin->maximum(), 99999999);
  auto* progress = t.Find<QProgressBar>("ProgressBar1");
  EXPECT_EQ(progress->minimum(), 0);
  EXPECT_EQ(progress->maximum(), 100);
  EXPECT_EQ(progress->value(), 0);
  EXPECT_EQ(t.Find<QLabel>("Label15")->alignment() & Qt::AlignHCenter, Qt::AlignHCenter);

  // Typing does not change the start value; the arrow keys do.
  QTest::keyClicks(spin, "7");
  EXPECT_EQ(spin->value(), 1);
  QTest::keyClick(spin, Qt::Key_Up);
  EXPECT_EQ(spin->value(), 2);
}

TEST(Layout, TitleAndFonts) {
  FormUnderTest t;
  const QFont title = t.Find<QLabel>("Label1")->font();
  EXPECT_EQ(title.family(), "IPAPGothic");
  EXPECT_EQ(title.pixelSize(), 16);
  EXPECT_TRUE(title.bold());
  EXPECT_TRUE(t.Find<QToolButton>("SpeedButton1")->font().bold());
  EXPECT_EQ(t.Find<QPushButton>("Button2")->font().family(), "IPAPGothic");
}

TEST(Layout, TabOrderFollowsTheLayout) {
  FormUnderTest t;
  const char* expected[] = {"DriveComboBox1", "DirectoryListBox1",
                            "Button1",        "Edit1",
                            "Memo2",          "Edit2",
                            "Edit3",          "ComboBox1",
                            "RadioButton1",   "CheckBox2",
                            "RadioButton2",   "DateTimePicker1",
                            "CheckBox1",      "Edit4",
                            "ComboBox2",      "SpinEdit1",
                            "Button2",        "Button6",
                            "Button4",        "Button5",
                            "Button3"};
  QWidget* widget = t.Find<QWidget>("DriveComboBox1");
  for (size_t i = 1; i < std::size(expected); ++i) {
    // Skip the inner parts of compound controls (the line edits of spin and
    // date boxes); they follow their owner.
    QWidget* next = widget->nextInFocusChain();
    while (next->objectName().isEmpty() || next->objectName().startsWith("qt_") ||
           !(next->focusPolicy() & Qt::TabFocus)) {
      next = next->nextInFocusChain();
    }
    EXPECT_EQ(next->objectName(), expected[i]) << "after " << expected[i - 1];
    widget = next;
  }
  EXPECT_EQ(t.Find<QToolButton>("SpeedButton1")->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(t.Find<QToolButton>("SpeedButton2")->focusPolicy(), Qt::NoFocus);
}

TEST(Layout, InformationWindowAtTheBottomUnderTheSplitter) {
  FormUnderTest t;
  EXPECT_EQ(t.info->objectName(), "Editor1");
  EXPECT_EQ(t.info->parentWidget()->objectName(), "Panel4");
  EXPECT_EQ(t.info->geometry(), QRect(1, 303, 571, 85));
  auto* splitter = t.Find<SplitterBar>("Splitter1");
  EXPECT_EQ(splitter->geometry(), QRect(1, 300, 571, 3));
  EXPECT_EQ(splitter->cursor().shape(), Qt::SplitVCursor);
}

// Drags `widget` with `button` by `distance`, the mouse moving on the screen
// whatever the widget does meanwhile.
void Drag(QWidget* widget, QPoint at, QPoint distance, Qt::MouseButton button = Qt::LeftButton) {
  const QPoint global = widget->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, button, button, Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent move(QEvent::MouseMove, at + distance, global + distance, Qt::NoButton, button,
                   Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, at + distance, global + distance, button,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

void DragSplitter(FormUnderTest& t, int dy) {
  Drag(t.Find<SplitterBar>("Splitter1"), QPoint(100, 1), QPoint(0, dy));
}

TEST(Layout, SplitterNeverMakesTheInformationWindowLowerThan85) {
  FormUnderTest t;
  t.form->show();
  DragSplitter(t, 40);  // down: would be 45 high
  EXPECT_EQ(t.info->height(), 85);
  EXPECT_EQ(t.info->geometry().bottom(), 387);
  DragSplitter(t, -60);  // up: taller
  EXPECT_EQ(t.info->height(), 145);
  EXPECT_EQ(t.Find<SplitterBar>("Splitter1")->geometry().bottom(), t.info->y() - 1);
  EXPECT_EQ(t.Find<BevelPanel>("Panel5")->height(), 299 - 60);
  DragSplitter(t, 200);  // far down
  EXPECT_EQ(t.info->height(), 85);
  EXPECT_EQ(t.Find<BevelPanel>("Panel5")->height(), 299);
}

TEST(Layout, TitleBarDragsTheWindow) {
  FormUnderTest t;
  t.form->show();
  const QPoint before = t.form->pos();
  for (const char* part : {"Panel6", "Label1", "ProgressBar1"}) {
    SCOPED_TRACE(part);
    const QPoint start = t.form->pos();
    Drag(t.Find<QWidget>(part), QPoint(3, 3), QPoint(30, 20));
    EXPECT_EQ(t.form->pos(), start + QPoint(30, 20));
  }
  EXPECT_EQ(t.form->pos(), before + QPoint(90, 60));
  // The right button does not drag.
  Drag(t.Find<QWidget>("Panel6"), QPoint(3, 3), QPoint(30, 20), Qt::RightButton);
  EXPECT_EQ(t.form->pos(), before + QPoint(90, 60));
}

TEST(Layout, CloseButtonsEndTheWindow) {
  for (const char* button : {"Button3", "SpeedButton1"}) {
    SCOPED_TRACE(button);
    FormUnderTest t;
    t.form->show();
    QTest::mouseClick(t.Find<QAbstractButton>(button), Qt::LeftButton);
    EXPECT_FALSE(t.form->isVisible());
  }
}

}  // namespace
}  // namespace app::test
