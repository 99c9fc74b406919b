// varnek --run through the built program, as a script runs it: on temporary
// folders, without a display, the log on standard output in UTF-8, and the
// exit status telling how the run went.
#include <QCoreApplication>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/cp932.h"
#include "tests/support/files.h"
#include "tests/support/run_program.h"
#include "tests/support/trash_home.h"

namespace {

namespace fs = std::filesystem;
using test_support::LocalTime;
using test_support::ProgramResult;
using test_support::ReadFile;
using Args = std::vector<std::string>;

const std::string kVarnek = PIRUKKO_VARNEK;
const std::string kSep = std::string(70, '-');
// What the program's runs empty goes to a trash of the test's own.
const bool kTrashInTemp = (test_support::TestDataHome(), true);

// No display at all: the command line must not need one.
const test_support::RunOptions kNoDisplay = {
    {}, {{"DISPLAY", {}}, {"WAYLAND_DISPLAY", {}}, {"QT_QPA_PLATFORM", {}}}};

ProgramResult Varnek(const Args& args, test_support::RunOptions options = kNoDisplay) {
  static int argc = 1;
  static char name[] = "varnek_run_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* core =
      QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)core;
  return test_support::RunProgram(kVarnek, args, options);
}

// The names in a folder, sorted.
std::vector<std::string> Names(const fs::path& folder) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(folder)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

class VarnekRun : public ::testing::Test {
 protected:
  void SetUp() override {
    test_support::PinJapanTimeZone();
    Add("a.txt", "alpha", LocalTime(2000, 1, 5, 10, 0, 0));
    Add("b.doc", "bravo", LocalTime(2019, 4, 30, 23, 59, 58));
    Add("c.JPG", "charlie", LocalTime(2019, 5, 1, 0, 0, 0));
  }

  void Add(const std::string& name, const std::string& data, std::time_t mtime) {
    test_support::WriteFile(src() / name, data);
    test_support::SetMTime(src() / name, mtime);
  }

  fs::path src() const { return dir_.path(); }
  std::string Src() const { return src().string(); }

  test_support::TempDir dir_{"varnek-run"};
};

TEST_F(VarnekRun, CopiesUnderComposedNamesAndLogsEveryStepInUtf8) {
  const ProgramResult r = Varnek({"--run", "--mask", "*.txt", "--mask=*.jpg", "--folder", "控え",
                                  "--prefix", "旅_", "--format", "ggge年mm月", "--serial", "0001",
                                  "--start", "9", "--case", "upper", Src()});
  ASSERT_FALSE(r.crashed);
  EXPECT_EQ(r.exit_status, 0);
  EXPECT_EQ(r.err, "");
  EXPECT_TRUE(platform::Utf8ToCp932(r.out)) << "the log is UTF-8 of CP932 text";

  const std::string target = Src() + "/控え";
  const std::vector<std::string> expected = {
      "□■□ 実行中 □■□",
      "  ※同名ファイルが作成される場合は上書きされます。",
      "",
      kSep,
      "",
      "新しいフォルダの作成 ",
      "  " + target,
      "",
      kSep,
      "",
      "ファイルコピーの開始",
      "  コピー元ディレクトリ: " + Src(),
      "  コピー先ディレクトリ: " + target,
      "",
      kSep,
      "",
      "  対象ファイル数 2個",
      "COPY_From: a.txt",
      "     To  : 旅_平成12年01月0009.TXT",
      "COPY_From: c.JPG",
      "     To  : 旅_令和1年05月0010.JPG",
      "",
      "正常に終了しました。",
  };
  EXPECT_EQ(test_support::Lines(r.out), expected);
  EXPECT_EQ(r.out.back(), '\n');
  EXPECT_EQ(Names(target),
            (std::vector<std::string>{"旅_令和1年05月0010.JPG", "旅_平成12年01月0009.TXT"}));
  EXPECT_EQ(ReadFile(target + "/旅_平成12年01月0009.TXT"), "alpha");
  EXPECT_EQ(fs::last_write_time(target + "/旅_令和1年05月0010.JPG"),
            fs::last_write_time(src() / "c.JPG"));
}

TEST_F(VarnekRun, PickedDayExtensionAndRelativeDirectory) {
  test_support::RunOptions options = kNoDisplay;
  options.working_directory = Src();
  const ProgramResult r =
      Varnek({"--run", "--date", "2024-02-29", "--format", "yyyymmdd_hhnnss_", "--serial", "none",
              "--ext", "txt", "--case", "lower", "--mask", "b.*", "."},
             options);
  EXPECT_EQ(r.exit_status, 0) << r.err;
  // "." is the working directory, named as the window's list names it.
  EXPECT_NE(r.out.find("  コピー元ディレクトリ: " + Src() + "\n"), std::string::npos) << r.out;
  EXPECT_EQ(Names(src() / "NewFolder"), std::vector<std::string>{"20240229_175309_.txt"});
}

