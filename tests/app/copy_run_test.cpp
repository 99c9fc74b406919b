#include "app/core/copy_run.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <stop_token>
#include <string>
#include <thread>
#include <vector>

#include "app/core/naming.h"
#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/user_locale.h"
#include "tests/support/files.h"
#include "tests/support/recording_log.h"
#include "tests/support/trash_home.h"

namespace {

namespace fs = std::filesystem;

using test_support::LocalTime;
using test_support::ReadFile;

const bool kTimeZonePinned = (test_support::PinJapanTimeZone(), true);
// What the runs empty goes to a trash of the test's own.
const bool kTrashInTemp = (test_support::TestDataHome(), true);

// Log texts are written here in UTF-8 and compared as CP932.
std::string J(const std::string& utf8) {
  return *platform::Utf8ToCp932(utf8);
}

const std::string kSep = "\r" + std::string(70, '-') + "\r";

void Write(const fs::path& p, const std::string& data, std::time_t mtime = 0) {
  test_support::WriteFile(p, data);
  if (mtime) test_support::SetMTime(p, mtime);
}

using test_support::RecordingLog;

struct RecordingProgress : app::CopyProgress {
  int max = 100;
  std::vector<int> positions;
  void SetMax(int m) override { max = m; }
  void SetPosition(int p) override { positions.push_back(p); }
};

// Everything under a directory: kind, size, contents and time of each entry.
using Snapshot = std::map<std::string, std::string>;
Snapshot Take(const fs::path& root, const std::string& skip_top) {
  Snapshot out;
  if (!fs::exists(root)) return out;
  for (auto it = fs::recursive_directory_iterator(root); it != fs::recursive_directory_iterator();
       ++it) {
    const fs::path rel = fs::relative(it->path(), root);
    if (it.depth() == 0 && rel.string() == skip_top) {
      if (it->is_directory() && !it->is_symlink()) it.disable_recursion_pending();
      continue;
    }
    struct stat st;
    lstat(it->path().c_str(), &st);
    std::string what = std::to_string(st.st_mode) + ":" + std::to_string(st.st_size) + ":" +
                       std::to_string(st.st_mtime);
    if (S_ISREG(st.st_mode)) what += ":" + ReadFile(it->path());
    if (S_ISLNK(st.st_mode)) {
      what += "->" + fs::read_symlink(it->path()).string();
      it.disable_recursion_pending();
    }
    out[rel.string()] = what;
  }
  return out;
}

class CopyRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    src_ = root_ / "src";
    fs::create_directory(src_);
    input_.source_directory = src_.string();
    input_.folder_name = "NewFolder";
    input_.masks = {"*.*"};
    input_.now = [] { return platform::DateTime{2026, 12, 8, 10, 0, 0, 0}; };
  }

  // Runs the copy and checks that the source directory, apart from the
  // target folder, is exactly as it was.
  app::CopyRunResult Run() {
    const Snapshot before = Take(src_, input_.folder_name);
    app::CopyRunResult result = app::ExecuteCopy(input_, log_, progress_);
    EXPECT_EQ(Take(src_, input_.folder_name), before) << "the source directory changed";
    EXPECT_EQ(log_.clears, 1);
    return result;
  }

  std::vector<std::string> Head() const {
    return {J("□■□ 実行中 □■□"), J("  ※同名ファイルが作成される場合は上書きされます。"), kSep};
  }
  std::vector<std::string> Creation() const {
    return {J("新しいフォルダの作成 "), "  " + Target(), kSep};
  }
  std::vector<std::string> Start() const {
    return {J("ファイルコピーの開始"), J("  コピー元ディレクトリ: ") + src_.string(),
            J("  コピー先ディレクトリ: ") + Target(), kSep};
  }
  std::vector<std::string> Emptying(int trashed) const {
    return {J("新しいフォルダと同名のディレクトリが存在します。"),
            J("ディレクトリ内のファイルをゴミ箱に移動します。"),
            J("  ゴミ箱に移動したファイル数 ") + std::to_string(trashed) + J("個")};
  }
  std::string Target() const { return src_.string() + "/" + input_.folder_name; }
  fs::path TargetPath() const { return src_ / input_.folder_name; }

  static std::vector<std::string> Join(std::initializer_list<std::vector<std::string>> parts) {
    std::vector<std::string> out;
    for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
    return out;
  }

  platform::ScopedUserLocale locale_{"ja_JP"};
  test_support::TempDir temp_{"pirukko-run"};
  const fs::path root_ = temp_.path();
  fs::path src_;
  app::RunSettings input_;
  RecordingLog log_;
  RecordingProgress progress_;
};

TEST_F(CopyRunTest, WorkedLog) {
  const std::time_t jan5 = LocalTime(2000, 1, 5, 12, 34, 56);
  Write(src_ / "a.txt", "alpha", jan5);
  Write(src_ / "b.doc", "bravo", jan5);
  app::CopyRunResult r = Run();
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Creation(),
                  Start(),
                  {J("  対象ファイル数 2個"), "COPY_From: a.txt",
                   J("     To  : 2000年01月05日001.txt"), "COPY_From: b.doc",
                   J("     To  : 2000年01月05日002.doc"), J("\r正常に終了しました。")}}));
  EXPECT_EQ(ReadFile(TargetPath() / u8"2000年01月05日001.txt"), "alpha");
  EXPECT_EQ(ReadFile(TargetPath() / u8"2000年01月05日002.doc"), "bravo");
  EXPECT_EQ(fs::last_write_time(TargetPath() / u8"2000年01月05日001.txt"),
            fs::last_write_time(src_ / "a.txt"));
  EXPECT_EQ(progress_.max, 2);
  EXPECT_EQ(progress_.positions, (std::vector<int>{1, 2}));
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(r.listed, 2);
  EXPECT_EQ(r.failed, 0);
}

