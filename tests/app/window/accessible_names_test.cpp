// The window's controls as a screen reader names them, through Qt's
// accessibility interfaces.
#include <QAccessible>
#include <QComboBox>
#include <QTest>

#include <gtest/gtest.h>

#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

QAccessibleInterface* Of(const FormUnderTest& t, const char* name) {
  QObject* object = t.form->findChild<QObject*>(QString::fromLatin1(name));
  EXPECT_NE(object, nullptr) << name;
  return object ? QAccessible::queryAccessibleInterface(object) : nullptr;
}

// The labels that name an object through the "labelled by" relation.
QStringList LabelledBy(QAccessibleInterface* iface) {
  QStringList labels;
  for (const auto& relation : iface->relations(QAccessible::Label))
    labels << relation.first->text(QAccessible::Name);
  return labels;
}

TEST(AccessibleNames, EveryControlHasItsNameAndRole) {
  FormUnderTest t;
  struct Case {
    const char* object;
    QAccessible::Role role;
    const char* name;
  } cases[] = {
      {"DirectoryListBox1", QAccessible::Tree, "ディレクトリ"},
      {"Edit1", QAccessible::EditableText, "新しいフォルダ名"},
      {"Memo2", QAccessible::EditableText, "マスク"},
      {"Edit2", QAccessible::EditableText, "先頭に付く文字"},
      {"Edit3", QAccessible::EditableText, "日付表示文字"},
      {"Edit4", QAccessible::EditableText, "変更後の拡張子"},
      {"SpinEdit1", QAccessible::SpinBox, "連番開始位置"},
      {"DateTimePicker1", QAccessible::SpinBox, "指定日"},
      {"RadioButton1", QAccessible::RadioButton, "ファイル更新日"},
      {"RadioButton2", QAccessible::RadioButton, "指定日"},
      {"CheckBox1", QAccessible::CheckBox, "拡張子の変更"},
      {"CheckBox2", QAccessible::CheckBox, "Exif優先"},
      {"GroupBox1", QAccessible::Grouping, "場所(ディレクトリ)指定"},
      {"GroupBox2", QAccessible::Grouping, "ファイル名の設定"},
      {"GroupBox3", QAccessible::Grouping, "ついでに… 機能"},
      {"GroupBox4", QAccessible::Grouping, "変更後ファイル名サンプル"},
      {"GroupBox5", QAccessible::Grouping, "実行ディレクトリ"},
      {"Button1", QAccessible::Button, "ｴｸｽﾌﾟﾛｰﾗで開く"},
      {"Button2", QAccessible::Button, "実行"},
      {"Button3", QAccessible::Button, "終了"},
      {"Button4", QAccessible::Button, "ヘルプ表示"},
      {"Button5", QAccessible::Button, "ﾊﾞｰｼﾞｮﾝ情報"},
      {"Button6", QAccessible::Button, "ﾌｧｲﾙﾘｽﾄ表示"},
      {"SpeedButton1", QAccessible::Button, "閉じる"},
      {"SpeedButton2", QAccessible::Button, "プレビュー"},
      {"ProgressBar1", QAccessible::ProgressBar, "進行状況"},
      {"Panel6", QAccessible::Client, "Pirukko"},
  };
  for (const Case& c : cases) {
    QAccessibleInterface* iface = Of(t, c.object);
    ASSERT_NE(iface, nullptr) << c.object;
    EXPECT_EQ(iface->role(), c.role) << c.object;
    EXPECT_EQ(iface->text(QAccessible::Name), QString::fromUtf8(c.name)) << c.object;
  }
}

// (Qt's tree reports no relations; the directory tree is named outright.)
TEST(AccessibleNames, FieldsAreLabelledByTheirLabels) {
  FormUnderTest t;
  struct Case {
    const char* object;
    const char* label;
  } cases[] = {
      {"DriveComboBox1", "ドライブ"},
      {"Edit1", "新しいフォルダ名"},      {"Memo2", "マスク"},
      {"Edit2", "先頭に付く文字"},        {"Edit3", "日付表示文字"},
      {"ComboBox1", "連番表示方法"},      {"Edit4", "変更後の拡張子"},
      {"ComboBox2", "大文字・小文字に変更"}, {"SpinEdit1", "連番開始位置"},
  };
  for (const Case& c : cases) {
    QAccessibleInterface* iface = Of(t, c.object);
    ASSERT_NE(iface, nullptr) << c.object;
    EXPECT_TRUE(LabelledBy(iface).contains(QString::fromUtf8(c.label)))
        << c.object << ": " << LabelledBy(iface).join(",").toStdString();
  }
  EXPECT_EQ(Of(t, "ComboBox1")->role(), QAccessible::ComboBox);
  EXPECT_EQ(Of(t, "DriveComboBox1")->role(), QAccessible::ComboBox);
}

TEST(AccessibleNames, SampleAndFolderPanelsSayWhatTheyShow) {
  FormUnderTest t;
  QAccessibleInterface* sample = Of(t, "Label15");
  ASSERT_NE(sample, nullptr);
  EXPECT_EQ(sample->role(), QAccessible::StaticText);
  EXPECT_EQ(sample->text(QAccessible::Description), QString::fromUtf8("変更後ファイル名サンプル"));
  EXPECT_FALSE(sample->text(QAccessible::Name).isEmpty());  // the sample name itself
  QAccessibleInterface* folder = Of(t, "Label2");
  ASSERT_NE(folder, nullptr);
  EXPECT_EQ(folder->text(QAccessible::Description), QString::fromUtf8("実行ディレクトリ"));
  EXPECT_EQ(Of(t, "Editor1")->text(QAccessible::Name), QString::fromUtf8("情報ウインドウ"));
}

}  // namespace
}  // namespace app::test
