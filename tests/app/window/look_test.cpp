// The window looks the same whatever style and colours the desktop sets:
// under light and dark themes every text reads dark on its panel, and every
// text fits the room its control gives it, with the group boxes' captions in
// the gap of their frame line and their contents inside the frame. CTest runs
// this program at 1x, 1.5x and 2x (QT_SCALE_FACTOR).
#include <QAbstractScrollArea>
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStyleFactory>
#include <QStyleOption>
#include <QTimer>
#include <QToolButton>
#include <QToolTip>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>

#include "app/window/drive_combo_box.h"
#include "app/window/hint_window.h"
#include "tests/app/window/window_test_support.h"
#include "ui/layout_look.h"

namespace app::test {
namespace {

// What a desktop may set before the program starts: a widget style and,
// with it or on its own, a dark palette.
struct DesktopTheme {
  const char* style;
  bool dark_palette;  // a dark palette of its own instead of the style's
};

QPalette DarkDesktopPalette() {
  QPalette dark;
  const QColor ground(53, 53, 53), base(35, 35, 35), text(238, 238, 236);
  for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
    dark.setColor(group, QPalette::Window, ground);
    dark.setColor(group, QPalette::Button, ground);
    dark.setColor(group, QPalette::Base, base);
    dark.setColor(group, QPalette::WindowText, text);
    dark.setColor(group, QPalette::ButtonText, text);
    dark.setColor(group, QPalette::Text, text);
    dark.setColor(group, QPalette::ToolTipBase, base);
    dark.setColor(group, QPalette::ToolTipText, text);
  }
  return dark;
}

// The kinds of control a platform theme may give palettes of their own.
const char* const kThemedKinds[] = {"QAbstractButton", "QToolButton",      "QCheckBox",
                                    "QRadioButton",    "QLabel",           "QGroupBox",
                                    "QLineEdit",       "QTextEdit",        "QAbstractItemView",
                                    "QHeaderView",     "QMessageBoxLabel", "QMenu"};

// Sets the desktop's theme the way the platform does at start-up, then
// starts the window as the program does.
std::unique_ptr<FormUnderTest> StartUnder(const DesktopTheme& theme) {
  TestApplication();
  QStyle* style = QStyleFactory::create(QString::fromLatin1(theme.style));
  if (!style) {
    ADD_FAILURE() << "style " << theme.style << " is not installed";
    return nullptr;
  }
  QApplication::setStyle(style);
  const QPalette palette = theme.dark_palette ? DarkDesktopPalette() : style->standardPalette();
  QApplication::setPalette(palette);
  QToolTip::setPalette(palette);
  // Desktop themes may also give some kinds of control colours of their
  // own, which outrank the application's palette.
  if (theme.dark_palette) {
    for (const char* kind : kThemedKinds) QApplication::setPalette(palette, kind);
    // And a style sheet of the user's (qt6ct offers one).
    qApp->setStyleSheet(QStringLiteral("QWidget { color: #eeeeec; background: #353535; }"));
  }
  ui::UseLayoutLook();
  // A short directory, so that the path shown fits as a user's would.
  auto t = std::make_unique<FormUnderTest>(QDir::tempPath());
  t->form->show();
  QApplication::processEvents();
  return t;
}

// Relative luminance and contrast ratio as accessibility guidelines define
// them: 1 for equal colours, 21 for black on white.
double Luminance(const QColor& c) {
  auto linear = [](int v) {
    const double s = v / 255.0;
    return s <= 0.03928 ? s / 12.92 : std::pow((s + 0.055) / 1.055, 2.4);
  };
  return 0.2126 * linear(c.red()) + 0.7152 * linear(c.green()) + 0.0722 * linear(c.blue());
}

double Contrast(const QColor& a, const QColor& b) {
  const double la = Luminance(a), lb = Luminance(b);
  return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The text in `area` (logical pixels of the picture): the commonest colour
// there is the ground, the pixel farthest from it the ink.
struct Ink {
  QColor ground;
  QColor ink;
  double contrast = 1;
  // The layout's texts are dark on light panels.
  bool DarkOnLight() const { return Luminance(ink) < Luminance(ground); }
};

Ink InkOf(const QImage& picture, const QRect& area) {
  const qreal ratio = picture.devicePixelRatio();
  const QRect pixels =
      QRectF(area.x() * ratio, area.y() * ratio, area.width() * ratio, area.height() * ratio)
          .toAlignedRect()
          .intersected(picture.rect());
  std::map<QRgb, int> counts;
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) ++counts[picture.pixel(x, y)];
  }
  Ink result;
  if (counts.empty()) return result;
  QRgb ground = counts.begin()->first;
  for (const auto& [colour, count] : counts) {
    if (count > counts[ground]) ground = colour;
  }
  result.ground = result.ink = QColor(ground);
  for (const auto& entry : counts) {
    const double contrast = Contrast(entry.first, ground);
    if (contrast > result.contrast) {
      result.contrast = contrast;
      result.ink = QColor(entry.first);
    }
  }
  return result;
}