TEST_F(CopyRunTest, ExistingFolderIsEmptiedAndMadeAgain) {
  Write(src_ / "a.txt", "new", LocalTime(2000, 1, 5, 0, 0, 0));
  fs::create_directory(TargetPath());
  Write(TargetPath() / "old.txt", "old");
  Write(TargetPath() / "noext", "old");
  Run();
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Emptying(2),
                  {J("\rそのディレクトリを削除します。"), kSep},
                  Creation(),
                  Start(),
                  {J("  対象ファイル数 1個"), "COPY_From: a.txt",
                   J("     To  : 2000年01月05日001.txt"), J("\r正常に終了しました。")}}));
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(TargetPath()))
    left.push_back(e.path().filename().string());
  EXPECT_EQ(left, (std::vector<std::string>{"2000年01月05日001.txt"}));
}

// What the trash holds that came from `folder`: each file's name there and
// its content, read through the trash's info files.
std::map<std::string, std::string> TrashedFrom(const fs::path& folder) {
  const fs::path trash = test_support::TestDataHome() / "Trash";
  std::map<std::string, std::string> found;
  if (!fs::is_directory(trash / "info")) return found;
  for (const auto& info : fs::directory_iterator(trash / "info")) {
    const std::string text = ReadFile(info.path());
    const std::size_t at = text.find("\nPath=");
    if (at == std::string::npos || text.find("DeletionDate=") == std::string::npos) continue;
    // The path is URL-escaped.
    std::string path;
    for (std::size_t i = at + 6; i < text.size() && text[i] != '\n'; ++i) {
      if (text[i] == '%' && i + 2 < text.size()) {
        path += static_cast<char>(std::stoi(text.substr(i + 1, 2), nullptr, 16));
        i += 2;
      } else {
        path += text[i];
      }
    }
    if (fs::path(path).parent_path() != folder) continue;
    const fs::path stored = trash / "files" / info.path().stem();
    found[fs::path(path).filename().string()] = ReadFile(stored);
  }
  return found;
}

TEST_F(CopyRunTest, EmptiedFilesCanBeTakenBackFromTheTrash) {
  Write(src_ / "a.txt", "new", LocalTime(2000, 1, 5, 0, 0, 0));
  fs::create_directory(TargetPath());
  Write(TargetPath() / "mine.txt", "my own");
  Write(TargetPath() / ".hidden", "hidden");
  Write(TargetPath() / "\xff\xfe.jpg", "no character set");
  Run();
  EXPECT_EQ(std::vector<std::string>(log_.entries.begin() + 3, log_.entries.begin() + 6),
            Emptying(3));
  EXPECT_EQ(
      TrashedFrom(TargetPath()),
      (std::map<std::string, std::string>{
          {".hidden", "hidden"}, {"mine.txt", "my own"}, {"\xff\xfe.jpg", "no character set"}}));
  EXPECT_EQ(ReadFile(TargetPath() / u8"2000年01月05日001.txt"), "new");
}

TEST_F(CopyRunTest, TrashThatCannotTakeTheFilesStopsTheRunBeforeAnythingGoes) {
  Write(src_ / "a.txt", "new", LocalTime(2000, 1, 5, 0, 0, 0));
  fs::create_directory(TargetPath());
  Write(TargetPath() / "mine.txt", "my own");
  Write(TargetPath() / "yours.txt", "your own");
  // A file where the trash's folder should be: no file can be moved there.
  const fs::path trash = test_support::TestDataHome() / "Trash";
  const fs::path away = test_support::TestDataHome() / "Trash.away";
  if (fs::exists(trash)) fs::rename(trash, away);
  Write(trash, "no folder");
  const app::CopyRunResult r = Run();
  fs::remove(trash);
  if (fs::exists(away)) fs::rename(away, trash);

  ASSERT_EQ(log_.entries.size(), 10u);
  EXPECT_EQ(std::vector<std::string>(log_.entries.begin(), log_.entries.begin() + 7),
            Join({Head(),
                  {J("新しいフォルダと同名のディレクトリが存在します。"),
                   J("ディレクトリ内のファイルをゴミ箱に移動します。"),
                   J("Error : ファイルをゴミ箱に移動できませんでした。"), "  " + Target()}}));
  // The reason the desktop gives, then what went.
  EXPECT_TRUE(log_.entries[7].starts_with("  ")) << log_.entries[7];
  EXPECT_GT(log_.entries[7].size(), 2u);
  EXPECT_EQ(std::vector<std::string>(log_.entries.begin() + 8, log_.entries.end()),
            (std::vector<std::string>{J("  ゴミ箱に移動したファイル数 0個"),
                                      J("        実行を中止しました。")}));
  EXPECT_TRUE(r.stopped);
  EXPECT_EQ(r.copied, 0);
  EXPECT_EQ(ReadFile(TargetPath() / "mine.txt"), "my own");
  EXPECT_EQ(ReadFile(TargetPath() / "yours.txt"), "your own");
  EXPECT_FALSE(fs::exists(TargetPath() / u8"2000年01月05日001.txt"));
}

