// The run and the preview on drives that are not the system's own disk: a
// camera card formatted as exFAT or FAT32, a disk that fills up or is
// read-only, a folder that cannot be read, a drive that fails while it is
// written. Each test makes its drive without kernel modules of its own
// (FUSE, tmpfs), which needs root: ./test.sh runs as root.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/core/copy_run.h"
#include "platform/cp932.h"
#include "platform/user_locale.h"
#include "tests/support/files.h"
#include "tests/support/recording_log.h"
#include "tests/support/mounts.h"

namespace {

namespace fs = std::filesystem;
using test_support::LocalTime;
using test_support::ReadFile;
using Lines = std::vector<std::string>;

const bool kTimeZonePinned = (test_support::PinJapanTimeZone(), true);

std::string J(const std::string& utf8) {
  return *platform::Utf8ToCp932(utf8);
}

struct RecordingLog : test_support::RecordingLog {
  bool Holds(const std::string& utf8) const {
    return std::find(entries.begin(), entries.end(), J(utf8)) != entries.end();
  }
  std::size_t Count(const std::string& utf8) const {
    return static_cast<std::size_t>(std::count(entries.begin(), entries.end(), J(utf8)));
  }
};

const std::time_t kJan5 = LocalTime(2000, 1, 5, 12, 0, 0);

class CopyRunOnDrives : public ::testing::Test {
 protected:
  void SetUp() override {
    input_.now = [] { return platform::DateTime{2026, 12, 8, 10, 0, 0, 0}; };
  }

  static void Write(const fs::path& path, const std::string& data = "x") {
    fs::create_directories(path.parent_path());
    test_support::WriteFile(path, data);
    test_support::SetMTime(path, kJan5);
  }

  app::CopyRunResult Run(const fs::path& source, bool preview = false) {
    input_.source_directory = source.string();
    log_ = RecordingLog{};
    app::NoCopyProgress progress;
    return preview ? app::PreviewCopy(input_, log_, progress)
                   : app::ExecuteCopy(input_, log_, progress);
  }