// Day and month names and eras are Japanese under any locale of the
// environment, also one with no Japanese at all.
TEST_F(VarnekRun, DateNamesAreJapaneseWhateverTheLocale) {
  for (const char* lang : {"C.UTF-8", "en_US.UTF-8", "ja_JP.UTF-8"}) {
    // Without the locale the program would run in C, three times over.
    ASSERT_TRUE(test_support::LocaleInstalled(lang))
        << lang << " is missing: scripts/install-deps.sh generates it";
    test_support::RunOptions options = kNoDisplay;
    options.environment.push_back({"LANG", lang});
    options.environment.push_back({"LC_ALL", lang});
    const ProgramResult r = Varnek({"--preview", "--date", "2019-05-01", "--format",
                                    "ggge年m月d日(aaa) mmm", "--mask", "a.txt", Src()},
                                   options);
    EXPECT_EQ(r.exit_status, 0) << lang << r.err;
    EXPECT_NE(r.out.find("     To  : 令和1年5月1日(水) 5月001.txt\n"), std::string::npos)
        << lang << "\n"
        << r.out;
  }
}

TEST_F(VarnekRun, SubFoldersDateOrderAndKeepBoth) {
  fs::create_directory(src() / "sub");
  Add("sub/d.txt", "delta", LocalTime(1999, 12, 31, 23, 59, 58));
  Add("sub/e.txt", "echo", LocalTime(2000, 1, 5, 10, 0, 0));  // a.txt's twin date
  const Args options = {"--subfolders", "--order", "date",   "--keep-both", "--format", "yyyymmdd",
                        "--serial",     "none",    "--mask", "*.txt",       Src()};
  Args preview = {"--preview"};
  preview.insert(preview.end(), options.begin(), options.end());
  const ProgramResult shown = Varnek(preview);
  EXPECT_EQ(shown.exit_status, 0) << shown.err;
  std::vector<std::string> pairs;
  for (const std::string& line : test_support::Lines(shown.out))
    if (line.starts_with("COPY_From") || line.starts_with("     To")) pairs.push_back(line);
  EXPECT_EQ(pairs,
            (std::vector<std::string>{"COPY_From: sub/d.txt", "     To  : 19991231.txt",
                                      "COPY_From: a.txt", "     To  : 20000105.txt",
                                      "COPY_From: sub/e.txt", "     To  : 20000105 (2).txt"}));
  Args run = {"--run"};
  run.insert(run.end(), options.begin(), options.end());
  const ProgramResult made = Varnek(run);
  EXPECT_EQ(made.exit_status, 0) << made.err;
  EXPECT_EQ(Names(src() / "NewFolder"),
            (std::vector<std::string>{"19991231.txt", "20000105 (2).txt", "20000105.txt"}));
  EXPECT_EQ(ReadFile(src() / "NewFolder" / "20000105 (2).txt"), "echo");
}