// One text of the window: where its control lets it be drawn, in the
// control's coordinates.
struct Text {
  QWidget* control;
  QString text;
  QRect room;
};

QStyleOptionGroupBox GroupBoxOption(const QGroupBox* box) {
  QStyleOptionGroupBox option;
  option.initFrom(box);
  option.text = box->title();
  option.textAlignment = box->alignment();
  option.lineWidth = 1;
  option.subControls = QStyle::SC_GroupBoxFrame;
  if (!box->title().isEmpty()) option.subControls |= QStyle::SC_GroupBoxLabel;
  return option;
}

QRect GroupCaption(const QGroupBox* box) {
  const QStyleOptionGroupBox option = GroupBoxOption(box);
  return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, box);
}

QRect GroupFrame(const QGroupBox* box) {
  const QStyleOptionGroupBox option = GroupBoxOption(box);
  return box->style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxFrame, box);
}

// The room a line edit leaves its text, as QLineEdit paints it: the style's
// contents rectangle less the edit's own two pixels on either side.
QRect LineEditRoom(const QLineEdit* edit) {
  QStyleOptionFrame option;
  option.initFrom(edit);
  option.rect = edit->rect();
  option.lineWidth = edit->hasFrame()
                         ? edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit)
                         : 0;
  const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
  return contents.marginsRemoved(edit->textMargins()).adjusted(2, 0, -2, 0);
}

QRect ButtonRoom(const QAbstractButton* button, QStyle::SubElement element) {
  QStyleOptionButton option;
  option.initFrom(button);
  option.text = button->text();
  return button->style()->subElementRect(element, &option, button);
}

QRect ComboRoom(const QComboBox* combo) {
  QStyleOptionComboBox option;
  option.initFrom(combo);
  option.editable = combo->isEditable();
  option.frame = combo->hasFrame();
  option.currentText = combo->currentText();
  return combo->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField,
                                        combo);
}

// Every text the window shows, with its room; the information window is the
// editor's own business and stays out.
std::vector<Text> TextsOf(FormUnderTest& t) {
  std::vector<Text> texts;
  for (QWidget* w : t.form->findChildren<QWidget*>()) {
    if (!w->isVisibleTo(t.form.get()) || t.info->isAncestorOf(w)) continue;
    if (auto* label = qobject_cast<QLabel*>(w)) {
      texts.push_back({w, label->text(), label->contentsRect()});
    } else if (auto* box = qobject_cast<QGroupBox*>(w)) {
      texts.push_back({w, box->title(), GroupCaption(box)});
    } else if (auto* edit = qobject_cast<QLineEdit*>(w)) {
      texts.push_back({w, edit->text(), LineEditRoom(edit)});
      // The start value's field holds its largest value whole.
      if (auto* spin = qobject_cast<QSpinBox*>(w->parentWidget())) {
        texts.push_back({w, QString::number(spin->maximum()), LineEditRoom(edit)});
      }
    } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
      texts.push_back({w, check->text(), ButtonRoom(check, QStyle::SE_CheckBoxContents)});
    } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
      texts.push_back({w, radio->text(), ButtonRoom(radio, QStyle::SE_RadioButtonContents)});
    } else if (auto* push = qobject_cast<QPushButton*>(w)) {
      texts.push_back({w, push->text(), ButtonRoom(push, QStyle::SE_PushButtonContents)});
    } else if (auto* tool = qobject_cast<QToolButton*>(w)) {
      texts.push_back({w, tool->text(), tool->rect()});
    } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
      // The layout's lists must show every item whole; the drive list
      // holds the system's mount points, of any length.
      if (dynamic_cast<DriveComboBox*>(w)) {
        texts.push_back({w, combo->currentText(), ComboRoom(combo)});
      } else {
        for (int i = 0; i < combo->count(); ++i) {
          texts.push_back({w, combo->itemText(i), ComboRoom(combo)});
        }
      }
    } else if (auto* memo = qobject_cast<QPlainTextEdit*>(w)) {
      texts.push_back({w, memo->toPlainText(), memo->viewport()->geometry()});
    }
  }
  return texts;
}