TEST_F(CopyRunTest, EmptyFolderNameTouchesNothing) {
  Write(src_ / "a.txt", "a");
  input_.folder_name = "";
  app::CopyRunResult r = Run();
  EXPECT_EQ(log_.entries, Join({Head(),
                                {J("Error : 新しいフォルダの設定がされていません。"),
                                 J("        実行を中止しました。")}}));
  EXPECT_TRUE(r.stopped);
  EXPECT_FALSE(r.found_nothing);
  EXPECT_EQ(progress_.max, 100);
}

TEST_F(CopyRunTest, FolderNameThatLeavesTheDirectoryIsRefused) {
  Write(src_ / "a.txt", "a");
  fs::create_directory(src_ / "sub");
  Write(src_ / "sub" / "keep.txt", "k");
  Write(root_ / "outside.txt", "o");
  for (const std::string& name :
       {std::string(".."), std::string("."), std::string("sub/x"), std::string("../x"),
        std::string("/tmp"), std::string("a\0b", 3)}) {
    SCOPED_TRACE(name);
    input_.folder_name = name;
    const Snapshot outside = Take(root_, "src");
    log_ = RecordingLog{};
    Run();
    EXPECT_EQ(
        log_.entries,
        Join({Head(),
              {J("Error : 新しいフォルダ名が不正です。"), J("        実行を中止しました。")}}));
    EXPECT_EQ(Take(root_, "src"), outside);
  }
  EXPECT_EQ(ReadFile(src_ / "sub" / "keep.txt"), "k");
  EXPECT_EQ(ReadFile(src_ / "a.txt"), "a");
}

TEST_F(CopyRunTest, SourceThatIsNoFullPathIsRefused) {
  // An empty directory would put the folder at the top of the tree, a
  // relative one wherever the program happens to run.
  Write(src_ / "a.txt", "a");
  // A name too long for any folder keeps the top of the tree safe should
  // the refusal ever go.
  input_.folder_name = std::string(300, 'n');
  for (const std::string& source : {std::string(), std::string("src"), std::string("./src")}) {
    SCOPED_TRACE(source);
    input_.source_directory = source;
    const Snapshot everything = Take(root_, "");
    log_ = RecordingLog{};
    Run();
    EXPECT_EQ(
        log_.entries,
        Join({Head(),
              {J("Error : コピー元ディレクトリが不正です。"), J("        実行を中止しました。")}}));
    EXPECT_EQ(Take(root_, ""), everything);
    EXPECT_EQ(progress_.max, 100);
  }
}

TEST_F(CopyRunTest, FolderWithSubFolderCannotBeRemoved) {
  Write(src_ / "a.txt", "a");
  fs::create_directory(TargetPath());
  Write(TargetPath() / "plain.txt", "p");
  Write(TargetPath() / ".hidden", "h");
  fs::create_directory(TargetPath() / "inner");
  Run();
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Emptying(2),
                  {J("\rそのディレクトリを削除します。"), kSep,
                   J("Error : フォルダの削除に失敗しました。"), "  " + Target(),
                   J("  フォルダが空ではありません。"), J("        実行を中止しました。")}}));
  // Plain files are already gone, also those whose names begin with ".".
  EXPECT_FALSE(fs::exists(TargetPath() / "plain.txt"));
  EXPECT_FALSE(fs::exists(TargetPath() / ".hidden"));
  EXPECT_TRUE(fs::exists(TargetPath() / "inner"));
}

TEST_F(CopyRunTest, FolderCannotBeCreated) {
  Write(src_ / "NewFolder", "a file where the folder should go");
  Run();
  EXPECT_EQ(log_.entries, Join({Head(),
                                Creation(),
                                {J("Error : フォルダの作成に失敗しました。"), "  " + Target(),
                                 J("  同じ名前のファイルまたはフォルダがすでにあります。"),
                                 J("        実行を中止しました。")}}));
  EXPECT_EQ(ReadFile(src_ / "NewFolder"), "a file where the folder should go");
}

TEST_F(CopyRunTest, NothingMatches) {
  Write(src_ / "a.txt", "a");
  for (auto masks : {std::vector<std::string>{"*.xls"}, std::vector<std::string>{}}) {
    fs::create_directory(TargetPath());
    Write(TargetPath() / "stale.txt", "s");
    input_.masks = masks;
    log_ = RecordingLog{};
    app::CopyRunResult r = Run();
    EXPECT_EQ(log_.entries,
              Join({Head(),
                    Emptying(1),
                    {J("\rそのディレクトリを削除します。"), kSep},
                    Creation(),
                    Start(),
                    {J("  対象ファイル数 0個"), J("対象になるファイルが存在しませんでした。"),
                     J("終了しました。")}}));
    EXPECT_TRUE(fs::is_directory(TargetPath()));
    EXPECT_TRUE(fs::is_empty(TargetPath()));
    EXPECT_EQ(progress_.max, 0);
    EXPECT_TRUE(r.stopped);
    EXPECT_TRUE(r.found_nothing);
  }
}

