// The title band's 設定 button and its menu: the look and place beside
// プレビュー, the items reaching the run, and the settings that "設定を保存"
// keeps between starts (and a settings file that holds nonsense).
#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include "app/window/directory_list_box.h"
#include "app/window/window_settings.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

using Lines = std::vector<std::string>;

class OptionsMenu : public WorkFolderTest {
 protected:
  void SetUp() override {
    WorkFolderTest::SetUp();
    settings_ = folder_.path() + "/config/pirukko/varnek.ini";
  }

  std::unique_ptr<FormUnderTest> Form(const QString& directory = QString()) {
    return std::make_unique<FormUnderTest>(directory, QString(),
                                           TVarnekForm::Options().live_repaint_interval, settings_);
  }

  QString settings_;
};

TEST_F(OptionsMenu, AFlatButtonLeftOfThePreviewOpensItsItemsAllOff) {
  auto t = Form(dir_);
  auto* button = t->Find<QToolButton>("SpeedButton3");
  auto* preview = t->Find<QToolButton>("SpeedButton2");
  ASSERT_TRUE(button);
  EXPECT_EQ(button->parentWidget()->objectName(), "Panel6");
  EXPECT_EQ(button->geometry(), QRect(152, 4, 36, 17));
  EXPECT_EQ(button->text(), QStringLiteral(u"設定"));
  // In プレビュー's look, in the free band: clear of the title and of プレビュー.
  EXPECT_TRUE(button->autoRaise());
  EXPECT_EQ(button->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(button->font(), preview->font());
  EXPECT_LT(button->geometry().right(), preview->geometry().left());
  EXPECT_LT(t->Find<QLabel>("Label1")->geometry().right(), button->geometry().left());

  QStringList captions;
  for (QAction* action : t->form->OptionsMenu()->actions()) {
    if (action->isSeparator()) continue;
    captions << action->text();
    EXPECT_TRUE(action->isCheckable());
    EXPECT_FALSE(action->isChecked()) << action->text().toStdString();
  }
  EXPECT_EQ(captions,
            (QStringList{QStringLiteral(u"サブフォルダも対象"), QStringLiteral(u"日付順に連番"),
                         QStringLiteral(u"同名ファイルを残す"), QStringLiteral(u"撮影時刻を補正…"),
                         QStringLiteral(u"カードを自動で選ぶ"), QStringLiteral(u"縮小画像で確認"),
                         QStringLiteral(u"設定を保存")}));
  t->form->show();
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_TRUE(t->form->OptionsMenu()->isVisible());
  t->form->OptionsMenu()->close();
  // Nothing is saved by a window whose item stayed off.
  t->form->close();
  EXPECT_FALSE(QFile::exists(settings_));
}

TEST_F(OptionsMenu, ItemsReachTheRunAndThePreview) {
  const RunSettings plain = Form(dir_)->form->CurrentRunSettings();
  EXPECT_FALSE(plain.include_subfolders);
  EXPECT_EQ(plain.order, FileOrder::kName);
  EXPECT_FALSE(plain.keep_both);

  ASSERT_TRUE(QDir().mkpath(dir_ + "/sub"));
  WriteFile(dir_ + "/sub/a.txt", "a");
  WriteFile(dir_ + "/b.txt", "b");
  auto t = Form(dir_);
  t->form->SubfoldersItem()->trigger();
  t->form->DateOrderItem()->trigger();
  t->form->KeepBothItem()->trigger();
  const RunSettings input = t->form->CurrentRunSettings();
  EXPECT_TRUE(input.include_subfolders);
  EXPECT_EQ(input.order, FileOrder::kDate);
  EXPECT_TRUE(input.keep_both);
  t->Find<QComboBox>("ComboBox1")->setCurrentIndex(0);  // serial なし
  t->Find<QRadioButton>("RadioButton2")->click();       // one day for all

  t->form->SpeedButton2Click();
  ASSERT_TRUE(WaitForRun(*t->form));
  Lines pairs;
  for (const std::string& line : t->info->LinesUtf8())
    if (line.starts_with("COPY_From") || line.starts_with("     To")) pairs.push_back(line);
  EXPECT_EQ(pairs, (Lines{"COPY_From: b.txt", "     To  : 2000年08月09日.txt",
                          "COPY_From: sub/a.txt", "     To  : 2000年08月09日 (2).txt"}));
}

TEST_F(OptionsMenu, SavedSettingsComeBackAtTheNextStartAndTurningOffForgetsThem) {
  const QString other = dir_ + "/other";
  ASSERT_TRUE(QDir().mkpath(other));
  {
    auto t = Form(other);
    t->Find<QLineEdit>("Edit1")->setText("Copies");
    t->Find<QPlainTextEdit>("Memo2")->setPlainText("*.jpg\n*.mp4");
    t->Find<QLineEdit>("Edit2")->setText(QStringLiteral(u"旅行_"));
    t->Find<QLineEdit>("Edit3")->setText("yyyymmdd");
    t->Find<QComboBox>("ComboBox1")->setCurrentIndex(5);
    t->Find<QRadioButton>("RadioButton2")->click();
    t->Find<QDateEdit>("DateTimePicker1")->setDate(QDate(2024, 2, 29));
    t->Find<QCheckBox>("CheckBox1")->click();
    t->Find<QLineEdit>("Edit4")->setText("jpeg");
    t->Find<QComboBox>("ComboBox2")->setCurrentIndex(2);
    t->Find<QSpinBox>("SpinEdit1")->setValue(99999999);
    t->form->DateOrderItem()->trigger();
    t->form->ThumbnailsItem()->trigger();
    t->form->SaveSettingsItem()->trigger();
    EXPECT_FALSE(QFile::exists(settings_)) << "saved when the window closes";
    t->form->close();
  }
  ASSERT_TRUE(QFile::exists(settings_));
  {
    // No directory given at the start: the saved one is chosen again.
    auto t = Form();
    EXPECT_EQ(t->form->SelectedDirectory(), other);
    EXPECT_EQ(t->Find<QLineEdit>("Edit1")->text(), "Copies");
    EXPECT_EQ(t->Find<QPlainTextEdit>("Memo2")->toPlainText(), "*.jpg\n*.mp4");
    EXPECT_EQ(t->Find<QLineEdit>("Edit2")->text(), QStringLiteral(u"旅行_"));
    EXPECT_EQ(t->Find<QComboBox>("ComboBox1")->currentIndex(), 5);
    EXPECT_TRUE(t->Find<QRadioButton>("RadioButton2")->isChecked());
    EXPECT_TRUE(t->Find<QDateEdit>("DateTimePicker1")->isEnabled());
    EXPECT_EQ(t->Find<QDateEdit>("DateTimePicker1")->date(), QDate(2024, 2, 29));
    EXPECT_TRUE(t->Find<QLineEdit>("Edit4")->isEnabled());
    EXPECT_EQ(t->Find<QLineEdit>("Edit4")->text(), "jpeg");
    EXPECT_EQ(t->Find<QComboBox>("ComboBox2")->currentIndex(), 2);
    EXPECT_EQ(t->Find<QSpinBox>("SpinEdit1")->value(), 99999999);
    EXPECT_FALSE(t->form->SubfoldersItem()->isChecked());
    EXPECT_TRUE(t->form->DateOrderItem()->isChecked());
    EXPECT_FALSE(t->form->ChooseCardsItem()->isChecked());
    EXPECT_TRUE(t->form->ThumbnailsItem()->isChecked());
    EXPECT_TRUE(t->form->SaveSettingsItem()->isChecked());
    EXPECT_EQ(t->form->size(), QSize(597, 433));
    EXPECT_TRUE(t->Find<QLabel>("Label15")->text().startsWith(QStringLiteral(u"旅行_20240229")));
    // A directory given at the start wins over the saved one.
    EXPECT_EQ(Form(dir_)->form->SelectedDirectory(), dir_);
    t->form->SaveSettingsItem()->trigger();
    EXPECT_FALSE(QFile::exists(settings_));
    t->form->close();
  }
  EXPECT_FALSE(QFile::exists(settings_));
  auto t = Form(dir_);
  EXPECT_EQ(t->Find<QLineEdit>("Edit1")->text(), "NewFolder");
  EXPECT_FALSE(t->form->SaveSettingsItem()->isChecked());
}

TEST_F(OptionsMenu, TheSavedFolderIsItsNameOnDiskByteForByte) {
  struct Case {
    QByteArray name;
    QByteArray saved;  // how the file's line begins
  };
  const QByteArray work = QFile::encodeName(dir_);
  const Case cases[] = {
      // UTF-8 names as text, as before.
      {"\xE5\x86\x99\xE7\x9C\x9F", "directory=" + work + "/\xE5\x86\x99\xE7\x9C\x9F\n"},
      {"Caf\xC3\xA9", "directory=" + work + "/Caf\xC3\xA9\n"},  // no CP932 form: no matter
      // Shift-JIS あ, then a letter that could pass for a hex digit.
      {"\x82\xA0"
       "b",
       "directory=@ByteArray(" + work + "/"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name.toStdString());
    const QByteArray path = work + "/" + c.name;
    ASSERT_EQ(::mkdir(path.constData(), 0755), 0);
    QFile::remove(settings_);
    {
      auto t = Form(dir_);
      ASSERT_TRUE(t->Find<DirectoryListBox>("DirectoryListBox1")->SetNativeDirectory(path));
      t->form->SaveSettingsItem()->trigger();
      t->form->close();
    }
    QFile file(settings_);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray text = file.readAll();
    EXPECT_TRUE(text.contains("\n" + c.saved)) << text.toStdString();
    EXPECT_EQ(Form()->Find<DirectoryListBox>("DirectoryListBox1")->NativeDirectory(), path);
    // A folder that has gone since leaves the list where it starts; the
    // other settings still come back.
    ASSERT_EQ(::rmdir(path.constData()), 0);
    auto t = Form();
    EXPECT_NE(t->Find<DirectoryListBox>("DirectoryListBox1")->NativeDirectory(), path);
    EXPECT_TRUE(t->form->SaveSettingsItem()->isChecked());
  }
}

TEST_F(OptionsMenu, ASettingsFileThatHoldsNonsenseGivesTheStartValues) {
  const QByteArray cases[] = {
      "serial_style=6\n",  // one past the last item
      "serial_style=-1\n",
      "serial_start=100000000\n",  // one past SpinEdit1's range
      "serial_start=seven\n",
      "letter_case=3\n",
      "subfolders=yes\n",         // a flag is true or false
      "picked_day=2023-02-29\n",  // no such day
      "masks=a, b\n",             // a list where a text belongs
      "prefix=@ByteArray(x)\n",
      "width=0\n",
      "serial_start=1e3\n",
      "prefix=\xF0\x9F\x98\x80\n",  // no CP932 form
      "directory=a, b\n",
      "directory=@ByteArray(/tmp\\0/x)\n",  // no name on disk holds a NUL
  };
  for (const QByteArray& text : cases) {
    WriteFile(settings_, "[General]\nfolder_name=Kept\nkeep_both=true\n" + text);
    auto t = Form(dir_);
    EXPECT_EQ(t->Find<QLineEdit>("Edit1")->text(), "NewFolder") << text.toStdString();
    EXPECT_FALSE(t->form->KeepBothItem()->isChecked()) << text.toStdString();
    EXPECT_FALSE(t->form->SaveSettingsItem()->isChecked()) << text.toStdString();
  }
  // The other end: values at their limits are taken.
  WriteFile(settings_,
            "[General]\nfolder_name=Kept\nserial_style=0\nserial_start=0\nletter_case=2\n"
            "keep_both=true\npicked_day=2024-02-29\n");
  EXPECT_EQ(Form(dir_)->Find<QLineEdit>("Edit1")->text(), "Kept");
  // A settings path that is a folder cannot be read either.
  QFile::remove(settings_);
  ASSERT_TRUE(QDir().mkpath(settings_));
  EXPECT_FALSE(LoadWindowSettings(settings_));
  EXPECT_EQ(Form(dir_)->Find<QLineEdit>("Edit1")->text(), "NewFolder");
}

}  // namespace
}  // namespace app::test