const DesktopTheme kThemes[] = {
    {"Fusion", false},       {"Windows", false}, {"Adwaita", false},
    {"Adwaita-Dark", false}, {"Fusion", true},
};

std::string ThemeName(const DesktopTheme& theme) {
  return std::string(theme.style) + (theme.dark_palette ? " with a dark palette" : "") + " at " +
         std::to_string(QApplication::primaryScreen() ? qApp->devicePixelRatio() : 1) + "x";
}

// Keeps the picture where a person can look at it when a check failed.
void KeepPictureIfFailed(const QImage& picture, const DesktopTheme& theme) {
  if (!::testing::Test::HasFailure()) return;
  const QString path = QDir::temp().filePath(
      QStringLiteral("pirukko-look-%1%2-%3x.png")
          .arg(QString::fromLatin1(theme.style), theme.dark_palette ? "-dark" : "")
          .arg(picture.devicePixelRatio()));
  picture.save(path);
  ADD_FAILURE() << "the window as drawn: " << path.toStdString();
}

TEST(Look, EveryTextReadsDarkOnItsPanelWhateverTheDesktopTheme) {
  for (const DesktopTheme& theme : kThemes) {
    SCOPED_TRACE(ThemeName(theme));
    auto t = StartUnder(theme);
    ASSERT_TRUE(t);
    const QImage picture = t->form->grab().toImage();
    for (const Text& text : TextsOf(*t)) {
      if (text.text.trimmed().isEmpty()) continue;
      SCOPED_TRACE(text.control->objectName().toStdString() + " \"" + text.text.toStdString() +
                   "\"");
      const QRect area(text.control->mapTo(t->form.get(), text.room.topLeft()), text.room.size());
      // Greyed texts may be lighter, as long as they stay legible.
      const double wanted = text.control->isEnabled() ? 4.5 : 3.0;
      const Ink ink = InkOf(picture, area);
      EXPECT_GE(ink.contrast, wanted);
      EXPECT_TRUE(ink.DarkOnLight())
          << "ink " << ink.ink.name().toStdString() << " on " << ink.ground.name().toStdString();
    }
    KeepPictureIfFailed(picture, theme);
  }
}

TEST(Look, EveryTextFitsItsControlWhateverTheDesktopStyle) {
  for (const DesktopTheme& theme : kThemes) {
    SCOPED_TRACE(ThemeName(theme));
    auto t = StartUnder(theme);
    ASSERT_TRUE(t);
    for (const Text& text : TextsOf(*t)) {
      SCOPED_TRACE(text.control->objectName().toStdString() + " \"" + text.text.toStdString() +
                   "\"");
      const QFontMetrics metrics(text.control->font());
      const QSize needed = metrics.size(Qt::TextShowMnemonic, text.text);
      EXPECT_GE(text.room.width(), needed.width());
      // The whole line, descenders included ("yyyy").
      EXPECT_GE(text.room.height(), metrics.height());
      EXPECT_TRUE(text.control->rect().contains(text.room)) << "room outside the control";
      // The control itself is not cut by its parent's edge.
      EXPECT_TRUE(text.control->parentWidget()->rect().contains(text.control->geometry()));
    }
    KeepPictureIfFailed(t->form->grab().toImage(), theme);
  }
}

