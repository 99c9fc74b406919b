// varnek --run and --preview and the window's "実行" and "プレビュー" with
// the same settings on the same folder log the same lines: the command line
// prints, in UTF-8, line for line what the information window shows.
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QSpinBox>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "tests/app/window/teditor/real_form.h"
#include "tests/support/files.h"
#include "tests/support/photos.h"
#include "tests/support/run_program.h"

namespace app::test {
namespace {

namespace fs = std::filesystem;
using test_support::LocalTime;
using Args = std::vector<std::string>;

const std::string kVarnek = PIRUKKO_VARNEK;

std::vector<std::string> CommandLineLog(const std::string& mode, const Args& options,
                                        const fs::path& directory) {
  Args args = {mode};
  args.insert(args.end(), options.begin(), options.end());
  args.push_back(directory.string());
  const test_support::ProgramResult r = test_support::RunProgram(
      kVarnek, args, {{}, {{"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}}, {"QT_QPA_PLATFORM", {}}}});
  EXPECT_FALSE(r.crashed);
  EXPECT_EQ(r.err, "");
  return test_support::Lines(r.out);
}

TEST(CommandLineLog, EqualsTheInformationWindowsLogOfTheSameRun) {
  test_support::PinJapanTimeZone();
  const struct {
    const char* what;
    Args options;
    std::function<void(RealFormUnderTest&)> set_window;
    std::string folder = "NewFolder";
    bool time_note = true;  // the file from 1975 gets the note entry
  } cases[] = {
      {"the start values", {}, [](RealFormUnderTest&) {}},
      {"every setting changed",
       {"--mask",   "*.txt", "--mask",   "*.doc", "--mask",   "b*",
        "--folder", "控え",  "--prefix", "旅_",   "--format", "ggge年m月d日(aaa)",
        "--serial", "0001",  "--start",  "99",    "--ext",    "Bak",
        "--case",   "upper"},
       [](RealFormUnderTest& t) {
         t.form->findChild<QPlainTextEdit*>("Memo2")->setPlainText("*.txt\n*.doc\nb*");
         t.form->findChild<QLineEdit*>("Edit1")->setText(u8"控え");
         t.form->findChild<QLineEdit*>("Edit2")->setText(u8"旅_");
         t.form->findChild<QLineEdit*>("Edit3")->setText(u8"ggge年m月d日(aaa)");
         t.form->findChild<QComboBox*>("ComboBox1")->setCurrentIndex(4);
         t.form->findChild<QSpinBox*>("SpinEdit1")->setValue(99);
         t.form->findChild<QCheckBox*>("CheckBox1")->click();
         t.form->findChild<QLineEdit*>("Edit4")->setText("Bak");
         t.form->findChild<QComboBox*>("ComboBox2")->setCurrentIndex(2);
       },
       "控え"},
      {"a picked day, no serial, lower case",
       {"--date", "1999-12-31", "--serial", "none", "--case", "lower", "--format", "yyyymmdd"},
       [](RealFormUnderTest& t) {
         t.form->findChild<QRadioButton*>("RadioButton2")->click();
         t.form->findChild<QDateEdit*>("DateTimePicker1")->setDate(QDate(1999, 12, 31));
         t.form->findChild<QComboBox*>("ComboBox1")->setCurrentIndex(0);
         t.form->findChild<QComboBox*>("ComboBox2")->setCurrentIndex(1);
         t.form->findChild<QLineEdit*>("Edit3")->setText("yyyymmdd");
       },
       "NewFolder",
       false},
      {"Exif優先",
       {"--date", "exif"},
       [](RealFormUnderTest& t) { t.form->findChild<QCheckBox*>("CheckBox2")->click(); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir dir("window-log");
    const auto add = [&dir](const std::string& name, std::time_t mtime) {
      test_support::WriteFile(dir.path() / name, name);
      test_support::SetMTime(dir.path() / name, mtime);
    };
    add("a.txt", LocalTime(2000, 1, 5, 10, 0, 0));
    add("b.doc", LocalTime(2019, 5, 1, 0, 0, 0));
    add("B.txt", LocalTime(1989, 1, 7, 23, 59, 58));
    // A photo taken at another moment than it was last written.
    test_support::WriteFile(dir.path() / "c.JPG", test_support::JpegBytes(8, 8));
    test_support::TagWithDates(dir.path() / "c.JPG", {"2011:03:11 14:46:18", "", ""});
    test_support::SetMTime(dir.path() / "c.JPG", LocalTime(2026, 3, 10, 12, 0, 0));
    // Before 1980: the note entry, which holds a carriage return.
    add("old.txt", LocalTime(1975, 6, 1, 0, 0, 0));

    RealFormUnderTest t(QString::fromStdString(dir.path().string()));
    c.set_window(t);
    // A first run makes the folder; a second one empties it and makes it
    // again; a preview then says it would.
    t.form->Button2Click();
    ASSERT_TRUE(WaitForRun(*t.form));
    const std::vector<std::string> window_first = t.LinesUtf8();
    fs::remove_all(dir.path() / c.folder);
    EXPECT_EQ(CommandLineLog("--run", c.options, dir.path()), window_first);
    const std::vector<std::string> command_line_again =
        CommandLineLog("--run", c.options, dir.path());
    t.form->Button2Click();
    ASSERT_TRUE(WaitForRun(*t.form));
    EXPECT_EQ(command_line_again, t.LinesUtf8());
    // The preview prints each date to the second: the file dated now would
    // differ between two previews, so it leaves first.
    fs::remove(dir.path() / "old.txt");
    t.form->SpeedButton2Click();
    ASSERT_TRUE(WaitForRun(*t.form));
    const std::vector<std::string> window_preview = t.LinesUtf8();
    EXPECT_EQ(CommandLineLog("--preview", c.options, dir.path()), window_preview);
    EXPECT_EQ(window_preview.front(), "□■□ プレビュー □■□");
    EXPECT_GT(window_first.size(), 20u);
    const std::string note = "下記のファイルは時間の取得に失敗し、現在の時間にされました。";
    EXPECT_EQ(std::count(window_first.begin(), window_first.end(), note), c.time_note ? 1 : 0);
  }
}

}  // namespace
}  // namespace app::test