TEST_F(CopyRunTest, UnreadableTimeTakesTheCurrentDate) {
  Write(src_ / "a.txt", "old", LocalTime(1979, 6, 1, 0, 0, 0));
  Write(src_ / "b.txt", "new", LocalTime(2001, 2, 3, 0, 0, 0));
  Run();
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Creation(),
                  Start(),
                  {J("  対象ファイル数 2個"),
                   J("下記のファイルは時間の取得に失敗し、現在の時間にされました。") + "\r",
                   "COPY_From: a.txt", J("     To  : 2026年12月08日001.txt"), "COPY_From: b.txt",
                   J("     To  : 2001年02月03日002.txt"), J("\r正常に終了しました。")}}));
}

TEST_F(CopyRunTest, PickedDateAndOverlappingMasks) {
  Write(src_ / "a.txt", "a", LocalTime(1979, 6, 1, 0, 0, 0));
  Write(src_ / "b.doc", "b");
  input_.masks = {"*.txt", "a*"};
  input_.naming.date_source = app::DateSource::kPicked;
  input_.naming.date_format = "yyyymmdd-hhnnss_";
  Run();
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Creation(),
                  Start(),
                  {J("  対象ファイル数 2個"), "COPY_From: a.txt",
                   "     To  : 20000809-175309_001.txt", "COPY_From: a.txt",
                   "     To  : 20000809-175309_002.txt", J("\r正常に終了しました。")}}));
  EXPECT_EQ(ReadFile(TargetPath() / "20000809-175309_002.txt"), "a");
}

TEST_F(CopyRunTest, FailedCopiesAreReportedAndCounted) {
  Write(src_ / "a.txt", "a", LocalTime(2000, 1, 5, 0, 0, 0));
  Write(src_ / "b.txt", "b", LocalTime(2000, 1, 5, 0, 0, 0));
  // A leading text too long for any file name on disk.
  input_.naming.leading_text = std::string(300, 'x');
  app::CopyRunResult r = Run();
  const std::string first = std::string(300, 'x') + J("2000年01月05日001.txt");
  const std::string second = std::string(300, 'x') + J("2000年01月05日002.txt");
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Creation(),
                  Start(),
                  {J("  対象ファイル数 2個"), "COPY_From: a.txt", "     To  : " + first,
                   J("Error : コピー先のドライブでは使えないファイル名です。"),
                   "  " + Target() + "/" + first, J("  コピー先のドライブでは名前が長すぎます。"),
                   "COPY_From: b.txt", "     To  : " + second,
                   J("Error : コピー先のドライブでは使えないファイル名です。"),
                   "  " + Target() + "/" + second, J("  コピー先のドライブでは名前が長すぎます。"),
                   J("\r終了しました。コピーに失敗したファイル: 2個")}}));
  EXPECT_EQ(r.failed, 2);
  EXPECT_TRUE(fs::is_empty(TargetPath()));  // nothing half-written stays behind
}

TEST_F(CopyRunTest, ComposedNamesThatAreNoPlainFileNameAreNeverUsed) {
  Write(src_ / "a.txt", "a", LocalTime(2000, 1, 5, 0, 0, 0));
  Write(src_ / "noext", "n", LocalTime(2000, 1, 5, 0, 0, 0));
  struct Case {
    std::string leading, format;
    int serial_style;
    std::string a_name, noext_name;  // as composed
  } cases[] = {
      {"", "yyyy/mm/dd", 3, "2000/01/05001.txt", "2000/01/05002"},
      {"..", "", 0, "...txt", ".."},
      {".", "", 0, "..txt", "."},
      {"", "", 0, ".txt", ""},
      {std::string("x\0y", 3), "", 0, std::string("x\0y.txt", 7), std::string("x\0y", 3)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.noext_name);
    input_.naming.leading_text = c.leading;
    input_.naming.date_format = c.format;
    input_.naming.serial_style_index = c.serial_style;
    input_.naming.serial_style_text = c.serial_style == 0 ? J("なし") : "001";
    log_ = RecordingLog{};
    fs::remove_all(TargetPath());
    const Snapshot outside = Take(root_, "src");
    app::CopyRunResult r = Run();
    auto shown = [](const std::string& n) { return n.substr(n.rfind('/') + 1); };
    std::vector<std::string> a_lines = {"COPY_From: a.txt", "     To  : " + shown(c.a_name)};
    bool a_plain =
        c.a_name.find('/') == std::string::npos && c.a_name.find('\0') == std::string::npos;
    if (!a_plain) {
      a_lines.push_back(J("Error : ファイル名が不正です。"));
      a_lines.push_back("  " + c.a_name);
    }
    const int failed = a_plain ? 1 : 2;
    EXPECT_EQ(log_.entries, Join({Head(),
                                  Creation(),
                                  Start(),
                                  {J("  対象ファイル数 2個")},
                                  a_lines,
                                  {"COPY_From: noext", "     To  : " + shown(c.noext_name),
                                   J("Error : ファイル名が不正です。"), "  " + c.noext_name,
                                   J("\r終了しました。コピーに失敗したファイル: ") +
                                       std::to_string(failed) + J("個")}}));
    EXPECT_EQ(r.failed, failed);
    EXPECT_EQ(Take(root_, "src"), outside);  // nothing written beside the source either
    if (a_plain) {
      EXPECT_EQ(ReadFile(TargetPath() / c.a_name), "a");
    }
    std::size_t in_target = 0;
    for ([[maybe_unused]] const auto& e : fs::directory_iterator(TargetPath())) ++in_target;
    EXPECT_EQ(in_target, a_plain ? 1u : 0u);
  }
}