TEST_F(VarnekRun, ExitStatusSaysHowTheRunWent) {
  const struct {
    const char* what;
    Args options;
    std::function<void(const fs::path&)> prepare;
    int status;
    std::string last_line;
  } cases[] = {
      {"every file copied", {}, nullptr, 0, "正常に終了しました。"},
      {"a name that is no file name",
       {"--prefix", "x/"},
       nullptr,
       1,
       "終了しました。コピーに失敗したファイル: 3個"},
      {"copies the file system refuses (names too long)",
       {"--prefix", std::string(250, 'x')},
       nullptr,
       1,
       "終了しました。コピーに失敗したファイル: 3個"},
      {"no folder name", {"--folder="}, nullptr, 2, "        実行を中止しました。"},
      {"the old folder cannot be removed",
       {},
       [](const fs::path& src) { fs::create_directories(src / "NewFolder" / "keep"); },
       2,
       "        実行を中止しました。"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    test_support::TempDir dir("varnek-status");
    test_support::WriteFile(dir.path() / "a.txt", "a");
    test_support::WriteFile(dir.path() / "b.txt", "b");
    test_support::WriteFile(dir.path() / "c.txt", "c");
    if (c.prepare) c.prepare(dir.path());
    Args args = {"--run"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back(dir.path().string());
    const ProgramResult r = Varnek(args);
    ASSERT_FALSE(r.crashed);
    EXPECT_EQ(r.exit_status, c.status) << r.out << r.err;
    const std::vector<std::string> lines = test_support::Lines(r.out);
    ASSERT_FALSE(lines.empty());
    EXPECT_EQ(lines.back(), c.last_line);
    // Every error entry is on standard error too; a run without one says nothing there.
    if (c.status == 0) {
      EXPECT_EQ(r.err, "");
    } else {
      EXPECT_EQ(r.err.rfind("Error : ", 0), 0u) << r.err;
    }
  }
}

TEST_F(VarnekRun, WrongArgumentsTouchNothingAndSayWhyOnStandardError) {
  const struct {
    Args args;
    std::string message;
  } cases[] = {
      {{"--run"}, "varnek: コピー元のディレクトリを指定してください。\n"},
      {{"--run", "--serial", "7", Src()}, "varnek: --serial の値が不正です"},
      {{"--run", "--bogus", Src()}, "varnek: 不明なオプションです: --bogus\n"},
      {{"--run", "--prefix", "😀", Src()}, "Shift-JIS で表せない文字があります"},
      {{"--mask", "*.txt", Src()}, "--run か --preview と一緒に指定してください。"},
      {{"--run", Src() + "/missing"},
       "varnek: ディレクトリが存在しません: " + Src() + "/missing\n"},
      {{"--run", Src() + "/a.txt"}, "varnek: ディレクトリではありません: " + Src() + "/a.txt\n"},
      {{"--run", Src(), Src()}, "ディレクトリは一つだけ指定してください"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += "[" + a + "]";
    SCOPED_TRACE(shown);
    const ProgramResult r = Varnek(c.args);
    ASSERT_FALSE(r.crashed);
    EXPECT_EQ(r.exit_status, 2);
    EXPECT_EQ(r.out, "");
    EXPECT_NE(r.err.find(c.message), std::string::npos) << r.err;
    EXPECT_EQ(Names(src()), (std::vector<std::string>{"a.txt", "b.doc", "c.JPG"}));
  }
}

// Everything under a folder: each entry's path, kind, size and time.
std::vector<std::string> Snapshot(const fs::path& folder) {
  std::vector<std::string> entries;
  for (const auto& e : fs::recursive_directory_iterator(folder)) {
    std::string line = fs::relative(e.path(), folder).string();
    line += e.is_directory() ? " dir" : " " + std::to_string(e.file_size());
    line += " " + std::to_string(e.last_write_time().time_since_epoch().count());
    entries.push_back(line);
  }
  std::sort(entries.begin(), entries.end());
  return entries;
}

TEST_F(VarnekRun, PreviewPrintsEveryNewNameAndTouchesNothing) {
  fs::create_directory(src() / "NewFolder");
  test_support::WriteFile(src() / "NewFolder" / "old.txt", "from an earlier run");
  const std::vector<std::string> before = Snapshot(src());
  const ProgramResult r = Varnek(
      {"--preview", "--prefix", "x/", "--mask", "c.*", "--mask", "a.*", "--date", "exif", Src()});
  ASSERT_FALSE(r.crashed);
  EXPECT_EQ(r.err,
            "Error : ファイル名が不正です。\n  x/2000年01月05日001.txt\n"
            "Error : ファイル名が不正です。\n  x/2019年05月01日002.JPG\n");
  // The name with "/" is the run's error entry: one file would fail.
  EXPECT_EQ(r.exit_status, 1) << r.out;
  const std::vector<std::string> lines = test_support::Lines(r.out);
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "□■□ プレビュー □■□");
  for (const std::string& expected :
       {std::string("COPY_From: a.txt"), std::string("     To  : 2000年01月05日001.txt"),
        std::string("  x/2000年01月05日001.txt"), std::string("COPY_From: c.JPG"),
        std::string("     To  : 2019年05月01日002.JPG"),
        std::string("新しいフォルダと同名のディレクトリが存在します。")}) {
    EXPECT_NE(std::find(lines.begin(), lines.end(), expected), lines.end()) << expected;
  }
  EXPECT_EQ(Snapshot(src()), before);

  const ProgramResult fine = Varnek({"--preview", Src()});
  EXPECT_EQ(fine.exit_status, 0) << fine.out << fine.err;
  EXPECT_EQ(Snapshot(src()), before);
}

TEST_F(VarnekRun, NothingToCopyHasFinishedNotStopped) {
  for (const char* mode : {"--run", "--preview"}) {
    SCOPED_TRACE(mode);
    const ProgramResult r = Varnek({mode, "--mask", "*.none", Src()});
    EXPECT_EQ(r.exit_status, 0) << r.out << r.err;
    const std::vector<std::string> lines = test_support::Lines(r.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "対象になるファイルが存在しませんでした。"),
              lines.end());
  }
}

TEST_F(VarnekRun, CtrlCStopsTheRunBetweenTwoFiles) {
  for (const char* mode : {"--run", "--preview"}) {
    SCOPED_TRACE(mode);
    test_support::TempDir scratch("interrupted");
    const ProgramResult r =
        test_support::RunInterrupted(kVarnek, {mode, Src()}, scratch.path().string());
    ASSERT_FALSE(r.crashed) << "Ctrl+C ended the program instead of stopping the run";
    EXPECT_EQ(r.exit_status, 2) << r.out << r.err;
    const std::vector<std::string> lines = test_support::Lines(r.out);
    EXPECT_NE(std::find(lines.begin(), lines.end(), "        実行を中止しました。"), lines.end())
        << r.out;
  }
  // The run stopped before its first file; nothing half-written is left.
  EXPECT_EQ(Names(src() / "NewFolder"), std::vector<std::string>{});
}

TEST(VarnekCommandLine, HelpShowsUsageAndWhereTheHelpFileIsVersionTheVersion) {
  const ProgramResult help = Varnek({"--help"});
  EXPECT_EQ(help.exit_status, 0);
  EXPECT_EQ(help.err, "");
  EXPECT_EQ(help.out.rfind("使い方:\n  varnek [ディレクトリ]\n", 0), 0u) << help.out;
  for (const char* option : {"--mask", "--folder", "--prefix", "--format", "--date", "--serial",
                             "--start", "--ext", "--case", "--preview"}) {
    EXPECT_NE(help.out.find(option), std::string::npos) << option;
  }
  const std::string help_file = fs::path(kVarnek).parent_path() / "varnek.txt";
  EXPECT_NE(help.out.find("詳しい説明（Shift-JIS のテキスト）: " + help_file + "\n"),
            std::string::npos)
      << help.out;

  const ProgramResult version = Varnek({"--version"});
  EXPECT_EQ(version.exit_status, 0);
  EXPECT_EQ(version.out, "varnek (Pirukko) " PIRUKKO_VERSION "\n");
}

TEST_F(VarnekRun, DirectoryWithoutAShiftJisNameRunsAndIsShownApproximately) {
  const fs::path chosen = src() / "caf\xC3\xA9";  // café
  fs::create_directory(chosen);
  test_support::WriteFile(chosen / "a.txt", "alpha");
  test_support::SetMTime(chosen / "a.txt", LocalTime(2000, 1, 5, 10, 0, 0));
  const ProgramResult r = Varnek({"--run", chosen.string()});
  ASSERT_FALSE(r.crashed);
  EXPECT_EQ(r.exit_status, 0) << r.err;
  EXPECT_NE(r.out.find("  コピー元ディレクトリ: " + Src() + "/caf?\n"), std::string::npos) << r.out;
  EXPECT_EQ(ReadFile(chosen / "NewFolder" / "2000年01月05日001.txt"), "alpha");
}

// The command line pays only for what it uses: no Qt library at all is
// loaded for it. A start with a window goes on in the window's
// own program, which lies next to varnek in the build folder.
TEST(VarnekCommandLine, LoadsNoWindowSystemAndHandsAWindowStartToTheWindowProgram) {
  const ProgramResult libraries = test_support::RunProgram("ldd", {kVarnek});
  ASSERT_EQ(libraries.exit_status, 0) << libraries.err;
  for (const char* window_system : {"libQt6", "libX11", "libEGL"}) {
    EXPECT_EQ(libraries.out.find(window_system), std::string::npos) << window_system;
  }

  // Two directories reach the window's program, which refuses them before
  // it opens a window.
  const test_support::TempDir scratch("hand-over");
  const ProgramResult window = Varnek({scratch.path().string(), scratch.path().string()},
                                      {{}, {{"QT_QPA_PLATFORM", "offscreen"}}});
  ASSERT_FALSE(window.crashed);
  EXPECT_EQ(window.exit_status, 2);
  EXPECT_NE(window.err.find("varnek: ディレクトリは一つだけ指定してください"), std::string::npos)
      << window.err;

  // Without it the program says what is missing; the command line still works.
  const fs::path alone = scratch.path() / "varnek";
  fs::copy_file(kVarnek, alone);
  const ProgramResult missing = test_support::RunProgram(alone.string(), {scratch.path().string()});
  EXPECT_EQ(missing.exit_status, 2);
  EXPECT_EQ(missing.err, "varnek: ウインドウのプログラム varnek-window が見つかりません。\n");
  EXPECT_EQ(test_support::RunProgram(alone.string(), {"--version"}).exit_status, 0);
}

}  // namespace