  // The names in a folder, sorted.
  static Lines Names(const fs::path& folder) {
    Lines names;
    for (const auto& entry : fs::directory_iterator(folder))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  platform::ScopedUserLocale locale_{"ja_JP"};
  test_support::TempDir temp_{"pirukko-drives"};
  const fs::path root_ = temp_.path();
  app::RunSettings input_;
  RecordingLog log_;
};

// One day for every file and no serial number: the names differ only in
// what the sources bring.
void SameDayNoSerial(app::RunSettings& input) {
  input.naming.date_source = app::DateSource::kPicked;
  input.naming.date_format = "yyyymmdd";
  input.naming.serial_style_index = 0;
  input.naming.serial_style_text = J("なし");
}

TEST_F(CopyRunOnDrives, OnACardNamesThatDifferOnlyInCaseAreOneName) {
  test_support::CardImageMount card("exfat", root_ / "card.img", root_ / "card");
  const fs::path dcim = card.path() / "DCIM";
  Write(dcim / "a.JPG", "first");
  Write(dcim / "b.jpg", "second");
  SameDayNoSerial(input_);

  // Without keeping both, the preview marks the name the later file takes over.
  Run(dcim, true);
  const Lines& preview = log_.entries;
  const auto first = std::find(preview.begin(), preview.end(), "     To  : 20000809.JPG");
  ASSERT_NE(first, preview.end());
  EXPECT_EQ(*(first + 2), J("  ※この名前は後のファイルで上書きされます。"));

  input_.keep_both = true;
  Run(dcim, true);
  EXPECT_NE(std::find(log_.entries.begin(), log_.entries.end(), "     To  : 20000809 (2).jpg"),
            log_.entries.end());
  const app::CopyRunResult result = Run(dcim);
  EXPECT_EQ(result.copied, 2);
  EXPECT_EQ(Names(dcim / "NewFolder"), (Lines{"20000809 (2).jpg", "20000809.JPG"}));
  EXPECT_EQ(ReadFile(dcim / "NewFolder" / "20000809.JPG"), "first");
  EXPECT_EQ(ReadFile(dcim / "NewFolder" / "20000809 (2).jpg"), "second");
}

TEST_F(CopyRunOnDrives, NamesTheDriveRefusesAreErrorsBeforeAByteIsCopied) {
  test_support::CardImageMount card("exfat", root_ / "card.img", root_ / "card");
  const fs::path dcim = card.path() / "DCIM";
  Write(dcim / "a.txt", "a");
  struct Case {
    const char* what;
    std::string prefix;
    bool change_extension;
    std::string reason;
  };
  const std::string bad_character =
      "  コピー先のドライブでは名前に使えない文字（\" * / : < > ? \\ |）を含んでいます。";
  const Case cases[] = {
      {"a colon", "a:b_", false, bad_character},
      {"a question mark", "why?", false, bad_character},
      {"a backslash", "a\\b", false, bad_character},
      {"a trailing dot", "x", true,
       "  コピー先のドライブでは名前の最後にピリオドや空白を使えません。"},
      // 255 UTF-16 units are the most a name may have there; "20000809.txt" is 12.
      {"one unit too many", std::string(244, 'n'), false,
       "  コピー先のドライブでは名前が長すぎます。"},
  };
  SameDayNoSerial(input_);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    input_.naming.leading_text = J(c.prefix);
    input_.naming.change_extension = c.change_extension;
    input_.naming.new_extension = "";
    for (const bool preview : {true, false}) {
      const app::CopyRunResult result = Run(dcim, preview);
      EXPECT_TRUE(log_.Holds("Error : コピー先のドライブでは使えないファイル名です。"));
      EXPECT_TRUE(log_.Holds(c.reason));
      EXPECT_EQ(result.failed, 1);
      EXPECT_EQ(result.copied, 0);
    }
    // Nothing was written, not even for a moment under a hidden name.
    EXPECT_TRUE(fs::is_empty(dcim / "NewFolder"));
  }
  // The other end: 255 units are taken.
  input_.naming.leading_text = std::string(243, 'n');
  input_.naming.change_extension = false;
  EXPECT_EQ(Run(dcim).copied, 1);
}

TEST_F(CopyRunOnDrives, OnTheSystemsDiskANameLongerThan255BytesIsRefusedBeforeCopying) {
  const fs::path src = root_ / "src";
  Write(src / "a.txt", "a");
  SameDayNoSerial(input_);
  // "20000809" and ".txt" are 12 bytes.
  input_.naming.leading_text = std::string(244, 'n');
  EXPECT_EQ(Run(src).failed, 1);
  EXPECT_TRUE(log_.Holds("  コピー先のドライブでは名前が長すぎます。"));
  EXPECT_TRUE(fs::is_empty(src / "NewFolder"));
  input_.naming.leading_text = std::string(243, 'n');
  EXPECT_EQ(Run(src).copied, 1);
}

TEST_F(CopyRunOnDrives, AFolderThatCannotBeReadIsNamedAndTheRunIsNotCalledComplete) {
  const fs::path backing = root_ / "backing";
  Write(backing / "DCIM" / "a.txt", "a");
  Write(backing / "DCIM" / "100CANON" / "b.txt", "b");
  Write(backing / "DCIM" / "101CANON" / "c.txt", "c");
  test_support::FaultFsMount card(backing, root_ / "card", {"--eio-list", "100CANON"});
  input_.include_subfolders = true;
  for (const bool preview : {true, false}) {
    const app::CopyRunResult result = Run(card.path() / "DCIM", preview);
    EXPECT_TRUE(log_.Holds("Error : フォルダを読み取れません。"));
    EXPECT_TRUE(log_.Holds("  " + (card.path() / "DCIM" / "100CANON").string()));
    EXPECT_TRUE(log_.Holds("  入出力エラーが発生しました。"));
    EXPECT_EQ(result.unreadable, 1);
    EXPECT_EQ(result.copied, 2);
    EXPECT_FALSE(log_.Holds("\r正常に終了しました。"));
  }
  EXPECT_EQ(log_.entries.back(),
            J("\r終了しました。コピーに失敗したファイル: 0個、読み取れなかったフォルダ: 1個"));

  // The chosen folder itself: the run stops before it touches anything.
  fs::remove_all(backing / "DCIM" / "NewFolder");
  test_support::FaultFsMount bad(backing, root_ / "bad", {"--eio-list", "DCIM"});
  const app::CopyRunResult result = Run(bad.path() / "DCIM");
  EXPECT_TRUE(result.stopped);
  EXPECT_FALSE(result.found_nothing);
  EXPECT_EQ(log_.errors,
            (Lines{J("Error : コピー元ディレクトリを読み取れません。"),
                   "  " + (bad.path() / "DCIM").string(), J("  入出力エラーが発生しました。"),
                   J("        実行を中止しました。")}));
  EXPECT_FALSE(fs::exists(backing / "DCIM" / "NewFolder"));
}

// A tree of folders deeper than a path may be long (4,096 bytes), made a
// step at a time from inside, and taken down the same way, whatever the
// test does in between.
class DeepTree {
 public:
  DeepTree(const fs::path& top, int depth, const std::string& step) : top_(top), step_(step) {
    int at = open(top.c_str(), O_RDONLY | O_DIRECTORY);
    for (int i = 0; i < depth && at >= 0; ++i) {
      mkdirat(at, step.c_str(), 0755);
      const int next = openat(at, step.c_str(), O_RDONLY | O_DIRECTORY);
      close(at);
      at = next;
    }
    if (at >= 0) {
      close(openat(at, "far.txt", O_CREAT | O_WRONLY, 0644));
      close(at);
    }
  }
  ~DeepTree() {
    // Cut in the middle, so that neither half is too long to remove.
    fs::path middle = top_;
    for (int i = 0; i < 10; ++i) middle /= step_;
    std::error_code ignored;
    fs::rename(middle, top_.parent_path() / "cut", ignored);
    fs::remove_all(top_.parent_path() / "cut", ignored);
  }
  DeepTree(const DeepTree&) = delete;
  DeepTree& operator=(const DeepTree&) = delete;