TEST_F(CopyRunTest, TargetThatIsALinkIsNotFollowed) {
  Write(src_ / "a.txt", "a");
  fs::create_directory(root_ / "elsewhere");
  Write(root_ / "elsewhere" / "precious.txt", "p");
  fs::create_directory_symlink(root_ / "elsewhere", TargetPath());
  Run();
  // The folder is announced for removal as any other; the link itself is
  // what cannot be removed, so the run stops there.
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  Emptying(0),
                  {J("\rそのディレクトリを削除します。"), kSep,
                   J("Error : フォルダの削除に失敗しました。"), "  " + Target(),
                   J("  フォルダではありません。"), J("        実行を中止しました。")}}));
  EXPECT_EQ(ReadFile(root_ / "elsewhere" / "precious.txt"), "p");
  EXPECT_TRUE(fs::is_symlink(TargetPath()));
}

TEST_F(CopyRunTest, WhatARunWroteIsEmptiedByTheNextOneDotNamesIncluded) {
  // An empty date format with no serial number names the copy ".txt"; a run
  // that was killed leaves its temporary copy file behind.
  Write(src_ / "a.txt", "first");
  input_.naming.date_format = "";
  input_.naming.serial_style_index = 0;
  input_.naming.serial_style_text = J("なし");
  Run();
  ASSERT_EQ(ReadFile(TargetPath() / ".txt"), "first");
  Write(TargetPath() / ".pirukko-copy-Ab12Cd", "cut short");

  Write(src_ / "a.txt", "second");
  log_ = RecordingLog{};
  app::CopyRunResult r = Run();
  EXPECT_EQ(log_.entries, Join({Head(),
                                Emptying(2),
                                {J("\rそのディレクトリを削除します。"), kSep},
                                Creation(),
                                Start(),
                                {J("  対象ファイル数 1個"), "COPY_From: a.txt", "     To  : .txt",
                                 J("\r正常に終了しました。")}}));
  EXPECT_FALSE(r.stopped);
  std::vector<std::string> left;
  for (const auto& e : fs::directory_iterator(TargetPath()))
    left.push_back(e.path().filename().string());
  EXPECT_EQ(left, (std::vector<std::string>{".txt"}));
  EXPECT_EQ(ReadFile(TargetPath() / ".txt"), "second");
}

TEST_F(CopyRunTest, MaskWithAFolderPartIsRefusedBeforeAnythingIsTouched) {
  Write(src_ / "a.txt", "a");
  fs::create_directory(src_ / "sub");
  Write(src_ / "sub" / "a.txt", "the other a.txt");
  fs::create_directory(TargetPath());
  Write(TargetPath() / "old.txt", "old");
  for (const std::string& mask :
       {std::string("sub/*.txt"), std::string("../*"), std::string("/")}) {
    SCOPED_TRACE(mask);
    input_.masks = {"*.doc", mask};
    log_ = RecordingLog{};
    const Snapshot everything = Take(root_, "");
    app::CopyRunResult r = Run();
    EXPECT_EQ(log_.entries, Join({Head(),
                                  {J("Error : マスクにフォルダは指定できません。"), "  " + mask,
                                   J("        実行を中止しました。")}}));
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(Take(root_, ""), everything);
  }
}