// The device pixels that draw the logical pixel `at` of a picture.
QRect DevicePixels(const QImage& picture, QPoint at) {
  const qreal ratio = picture.devicePixelRatio();
  return QRectF(at.x() * ratio, at.y() * ratio, ratio, ratio)
      .toAlignedRect()
      .intersected(picture.rect());
}

// Whether any device pixel of the logical pixel `at` differs from `ground`.
bool Marked(const QImage& picture, QPoint at, const QColor& ground) {
  const QRect pixels = DevicePixels(picture, at);
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      if (picture.pixelColor(x, y) != ground) return true;
    }
  }
  return false;
}

// Whether any device pixel of the logical pixel `at` is `colour`.
bool Shows(const QImage& picture, QPoint at, const QColor& colour) {
  const QRect pixels = DevicePixels(picture, at);
  for (int y = pixels.top(); y <= pixels.bottom(); ++y) {
    for (int x = pixels.left(); x <= pixels.right(); ++x) {
      if (picture.pixelColor(x, y) == colour) return true;
    }
  }
  return false;
}

// As the layout's platform draws a group box: the frame line runs through
// the caption's middle, broken where the caption stands, and everything the
// box holds lies inside both lines of the frame, below the caption.
TEST(Look, GroupCaptionsInTheFrameGapAndContentsInsideTheBox) {
  for (const DesktopTheme& theme : kThemes) {
    SCOPED_TRACE(ThemeName(theme));
    auto t = StartUnder(theme);
    ASSERT_TRUE(t);
    for (QGroupBox* box : t->form->findChildren<QGroupBox*>()) {
      SCOPED_TRACE(box->objectName().toStdString());
      const QRect caption = GroupCaption(box);
      const QRect frame = GroupFrame(box);
      EXPECT_GE(frame.top(), caption.top());
      EXPECT_LE(frame.top() + 1, caption.bottom()) << "the frame line is not beside the caption";
      const QRect inside = frame.adjusted(2, 2, -2, -2);
      for (QWidget* child : box->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        SCOPED_TRACE(child->objectName().toStdString());
        EXPECT_TRUE(inside.contains(child->geometry())) << "on or over the frame line";
        EXPECT_FALSE(caption.intersects(child->geometry())) << "over the caption";
      }
      // The line is drawn left of the caption and broken under it: it shows
      // in fewer than half of the caption's columns (only where a glyph
      // happens to have the line's grey).
      const QImage picture = box->grab().toImage();
      const QColor line = box->palette().color(QPalette::Dark);
      EXPECT_TRUE(Shows(picture, {2, frame.top()}, line));
      int crossed = 0;
      for (int x = caption.left(); x <= caption.right(); ++x) {
        if (Shows(picture, {x, frame.top()}, line)) ++crossed;
      }
      EXPECT_LT(crossed, caption.width() / 2) << "the frame line runs through the caption";
    }
  }
}

// The mask memo and the directory tree keep a visible frame at every scale,
// where the window places them: each side differs from the white inside.
TEST(Look, PanelFramesStayVisibleAtEveryScale) {
  auto t = StartUnder({"Fusion", false});
  ASSERT_TRUE(t);
  const QImage picture = t->form->grab().toImage();
  for (const char* name : {"Memo2", "DirectoryListBox1"}) {
    SCOPED_TRACE(name);
    auto* area = t->Find<QAbstractScrollArea>(name);
    ASSERT_NE(area, nullptr);
    const QColor inside = area->palette().color(QPalette::Base);
    const QRect r(area->mapTo(t->form.get(), QPoint(0, 0)), area->size());
    EXPECT_TRUE(Marked(picture, {r.center().x(), r.top()}, inside)) << "top";
    EXPECT_TRUE(Marked(picture, {r.center().x(), r.bottom()}, inside)) << "bottom";
    EXPECT_TRUE(Marked(picture, {r.left(), r.center().y()}, inside)) << "left";
    EXPECT_TRUE(Marked(picture, {r.right(), r.center().y()}, inside)) << "right";
  }
}

