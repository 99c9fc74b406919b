// The help file the build puts next to the program: shown by the help
// command, Shift-JIS throughout, lines ended by CR LF.
#include <QFile>
#include <QKeySequence>

#include <gtest/gtest.h>

#include <algorithm>

#include "app/window/info_texts.h"
#include "app/window/title_band_keys.h"
#include "app/window/window_program.h"
#include "platform/cp932.h"
#include "tests/app/window/window_test_support.h"
#include "tests/support/files.h"

namespace app::test {
namespace {

const QString kBuildDir = QStringLiteral(PIRUKKO_BUILD_DIR);

TEST(HelpFile, BuildPutsItNextToTheProgramAndTheHelpCommandShowsIt) {
  FormUnderTest t(QString(), kBuildDir + "/varnek");
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button4Click();
  const std::vector<std::string> lines = t.info->LinesUtf8();
  ASSERT_GT(lines.size(), 50u);
  EXPECT_EQ(lines[0], "■□■ Pirukko ヘルプ ■□■");
  // It speaks of what the window offers.
  std::string all;
  for (const std::string& line : lines) all += line + "\n";
  for (const char* topic : {"マスク", "日付表示文字", "yyyy", "連番", "情報ウインドウ", "実行"}) {
    EXPECT_NE(all.find(topic), std::string::npos) << topic;
  }
  // It is a guide to this program on Linux: ":" is a plain character in a
  // name, and names without a Shift-JIS form are copied.
  EXPECT_NE(all.find("「:」はそのまま使えます"), std::string::npos);
  EXPECT_EQ(all.find("「/」や「:」はファイル名に使えない"), std::string::npos);
  EXPECT_NE(all.find("Shift-JIS で表せない文字を含む名前"), std::string::npos);
  EXPECT_EQ(answerer.seen().size(), 1u);
}

TEST(HelpFile, NextToTheProgramFirstThenTheInstallationsDataFolder) {
  test_support::TempDir root("help-place");
  const std::filesystem::path bin = root.path() / "usr" / "bin";
  const std::filesystem::path data = root.path() / "usr" / "share" / "pirukko";
  std::filesystem::create_directories(bin);
  std::filesystem::create_directories(data);
  const QString program = QString::fromStdString((bin / "varnek").string());
  const QString beside = QString::fromStdString((bin / "varnek.txt").string());
  const QString installed = QString::fromStdString((data / "varnek.txt").string());

  // Neither there: the place beside the program is the one named as missing.
  EXPECT_EQ(HelpFilePath(program), beside);
  test_support::WriteFile(data / "varnek.txt", "installed");
  EXPECT_EQ(HelpFilePath(program), installed);
  test_support::WriteFile(bin / "varnek.txt", "beside");
  EXPECT_EQ(HelpFilePath(program), beside);
  // A folder of that name is no help file.
  std::filesystem::remove(bin / "varnek.txt");
  std::filesystem::create_directory(bin / "varnek.txt");
  EXPECT_EQ(HelpFilePath(program), installed);
}

// Started directly (as the desktop entry and the check scripts start it),
// the window is still varnek's and shows varnek's help: in the build folder
// and in an installation, where the window lives in libexec/.
TEST(HelpFile, FoundWhenTheWindowIsStartedDirectly) {
  EXPECT_EQ(CommandProgramOf(kBuildDir + "/varnek-window"), kBuildDir + "/varnek");
  FormUnderTest t(QString(), CommandProgramOf(kBuildDir + "/varnek-window"));
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button4Click();
  ASSERT_GT(t.info->LinesUtf8().size(), 50u);
  EXPECT_EQ(t.info->LinesUtf8()[0], "■□■ Pirukko ヘルプ ■□■");

  test_support::TempDir root("window-help");
  const std::filesystem::path helpers = root.path() / "usr" / "libexec" / "pirukko";
  const std::filesystem::path bin = root.path() / "usr" / "bin";
  const std::filesystem::path data = root.path() / "usr" / "share" / "pirukko";
  for (const auto& folder : {helpers, bin, data}) std::filesystem::create_directories(folder);
  test_support::WriteFile(helpers / "varnek-window", "window");
  const QString window = QString::fromStdString((helpers / "varnek-window").string());
  // Without varnek anywhere, the place beside the window is named.
  EXPECT_EQ(CommandProgramOf(window), QString::fromStdString((helpers / "varnek").string()));
  test_support::WriteFile(bin / "varnek", "program");
  test_support::WriteFile(data / "varnek.txt", "help");
  EXPECT_EQ(CommandProgramOf(window), QString::fromStdString((bin / "varnek").string()));
  EXPECT_EQ(HelpFilePath(CommandProgramOf(window)),
            QString::fromStdString((data / "varnek.txt").string()));
}

TEST(HelpFile, NamesTheKeysTheTitleBandsButtonsTake) {
  FormUnderTest t(QString(), kBuildDir + "/varnek");
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button4Click();
  const std::vector<std::string> lines = t.info->LinesUtf8();
  const auto has_line = [&](const std::string& first, const std::string& then) {
    return std::any_of(lines.begin(), lines.end(), [&](const std::string& line) {
      const size_t at = line.find(first);
      return at != std::string::npos && line.find(then, at) != std::string::npos;
    });
  };
  for (const auto& [key, button] : {std::pair{kPreviewKey, "プレビュー"}, {kSettingsKey, "設定"}}) {
    const std::string named = QKeySequence(key).toString().toStdString();
    EXPECT_TRUE(has_line(named + " ", std::string("… ") + button)) << named;
  }
  EXPECT_TRUE(has_line("Tab キー", "場所"));
}

TEST(HelpFile, ShiftJisWithCrLfLineEnds) {
  QFile file(kBuildDir + "/varnek.txt");
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray bytes = file.readAll();
  EXPECT_TRUE(platform::Cp932ToUtf8(bytes.toStdString()).has_value());
  EXPECT_FALSE(bytes.contains("\xEF\xBB\xBF"));  // no UTF-8 byte-order mark
  EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
  EXPECT_EQ(bytes.count("\r\n"), bytes.count('\r'));
  EXPECT_TRUE(bytes.endsWith("\r\n"));
}

}  // namespace
}  // namespace app::test