TEST_F(CopyRunTest, NamesWithoutCp932FormAreCopiedByTheirOwnBytes) {
  const std::time_t jan5 = LocalTime(2000, 1, 5, 0, 0, 0);
  Write(src_ / u8"caf\u00E9.jpg", "cafe", jan5);
  Write(src_ / u8"\u5199\u771F\U0001F600.jpg", "photo", jan5);  // 写真😀.jpg
  Write(src_ / u8"\u304B\u3099.txt", "voiced", jan5);  // が.txt written apart: it converts
  Write(src_ / u8"x\U0001F600", "no extension", jan5);
  Write(src_ / u8"w\u301C.txt", "wave dash", jan5);  // shown like w～.txt ...
  Write(src_ / u8"w\uFF5E.txt", "tilde", jan5);      // ... which is another file
  Write(src_ / u8"bad.\U0001F600", "cannot", jan5);  // its extension has no CP932 form
  // An old target folder holding such names is emptied all the same.
  fs::create_directory(TargetPath());
  Write(TargetPath() / u8"t\U0001F600", "old");
  input_.masks = {"*.*"};
  input_.naming.serial_style_index = 0;
  input_.naming.serial_style_text = J("なし");
  input_.naming.date_format = "";
  input_.naming.leading_text = "n";
  app::CopyRunResult r = Run();

  // Names with one extension collide with serial "なし"; the leading text
  // plus the extension is the whole new name, so look at what each source
  // was logged as and that every copy holds its own file's bytes.
  const auto& e = log_.entries;
  auto count = [&](const std::string& s) { return std::count(e.begin(), e.end(), s); };
  EXPECT_EQ(count("COPY_From: caf?.jpg"), 1);
  EXPECT_EQ(count("COPY_From: " + J("写真") + "?.jpg"), 1);
  EXPECT_EQ(count("COPY_From: " + J("が.txt")), 1);
  EXPECT_EQ(count("COPY_From: x?"), 1);
  EXPECT_EQ(count("COPY_From: w" + J("～") + ".txt"), 2);
  EXPECT_EQ(count("     To  : n.jpg"), 2);
  EXPECT_EQ(count("     To  : n.txt"), 3);
  EXPECT_EQ(count("     To  : n"), 1);
  // Only the name that cannot be composed is an error.
  EXPECT_EQ(count(J("Error : ファイル名を変換できません。")), 1);
  EXPECT_EQ(count("  bad.?"), 1);
  EXPECT_EQ(r.failed, 1);
  EXPECT_EQ(e.back(), J("\r終了しました。コピーに失敗したファイル: 1個"));
  EXPECT_FALSE(fs::exists(TargetPath() / u8"t\U0001F600"));
  EXPECT_EQ(ReadFile(TargetPath() / "n"), "no extension");

  // With serial numbers every copy keeps its own bytes.
  input_.naming.serial_style_index = 3;
  input_.naming.serial_style_text = "001";
  log_ = RecordingLog{};
  r = Run();
  EXPECT_EQ(r.failed, 1);
  std::multiset<std::string> copied;
  for (const auto& f : fs::directory_iterator(TargetPath())) copied.insert(ReadFile(f.path()));
  EXPECT_EQ(copied, (std::multiset<std::string>{"cafe", "photo", "voiced", "no extension",
                                                "wave dash", "tilde"}));
}

TEST_F(CopyRunTest, SourceDirectoryWithoutCp932FormIsShownApproximately) {
  src_ = root_ / u8"\u7D75\u6587\u5B57\U0001F600";  // 絵文字😀
  fs::create_directory(src_);
  input_.source_directory = src_.string();
  Write(src_ / "a.txt", "alpha", LocalTime(2000, 1, 5, 0, 0, 0));
  app::CopyRunResult r = Run();
  const std::string shown = root_.string() + "/" + J("絵文字") + "?";
  EXPECT_EQ(log_.entries,
            Join({Head(),
                  {J("新しいフォルダの作成 "), "  " + shown + "/NewFolder", kSep},
                  {J("ファイルコピーの開始"), J("  コピー元ディレクトリ: ") + shown,
                   J("  コピー先ディレクトリ: ") + shown + "/NewFolder", kSep},
                  {J("  対象ファイル数 1個"), "COPY_From: a.txt",
                   J("     To  : 2000年01月05日001.txt"), J("\r正常に終了しました。")}}));
  EXPECT_EQ(r.failed, 0);
  EXPECT_EQ(ReadFile(src_ / "NewFolder" / u8"2000年01月05日001.txt"), "alpha");
}

}  // namespace

// ------------------------------------------------------------ the preview

// The entries from the file count up to the closing one, without the
// preview's dates: what a run and its preview must both say.
std::vector<std::string> FileEntriesOf(std::vector<std::string> entries) {
  auto first = std::find_if(entries.begin(), entries.end(), [](const std::string& e) {
    return e.starts_with(J("  対象ファイル数"));
  });
  std::vector<std::string> out(first, entries.end() - 1);
  std::erase_if(out, [](const std::string& e) { return e.starts_with("     Date: "); });
  return out;
}

class PreviewTest : public CopyRunTest {
 protected:
  // Previews, checks that nothing on disk changed, and returns the log.
  std::vector<std::string> Preview(app::CopyRunResult* result = nullptr) {
    const Snapshot before = Take(root_, "");
    RecordingLog log;
    const app::CopyRunResult r = app::PreviewCopy(input_, log, progress_);
    EXPECT_EQ(Take(root_, ""), before) << "the preview changed the disk";
    if (result) *result = r;
    return log.entries;
  }
};

TEST_F(PreviewTest, ListsExactlyWhatTheRunThenDoesWithoutTouchingTheDisk) {
  Write(src_ / "a.txt", "alpha", LocalTime(2000, 1, 5, 12, 34, 56));
  Write(src_ / "b.doc", "bravo", LocalTime(1979, 6, 1, 0, 0, 0));
  Write(src_ / "c.txt", "charlie", LocalTime(2107, 12, 31, 23, 59, 58));
  fs::create_directory(TargetPath());
  Write(TargetPath() / "old.txt", "old");
  app::CopyRunResult r;
  const std::vector<std::string> preview = Preview(&r);
  EXPECT_EQ(preview, (std::vector<std::string>{
                         J("□■□ プレビュー □■□"),
                         J("  ※ファイルのコピーやフォルダの作成は行いません。"),
                         kSep,
                         J("  コピー元ディレクトリ: ") + src_.string(),
                         J("  コピー先ディレクトリ: ") + Target(),
                         J("新しいフォルダと同名のディレクトリが存在します。"),
                         J("  ※実行するとディレクトリ内のファイルはゴミ箱に移動されます。"),
                         kSep,
                         J("  対象ファイル数 3個"),
                         "COPY_From: a.txt",
                         J("     To  : 2000年01月05日001.txt"),
                         "     Date: 2000/01/05 12:34:56",
                         J("下記のファイルは時間の取得に失敗し、現在の時間にされました。") + "\r",
                         "COPY_From: b.doc",
                         J("     To  : 2026年12月08日002.doc"),
                         "     Date: 2026/12/08 10:00:00",
                         "COPY_From: c.txt",
                         J("     To  : 2107年12月31日003.txt"),
                         "     Date: 2107/12/31 23:59:58",
                         J("\rプレビューを終了しました。コピーされるファイル: 3個")}));
  EXPECT_FALSE(r.stopped);
  EXPECT_EQ(r.copied, 3);
  EXPECT_EQ(progress_.max, 3);
  EXPECT_EQ(progress_.positions, (std::vector<int>{1, 2, 3}));

  const app::CopyRunResult run = Run();
  EXPECT_EQ(FileEntriesOf(log_.entries), FileEntriesOf(preview));
  EXPECT_EQ(run.copied, 3);
}

