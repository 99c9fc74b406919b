// Reading varnek's arguments: which of the window, a run, a preview, help or
// the version they ask for, each option's value as the window's control
// would hold it, and a clear refusal of everything else.
#include "app/cli/command_line.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/cp932.h"

namespace app::cli {
namespace {

using Args = std::vector<std::string>;

std::string J(const std::string& utf8) {
  return *platform::Utf8ToCp932(utf8);
}

CommandLine Parsed(const Args& args) {
  ParseResult result = ParseCommandLine(args);
  EXPECT_TRUE(result.command_line) << result.error;
  return result.command_line.value_or(CommandLine());
}

TEST(CommandLine, WithoutOptionsItIsTheWindowWithAtMostAStartDirectory) {
  EXPECT_EQ(Parsed({}).mode, Mode::kWindow);
  EXPECT_FALSE(Parsed({}).directory);
  const CommandLine started = Parsed({"/home/user/写真"});
  EXPECT_EQ(started.mode, Mode::kWindow);
  EXPECT_EQ(started.directory, "/home/user/写真");
  // A directory whose name looks like an option follows "--"; a lone "-"
  // is a name.
  EXPECT_EQ(Parsed({"--", "--run"}).directory, "--run");
  EXPECT_EQ(Parsed({"--", "--run"}).mode, Mode::kWindow);
  EXPECT_EQ(Parsed({"-"}).directory, "-");
}

TEST(CommandLine, AskingForTheCommandLineIsToldApartBeforeAnyDisplayIsNeeded) {
  const struct {
    Args args;
    bool command_line;
  } cases[] = {
      {{}, false},
      {{"/tmp"}, false},
      {{"-style", "fusion", "/tmp"}, false},  // Qt's own options go to Qt
      {{"--", "--run"}, false},
      {{"--run", "/tmp"}, true},
      {{"/tmp", "--preview"}, true},
      {{"--help"}, true},
      {{"-h"}, true},
      {{"--version"}, true},
      {{"--mask", "*.txt", "/tmp"}, true},  // an error, but on the terminal
      {{"--case=upper"}, true},
      {{"--subfolders", "/tmp"}, true},
      {{"--keep-both"}, true},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += a + " ";
    EXPECT_EQ(AsksForCommandLine(c.args), c.command_line) << shown;
  }
}

TEST(CommandLine, DefaultsAreTheWindowsStartValues) {
  const CommandLine line = Parsed({"--run", "/tmp"});
  EXPECT_EQ(line.mode, Mode::kRun);
  EXPECT_EQ(line.directory, "/tmp");
  EXPECT_EQ(line.settings.masks, Args{"*.*"});
  EXPECT_EQ(line.settings.folder_name, "NewFolder");
  EXPECT_EQ(line.settings.naming.date_source, app::DateSource::kLastWrite);
  EXPECT_EQ(line.settings.naming.date_format, J("yyyy年mm月dd日"));
  EXPECT_EQ(line.settings.naming.serial_style_index, 3);
  EXPECT_EQ(line.settings.naming.serial_style_text, "001");
  EXPECT_EQ(line.settings.naming.serial_start, 1);
  EXPECT_FALSE(line.settings.naming.change_extension);
  EXPECT_EQ(line.settings.naming.letter_case, 0);
  EXPECT_TRUE(line.settings.naming.leading_text.empty());
  EXPECT_FALSE(line.settings.include_subfolders);
  EXPECT_EQ(line.settings.order, FileOrder::kName);
  EXPECT_FALSE(line.settings.keep_both);
}

TEST(CommandLine, EachOptionSetsWhatItsControlHolds) {
  const struct {
    Args options;
    std::function<void(const CommandLine&)> check;
  } cases[] = {
      {{"--folder", "写真の控え"},
       [](auto& l) { EXPECT_EQ(l.settings.folder_name, J("写真の控え")); }},
      {{"--folder="}, [](auto& l) { EXPECT_EQ(l.settings.folder_name, ""); }},
      {{"--prefix", "旅行_"},
       [](auto& l) { EXPECT_EQ(l.settings.naming.leading_text, J("旅行_")); }},
      {{"--prefix", "-x"}, [](auto& l) { EXPECT_EQ(l.settings.naming.leading_text, "-x"); }},
      {{"--format=ggge年"}, [](auto& l) { EXPECT_EQ(l.settings.naming.date_format, J("ggge年")); }},
      {{"--format", ""}, [](auto& l) { EXPECT_EQ(l.settings.naming.date_format, ""); }},
      {{"--serial", "none"},
       [](auto& l) {
         EXPECT_EQ(l.settings.naming.serial_style_index, 0);
         EXPECT_EQ(l.settings.naming.serial_style_text, J("なし"));
       }},
      {{"--serial", "1"}, [](auto& l) { EXPECT_EQ(l.settings.naming.serial_style_index, 1); }},
      {{"--serial=00001"},
       [](auto& l) {
         EXPECT_EQ(l.settings.naming.serial_style_index, 5);
         EXPECT_EQ(l.settings.naming.serial_style_text, "00001");
       }},
      {{"--start", "0"}, [](auto& l) { EXPECT_EQ(l.settings.naming.serial_start, 0); }},
      {{"--start", "99999999"},
       [](auto& l) { EXPECT_EQ(l.settings.naming.serial_start, 99999999); }},
      {{"--start", "00000007"}, [](auto& l) { EXPECT_EQ(l.settings.naming.serial_start, 7); }},
      {{"--ext", "jpg"},
       [](auto& l) {
         EXPECT_TRUE(l.settings.naming.change_extension);
         EXPECT_EQ(l.settings.naming.new_extension, "jpg");
       }},
      {{"--ext="},  // as an empty Edit4: the name ends in "."
       [](auto& l) {
         EXPECT_TRUE(l.settings.naming.change_extension);
         EXPECT_EQ(l.settings.naming.new_extension, "");
       }},
      {{"--case", "lower"}, [](auto& l) { EXPECT_EQ(l.settings.naming.letter_case, 1); }},
      {{"--subfolders"}, [](auto& l) { EXPECT_TRUE(l.settings.include_subfolders); }},
      {{"--keep-both"},
       [](auto& l) {
         EXPECT_TRUE(l.settings.keep_both);
         EXPECT_FALSE(l.settings.include_subfolders);
       }},
      {{"--order", "date"}, [](auto& l) { EXPECT_EQ(l.settings.order, FileOrder::kDate); }},
      {{"--order=date", "--order", "name"},
       [](auto& l) { EXPECT_EQ(l.settings.order, FileOrder::kName); }},
      {{"--case", "upper"}, [](auto& l) { EXPECT_EQ(l.settings.naming.letter_case, 2); }},
      {{"--case", "upper", "--case", "none"},
       [](auto& l) { EXPECT_EQ(l.settings.naming.letter_case, 0); }},
      {{"--date", "mtime"},
       [](auto& l) { EXPECT_EQ(l.settings.naming.date_source, app::DateSource::kLastWrite); }},
      {{"--date", "exif"},
       [](auto& l) { EXPECT_EQ(l.settings.naming.date_source, app::DateSource::kCaptureDate); }},
      {{"--date", "2024-02-29"},  // the day changes, the picker's time of day stays
       [](auto& l) {
         EXPECT_EQ(l.settings.naming.date_source, app::DateSource::kPicked);
         EXPECT_EQ(l.settings.naming.picked_date, (platform::DateTime{2024, 2, 29, 17, 53, 9, 0}));
       }},
      {{"--date", "0001-01-01"},
       [](auto& l) {
         EXPECT_EQ(l.settings.naming.picked_date, (platform::DateTime{1, 1, 1, 17, 53, 9, 0}));
       }},
      {{"--date", "9999-12-31"},
       [](auto& l) {
         EXPECT_EQ(l.settings.naming.picked_date, (platform::DateTime{9999, 12, 31, 17, 53, 9, 0}));
       }},
      {{"--date", "2000-01-01", "--date", "mtime"},
       [](auto& l) { EXPECT_EQ(l.settings.naming.date_source, app::DateSource::kLastWrite); }},
      {{"--mask", "*.jpg"}, [](auto& l) { EXPECT_EQ(l.settings.masks, Args{"*.jpg"}); }},
      {{"--mask", "*.jpg", "--mask=*.JPEG", "--mask", ""},
       [](auto& l) {
         EXPECT_EQ(l.settings.masks, (Args{"*.jpg", "*.JPEG", ""}));
       }},
      {{"--mask", "写真*"}, [](auto& l) { EXPECT_EQ(l.settings.masks, Args{J("写真*")}); }},
  };
  for (const auto& c : cases) {
    Args args = {"--run"};
    args.insert(args.end(), c.options.begin(), c.options.end());
    args.push_back("/tmp");
    std::string shown;
    for (const auto& a : c.options) shown += "[" + a + "]";
    SCOPED_TRACE(shown);
    const CommandLine line = Parsed(args);
    EXPECT_EQ(line.directory, "/tmp");
    c.check(line);
  }
}

TEST(CommandLine, HelpAndVersionWinOverEverythingElse) {
  EXPECT_EQ(Parsed({"--run", "--help", "/tmp"}).mode, Mode::kHelp);
  EXPECT_EQ(Parsed({"-h"}).mode, Mode::kHelp);
  EXPECT_EQ(Parsed({"--version"}).mode, Mode::kVersion);
  EXPECT_EQ(Parsed({"--serial", "7", "--help"}).mode, Mode::kHelp);
  EXPECT_EQ(Parsed({"--bogus", "--version"}).mode, Mode::kVersion);
  // As an option's value it is only text.
  const CommandLine line = Parsed({"--run", "--prefix", "--help", "/tmp"});
  EXPECT_EQ(line.mode, Mode::kRun);
  EXPECT_EQ(line.settings.naming.leading_text, "--help");
}

TEST(CommandLine, WrongArgumentsAreRefusedWithTheirReason) {
  const struct {
    Args args;
    std::string reason;  // a piece of the message
  } cases[] = {
      {{"--run", "--frobnicate", "/tmp"}, "不明なオプションです: --frobnicate"},
      {{"--run", "-x", "/tmp"}, "不明なオプションです: -x"},
      {{"--run", "/tmp", "--mask"}, "--mask には値が必要です。"},
      {{"--run", "--preview", "/tmp"}, "--run と --preview は一緒に指定できません。"},
      {{"--run"}, "コピー元のディレクトリを指定してください。"},
      {{"--preview", "--mask", "*.txt"}, "コピー元のディレクトリを指定してください。"},
      {{"--run", "/a", "/b"}, "ディレクトリは一つだけ指定してください: \"/a\" \"/b\""},
      {{"/a", "/b"}, "ディレクトリは一つだけ指定してください"},
      {{"--mask", "*.txt", "/tmp"}, "--mask は --run か --preview と一緒に指定してください。"},
      {{"--run", "--serial", "7", "/tmp"}, "--serial の値が不正です: \"7\""},
      {{"--run", "--serial", "000001", "/tmp"}, "--serial の値が不正です"},
      {{"--run", "--serial", "", "/tmp"}, "--serial の値が不正です"},
      {{"--run", "--start", "100000000", "/tmp"}, "--start の値が不正です: \"100000000\""},
      {{"--run", "--start", "-1", "/tmp"}, "--start の値が不正です"},
      {{"--run", "--start", "", "/tmp"}, "--start の値が不正です"},
      {{"--run", "--start", "1a", "/tmp"}, "--start の値が不正です"},
      {{"--run", "--case", "title", "/tmp"}, "--case の値が不正です: \"title\""},
      {{"--run", "--order", "time", "/tmp"}, "--order の値が不正です: \"time\""},
      {{"--run", "--order", "", "/tmp"}, "--order の値が不正です"},
      {{"--run", "/tmp", "--order"}, "--order には値が必要です。"},
      {{"--run", "--subfolders=yes", "/tmp"}, "--subfolders は値を取りません"},
      {{"--run", "--keep-both=", "/tmp"}, "--keep-both は値を取りません"},
      {{"--keep-both", "/tmp"}, "--keep-both は --run か --preview と一緒に指定してください。"},
      {{"--run", "--date", "2023-02-29", "/tmp"}, "--date の値が不正です: \"2023-02-29\""},
      {{"--run", "--date", "2024-04-31", "/tmp"}, "--date の値が不正です"},
      {{"--run", "--date", "2024-13-01", "/tmp"}, "--date の値が不正です"},
      {{"--run", "--date", "2024-00-10", "/tmp"}, "--date の値が不正です"},
      {{"--run", "--date", "0000-01-01", "/tmp"}, "--date の値が不正です"},
      {{"--run", "--date", "2024-1-01", "/tmp"}, "--date の値が不正です"},
      {{"--run", "--date", "20240101", "/tmp"}, "--date の値が不正です"},
      {{"--run", "--prefix", "😀", "/tmp"}, "--prefix の値に Shift-JIS で表せない文字があります"},
      {{"--run", "--mask", "café", "/tmp"}, "--mask の値に Shift-JIS で表せない文字があります"},
      {{"--run", "--format", std::string("\xFF"), "/tmp"}, "--format の値に Shift-JIS"},
  };
  for (const auto& c : cases) {
    std::string shown;
    for (const auto& a : c.args) shown += "[" + a + "]";
    const ParseResult result = ParseCommandLine(c.args);
    EXPECT_FALSE(result.command_line) << shown;
    EXPECT_NE(result.error.find(c.reason), std::string::npos) << shown << ": " << result.error;
  }
}

}  // namespace
}  // namespace app::cli