// The pixels that differ plainly between two pictures of one control: a
// frame or a dotted rectangle does, a faint tint does not.
int PlainChanges(const QImage& a, const QImage& b) {
  if (a.size() != b.size()) return -1;
  int count = 0;
  for (int y = 0; y < a.height(); ++y) {
    for (int x = 0; x < a.width(); ++x) {
      const QColor p = a.pixelColor(x, y), q = b.pixelColor(x, y);
      const int most = std::max({std::abs(p.red() - q.red()), std::abs(p.green() - q.green()),
                                 std::abs(p.blue() - q.blue())});
      if (most >= 100) ++count;
    }
  }
  return count;
}

// Where the keyboard is shows plainly on every control it reaches, from the
// start on (where it is on ドライブ) and whatever reached it: a focused
// control looks plainly different from itself unfocused.
TEST(Look, TheFocusShowsPlainlyOnEveryControl) {
  QTemporaryDir folder;
  ASSERT_TRUE(QDir(folder.path()).mkdir("sub"));
  FormUnderTest t(folder.path());
  t.form->show();
  t.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t.form.get()));
  QWidget* const drive = t.Find<QWidget>("DriveComboBox1");
  ASSERT_EQ(QApplication::focusWidget(), drive);
  for (const char* name :
       {"DriveComboBox1", "DirectoryListBox1", "Button1", "Edit1", "Memo2", "ComboBox1",
        "RadioButton1", "CheckBox2", "CheckBox1", "ComboBox2", "SpinEdit1", "Button2", "Button3"}) {
    SCOPED_TRACE(name);
    QWidget* control = t.Find<QWidget>(name);
    if (control != drive) control->setFocus();
    ASSERT_TRUE(control->hasFocus() || control->isAncestorOf(QApplication::focusWidget()));
    QApplication::processEvents();
    const QImage focused = control->grab().toImage();
    t.Find<QWidget>(QByteArray(name) == "Edit1" ? "Edit2" : "Edit1")->setFocus();
    QApplication::processEvents();
    const QImage unfocused = control->grab().toImage();
    EXPECT_GE(PlainChanges(focused, unfocused), 20);
  }
}

// Dialogs take the program's look too: under a dark desktop theme the
// notice box of the information window reads dark on a light face.
TEST(Look, MessageBoxesTakeTheProgramsLook) {
  auto t = StartUnder({"Adwaita-Dark", false});
  ASSERT_TRUE(t);
  Ink seen;
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
    if (!box || !box->isVisible()) return;
    auto* label = box->findChild<QLabel*>(QStringLiteral("qt_msgbox_label"));
    if (label) {
      const QImage picture = box->grab().toImage();
      seen = InkOf(picture, QRect(label->mapTo(box, QPoint(0, 0)), label->size()));
    }
    box->button(QMessageBox::Ok)->click();
  });
  poll.start(5);
  t->form->ShowInfoText(Cp932("info"));
  EXPECT_GE(seen.contrast, 4.5);
  EXPECT_TRUE(seen.DarkOnLight());
}

// The hover hint over an address reads black on its pale face, also when
// the desktop changes its theme while the window is open (the platform then
// hands the tool tips its own colours again).
TEST(Look, HoverHintTakesTheProgramsLook) {
  auto t = StartUnder({"Fusion", true});
  ASSERT_TRUE(t);
  QToolTip::setPalette(DarkDesktopPalette());
  t->info->kind_at = [](QPoint) { return tkUrl; };
  // Sent, not moved: at 2x the offscreen screen is smaller than the window.
  const QPoint at(20, 10);
  QMouseEvent move(QEvent::MouseMove, at, t->info->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                   Qt::NoModifier);
  QApplication::sendEvent(t->info, &move);
  auto* hint = const_cast<QLabel*>(t->form->FHintWindow().label());
  ASSERT_NE(hint, nullptr);
  const QImage picture = hint->grab().toImage();
  const Ink ink = InkOf(picture, hint->contentsRect());
  EXPECT_GE(ink.contrast, 4.5);
  EXPECT_TRUE(ink.DarkOnLight());
}

}  // namespace
}  // namespace app::test