TEST_F(PreviewTest, ShowsEveryErrorTheRunWouldWrite) {
  Write(src_ / "a.txt", "a", LocalTime(2000, 1, 5, 0, 0, 0));
  {
    // A date format that puts a folder part into every name.
    input_.naming.date_format = "yyyy/mm";
    app::CopyRunResult r;
    const auto preview = Preview(&r);
    Run();
    EXPECT_EQ(FileEntriesOf(preview), FileEntriesOf(log_.entries));
    EXPECT_EQ(FileEntriesOf(preview),
              (std::vector<std::string>{J("  対象ファイル数 1個"), "COPY_From: a.txt",
                                        "     To  : 01001.txt", J("Error : ファイル名が不正です。"),
                                        "  2000/01001.txt"}));
    EXPECT_EQ(preview.back(), J("\rプレビューを終了しました。コピーされるファイル: 0個"));
    EXPECT_EQ(r.failed, 1);
  }
  {
    // A stop before the copying is the same stop.
    input_.folder_name = "";
    const auto preview = Preview();
    EXPECT_EQ(std::vector<std::string>(preview.begin() + 3, preview.end()),
              (std::vector<std::string>{J("Error : 新しいフォルダの設定がされていません。"),
                                        J("        実行を中止しました。")}));
  }
  {
    input_.folder_name = "NewFolder";
    input_.masks = {};
    const auto preview = Preview();
    EXPECT_EQ(std::vector<std::string>(preview.end() - 3, preview.end()),
              (std::vector<std::string>{
                  J("  対象ファイル数 0個"), J("対象になるファイルが存在しませんでした。"),
                  J("\rプレビューを終了しました。コピーされるファイル: 0個")}));
  }
}

// ------------------------------------------------------------ stopping

// Asks the run to stop when the bar reaches `at` (the file at that position
// is then being copied).
struct StoppingProgress : RecordingProgress {
  std::stop_source* source = nullptr;
  int at = 0;
  void SetPosition(int p) override {
    RecordingProgress::SetPosition(p);
    if (p == at) source->request_stop();
  }
};

TEST_F(CopyRunTest, AStopEndsTheRunWithinTheFileBeingCopiedAndLeavesNothingOfIt) {
  constexpr int kFiles = 4;
  for (int i = 0; i < kFiles; ++i) {
    Write(src_ / ("f" + std::to_string(i) + ".txt"), std::string(1000 + i, 'a' + i),
          LocalTime(2000, 1, 5, 0, 0, 0));
  }
  // 0: asked before the first file; past the last position: the run is complete.
  for (int at : {0, 1, kFiles - 1, kFiles, kFiles + 1}) {
    std::stop_source source;
    if (at == 0) source.request_stop();
    StoppingProgress progress;
    progress.source = &source;
    progress.at = at;
    RecordingLog log;
    const app::CopyRunResult r = app::ExecuteCopy(input_, log, progress, source.get_token());

    std::vector<std::string> left;
    for (const auto& e : fs::directory_iterator(TargetPath()))
      left.push_back(e.path().filename().string());
    std::sort(left.begin(), left.end());
    // The file being copied when the stop came is not there at all.
    const int complete = std::clamp(at - 1, 0, kFiles);
    std::vector<std::string> expected;
    for (int i = 0; i < complete; ++i) {
      const std::string name = std::string("2000年01月05日00") + std::to_string(i + 1) + ".txt";
      expected.push_back(name);
      EXPECT_EQ(ReadFile(TargetPath() / name), std::string(1000 + i, 'a' + i)) << at;
    }
    EXPECT_EQ(left, expected) << "stop at " << at;
    EXPECT_EQ(r.copied, complete);
    if (at > kFiles) {
      EXPECT_FALSE(r.cancelled);
      EXPECT_EQ(log.entries.back(), J("\r正常に終了しました。"));
    } else {
      EXPECT_TRUE(r.cancelled) << at;
      ASSERT_GE(log.entries.size(), 3u);
      // The stop follows the pair of the file it cut short, or the count
      // when none was begun.
      const std::string before =
          at == 0 ? J("  対象ファイル数 4個")
                  : J("     To  : 2000年01月05日00") + std::to_string(at) + ".txt";
      EXPECT_EQ(std::vector<std::string>(log.entries.end() - 3, log.entries.end()),
                (std::vector<std::string>{
                    before, J("        実行を中止しました。"),
                    J("  コピーしたファイル数 ") + std::to_string(complete) + J("個")}))
          << at;
    }
  }
}

