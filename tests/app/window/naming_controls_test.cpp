// The naming controls: the sample after each change, the enabled states
// that follow them, and text without a CP932 form kept out.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

void Retype(QLineEdit* edit, const QString& text) {
  edit->selectAll();
  QTest::keyClick(edit, Qt::Key_Delete);
  Type(edit, text);
}

QString Today() {
  return QDate::currentDate().toString(QStringLiteral("yyyy年MM月dd日"));
}

struct SampleCase {
  const char* what;
  std::function<void(FormUnderTest&)> change;
  QString expected;
};

TEST(NamingControls, SampleFollowsEverySetting) {
  const auto edit = [](const char* name, QString text) {
    return [name, text](FormUnderTest& t) { Retype(t.Find<QLineEdit>(name), text); };
  };
  const auto click = [](const char* name) {
    return [name](FormUnderTest& t) { QTest::mouseClick(t.Find<QWidget>(name), Qt::LeftButton); };
  };
  const auto choose = [](const char* name, int index) {
    return [name, index](FormUnderTest& t) { t.Find<QComboBox>(name)->setCurrentIndex(index); };
  };
  const auto all = [](std::vector<std::function<void(FormUnderTest&)>> steps) {
    return [steps](FormUnderTest& t) {
      for (const auto& step : steps) step(t);
    };
  };
  const SampleCase cases[] = {
      {"start values", [](FormUnderTest&) {}, Today() + "001.***"},
      {"leading text", edit("Edit2", "旅行_"), "旅行_" + Today() + "001.***"},
      {"picked date", click("RadioButton2"), "2000年08月09日001.***"},
      {"slash and colon stay literal",
       all({click("RadioButton2"), edit("Edit3", "yyyy/mm/dd hh:nn:ss")}),
       "2000/08/09 17:53:09001.***"},
      {"yyy is yy and a letter", all({click("RadioButton2"), edit("Edit3", "yyy")}), "00y001.***"},
      {"upper case is literal", edit("Edit3", "YYYY年"), "YYYY年001.***"},
      {"empty format", edit("Edit3", ""), "001.***"},
      {"era", all({click("RadioButton2"), edit("Edit3", "ggge年")}), "平成12年001.***"},
      {"no serial shows its item", choose("ComboBox1", 0), Today() + "なし.***"},
      {"serial 00001", choose("ComboBox1", 5), Today() + "00001.***"},
      {"extension change", click("CheckBox1"), Today() + "001.txt"},
      {"upper case", all({edit("Edit2", "img_"), edit("Edit3", ""), choose("ComboBox2", 2)}),
       "IMG_001.***"},
      {"lower case and new extension",
       all({edit("Edit2", "IMG_"), edit("Edit3", ""), click("CheckBox1"), edit("Edit4", "JPG"),
            click("Edit4"), choose("ComboBox2", 1)}),
       "img_001.jpg"},
      {"picking a date keeps the time of day",
       all({click("RadioButton2"), edit("Edit3", "yyyy-mm-dd hh:nn"),
            [](FormUnderTest& t) {
              t.Find<QDateEdit>("DateTimePicker1")->setDate(QDate(2026, 12, 8));
            }}),
       "2026-12-08 17:53001.***"},
      {"start value is not shown",
       [](FormUnderTest& t) { QTest::keyClick(t.Find<QSpinBox>("SpinEdit1"), Qt::Key_Up); },
       Today() + "001.***"},
  };
  for (const SampleCase& c : cases) {
    SCOPED_TRACE(c.what);
    FormUnderTest t;
    t.form->show();
    c.change(t);
    EXPECT_EQ(t.Find<QLabel>("Label15")->text(), c.expected);
  }
}

TEST(NamingControls, NewExtensionShowsOnTheNextClickNotWhileTyping) {
  FormUnderTest t;
  t.form->show();
  QTest::mouseClick(t.Find<QCheckBox>("CheckBox1"), Qt::LeftButton);
  auto* edit4 = t.Find<QLineEdit>("Edit4");
  Retype(edit4, "png");
  EXPECT_EQ(t.Find<QLabel>("Label15")->text(), Today() + "001.txt");
  QTest::mouseClick(edit4, Qt::LeftButton);
  EXPECT_EQ(t.Find<QLabel>("Label15")->text(), Today() + "001.png");
}

TEST(NamingControls, EnabledStatesFollowTheirControls) {
  FormUnderTest t;
  t.form->show();
  auto* spin = t.Find<QSpinBox>("SpinEdit1");
  auto* label11 = t.Find<QLabel>("Label11");
  auto* combo1 = t.Find<QComboBox>("ComboBox1");
  combo1->setCurrentIndex(0);
  EXPECT_FALSE(spin->isEnabled());
  EXPECT_FALSE(label11->isEnabled());
  combo1->setCurrentIndex(1);
  EXPECT_TRUE(spin->isEnabled());
  EXPECT_TRUE(label11->isEnabled());

  auto* picker = t.Find<QDateEdit>("DateTimePicker1");
  QTest::mouseClick(t.Find<QRadioButton>("RadioButton2"), Qt::LeftButton);
  EXPECT_TRUE(picker->isEnabled());
  QTest::mouseClick(t.Find<QRadioButton>("RadioButton1"), Qt::LeftButton);
  EXPECT_FALSE(picker->isEnabled());

  auto* edit4 = t.Find<QLineEdit>("Edit4");
  auto* check = t.Find<QCheckBox>("CheckBox1");
  QTest::mouseClick(check, Qt::LeftButton);
  EXPECT_TRUE(edit4->isEnabled());
  QTest::mouseClick(check, Qt::LeftButton);
  EXPECT_FALSE(edit4->isEnabled());

  // Only the radio buttons themselves move the picker's state.
  t.Find<QRadioButton>("RadioButton2")->setChecked(true);
  Retype(t.Find<QLineEdit>("Edit2"), "x");
  EXPECT_FALSE(picker->isEnabled());
}

TEST(NamingControls, NamingAndMaskChangesPutTheProgressBackToZero) {
  FormUnderTest t;
  t.form->show();
  auto* progress = t.Find<QProgressBar>("ProgressBar1");
  progress->setValue(60);
  Retype(t.Find<QLineEdit>("Edit2"), "a");
  EXPECT_EQ(progress->value(), 0);
  progress->setValue(60);
  QTest::keyClicks(t.Find<QPlainTextEdit>("Memo2"), "x");
  EXPECT_EQ(progress->value(), 0);
  progress->setValue(60);
  QTest::keyClick(t.Find<QSpinBox>("SpinEdit1"), Qt::Key_Up);  // no handler
  EXPECT_EQ(progress->value(), 60);
}

TEST(NamingControls, TextWithoutACp932FormIsTakenBack) {
  FormUnderTest t;
  t.form->show();
  auto* edit2 = t.Find<QLineEdit>("Edit2");
  Type(edit2, "a한b");
  EXPECT_EQ(edit2->text(), "ab");
  EXPECT_EQ(t.Find<QLabel>("Label15")->text(), "ab" + Today() + "001.***");
  edit2->setText("x😀");
  EXPECT_EQ(edit2->text(), "ab");

  auto* memo = t.Find<QPlainTextEdit>("Memo2");
  memo->moveCursor(QTextCursor::End);
  Type(memo, "\n*.한");
  EXPECT_EQ(memo->toPlainText(), "*.*\n*.");
  // What can be written in CP932 stays, half-width katakana and symbols too.
  Type(edit2, "ｶﾅ～①");
  EXPECT_EQ(edit2->text(), "abｶﾅ～①");
}

}  // namespace
}  // namespace app::test