 private:
  fs::path top_;
  std::string step_;
};

TEST_F(CopyRunOnDrives, FoldersBeyondTheLongestPathAreNamedNotLeftOut) {
  const fs::path src = root_ / "src";
  Write(src / "a.txt", "a");
  const DeepTree tree(src, 22, std::string(200, 'd'));
  input_.include_subfolders = true;
  const app::CopyRunResult result = Run(src);
  EXPECT_EQ(result.copied, 1);
  EXPECT_GE(result.unreadable, 1);
  EXPECT_TRUE(log_.Holds("Error : フォルダを読み取れません。"));
  EXPECT_TRUE(log_.Holds("  名前が長すぎます。"));
  EXPECT_FALSE(log_.Holds("\r正常に終了しました。"));
}

TEST_F(CopyRunOnDrives, AFullDiskStopsTheRunWithItsReasonAndHowFarItCame) {
  // 1 MiB: three files of 200 KiB and two copies of them fit, the third copy does not.
  test_support::TmpfsMount disk(root_ / "disk", "1m");
  const fs::path src = disk.path() / "src";
  for (const char* name : {"a.bin", "b.bin", "c.bin"})
    Write(src / name, std::string(200 << 10, 'x'));
  const app::CopyRunResult result = Run(src);
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.copied, 2);
  EXPECT_EQ(log_.Count("Error : コピー先のドライブに書き込めなくなりました。"), 1u);
  EXPECT_EQ(
      log_.errors,
      (Lines{J("Error : コピー先のドライブに書き込めなくなりました。"),
             "  " + (src / "NewFolder").string() + J("/2000年01月05日003.bin"),
             J("  コピー先: ディスクの空き領域が足りません。"), J("  コピーしたファイル数 2個"),
             J("  最後にコピーしたファイル: b.bin"), J("        実行を中止しました。")}));
  // What is there is complete, and nothing else is.
  EXPECT_EQ(Names(src / "NewFolder"), (Lines{"2000年01月05日001.bin", "2000年01月05日002.bin"}));
}

TEST_F(CopyRunOnDrives, AReadOnlyDriveSaysSo) {
  test_support::TmpfsMount disk(root_ / "disk", "1m");
  Write(disk.path() / "a.txt", "a");
  disk.SetReadOnly(true);
  const app::CopyRunResult result = Run(disk.path());
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(log_.errors,
            (Lines{J("Error : フォルダの作成に失敗しました。"),
                   "  " + (disk.path() / "NewFolder").string(), J("  読み取り専用のドライブです。"),
                   J("        実行を中止しました。")}));
}

TEST_F(CopyRunOnDrives, ADriveThatFailsWhileWrittenStopsTheRunWithTheReason) {
  const fs::path backing = root_ / "backing";
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) Write(backing / "src" / name, name);
  // The second new name cannot be written.
  test_support::FaultFsMount drive(backing, root_ / "mnt", {"--eio-write", "002.txt"});
  const app::CopyRunResult result = Run(drive.path() / "src");
  EXPECT_TRUE(result.stopped);
  EXPECT_EQ(result.copied, 1);
  EXPECT_TRUE(log_.Holds("  コピー先: 入出力エラーが発生しました。"));
  EXPECT_TRUE(log_.Holds("  最後にコピーしたファイル: a.txt"));
}

TEST_F(CopyRunOnDrives, ACardThatKeepsNoModesStillTakesTheCopiesWithOneWarning) {
  test_support::CardImageMount card("fat32", root_ / "card.img", root_ / "card");
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) Write(card.path() / name, name);
  // fusefat writes long names in ASCII only.
  input_.naming.date_format = "yyyymmdd";
  const app::CopyRunResult result = Run(card.path());
  EXPECT_EQ(result.copied, 3);
  EXPECT_EQ(result.failed, 0);
  EXPECT_EQ(
      log_.Count(
          "  "
          "※コピー先のドライブでは、元のファイルのアクセス権や更新日時を保てないものがあります。"),
      1u);
  EXPECT_EQ(log_.entries.back(), J("\r正常に終了しました。"));
  EXPECT_EQ(ReadFile(card.path() / "NewFolder" / "20000105001.txt"), "a.txt");
}

TEST_F(CopyRunOnDrives, TheCopiesReachTheDiskBeforeTheClosingLine) {
  const fs::path backing = root_ / "backing";
  Write(backing / "src" / "a.txt", "a");
  // The drive fails only when asked to write its folders to the disk.
  test_support::FaultFsMount drive(backing, root_ / "mnt", {"--eio-sync", "NewFolder"});
  const app::CopyRunResult result = Run(drive.path() / "src");
  EXPECT_TRUE(result.stopped);
  EXPECT_TRUE(log_.Holds("Error : コピーしたファイルをディスクに書き込めませんでした。"));
  EXPECT_FALSE(log_.Holds("\r正常に終了しました。"));
}

}  // namespace