// ------------------------------------------------------------ capture dates

TEST_F(CopyRunTest, CaptureDatesFallBackToTheFileDateWithANote) {
  Write(src_ / "a.jpg", "a", LocalTime(2000, 1, 5, 0, 0, 0));
  Write(src_ / "b.jpg", "b", LocalTime(2001, 2, 3, 0, 0, 0));
  Write(src_ / "c.jpg", "c", LocalTime(1979, 6, 1, 0, 0, 0));
  std::vector<std::string> asked;
  input_.naming.date_source = app::DateSource::kCaptureDate;
  input_.capture_date = [&](const std::string& path) -> std::optional<platform::DateTime> {
    asked.push_back(platform::ExtractFileName(path));
    if (path.ends_with("a.jpg")) return platform::DateTime{2019, 4, 30, 23, 59, 58, 0};
    return std::nullopt;
  };
  Run();
  const std::string no_capture =
      J("下記のファイルは撮影日時が無いため、ファイル更新日にされました。") + "\r";
  EXPECT_EQ(
      FileEntriesOf(log_.entries),
      (std::vector<std::string>{
          J("  対象ファイル数 3個"), "COPY_From: a.jpg", J("     To  : 2019年04月30日001.jpg"),
          no_capture, "COPY_From: b.jpg", J("     To  : 2001年02月03日002.jpg"), no_capture,
          J("下記のファイルは時間の取得に失敗し、現在の時間にされました。") + "\r",
          "COPY_From: c.jpg", J("     To  : 2026年12月08日003.jpg")}));
  EXPECT_EQ(asked, (std::vector<std::string>{"a.jpg", "b.jpg", "c.jpg"}));

  // The picked date is the picked date.
  asked.clear();
  log_ = RecordingLog();
  input_.naming.date_source = app::DateSource::kPicked;
  Run();
  EXPECT_TRUE(asked.empty());
  EXPECT_EQ(log_.entries.end()[-2], J("     To  : 2000年08月09日003.jpg"));
}

// Capture dates are read ahead of the file being copied, on a thread of
// their own; a stop still ends the run after the file being copied, with
// the same log, and leaves nothing reading once the run has returned.
TEST_F(CopyRunTest, AStopDuringAnExifRunLeavesNoReaderBehind) {
  constexpr int kFiles = 200;
  for (int i = 0; i < kFiles; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "p%03d.jpg", i);
    Write(src_ / name, std::string(100, 'a'), LocalTime(2000, 1, 5, 0, 0, 0));
  }
  input_.naming.date_source = app::DateSource::kCaptureDate;
  std::atomic<int> reads{0};
  std::atomic<bool> reading{false};
  input_.capture_date = [&](const std::string& path) -> std::optional<platform::DateTime> {
    reading = true;
    ++reads;
    // Even files have a capture date, odd ones fall back with a note.
    const int number = std::stoi(platform::ExtractFileName(path).substr(1, 3));
    std::optional<platform::DateTime> date;
    if (number % 2 == 0) date = platform::DateTime{2019, 4, 30, 10, number / 60, number % 60, 0};
    reading = false;
    return date;
  };
  constexpr int kStopAt = 5;
  std::stop_source source;
  StoppingProgress progress;
  progress.source = &source;
  progress.at = kStopAt;
  const app::CopyRunResult r = app::ExecuteCopy(input_, log_, progress, source.get_token());
  const int reads_at_return = reads.load();
  EXPECT_FALSE(reading);

  EXPECT_TRUE(r.cancelled);
  // The file being copied when the stop came is not kept.
  EXPECT_EQ(r.copied, kStopAt - 1);
  const std::string no_capture =
      J("下記のファイルは撮影日時が無いため、ファイル更新日にされました。") + "\r";
  EXPECT_EQ(
      FileEntriesOf(log_.entries),
      (std::vector<std::string>{
          J("  対象ファイル数 200個"), "COPY_From: p000.jpg", J("     To  : 2019年04月30日001.jpg"),
          no_capture, "COPY_From: p001.jpg", J("     To  : 2000年01月05日002.jpg"),
          "COPY_From: p002.jpg", J("     To  : 2019年04月30日003.jpg"), no_capture,
          "COPY_From: p003.jpg", J("     To  : 2000年01月05日004.jpg"), "COPY_From: p004.jpg",
          J("     To  : 2019年04月30日005.jpg"), J("        実行を中止しました。")}));
  EXPECT_EQ(log_.entries.back(), J("  コピーしたファイル数 4個"));
  std::set<std::string> left;
  for (const auto& e : fs::directory_iterator(TargetPath())) left.insert(e.path().filename());
  EXPECT_EQ(left, (std::set<std::string>{"2019年04月30日001.jpg", "2000年01月05日002.jpg",
                                         "2019年04月30日003.jpg", "2000年01月05日004.jpg"}));
  // Read a little ahead, never the whole folder, and nothing after the run.
  EXPECT_GE(reads_at_return, kStopAt);
  EXPECT_LT(reads_at_return, kFiles);
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(reads.load(), reads_at_return);
}
