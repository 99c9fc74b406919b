// The options menu's items in the one engine the window, the command line
// and the preview share: sub-folders, numbering in date order, keeping both
// files of one name, and the preview's mark of names a later file
// overwrites. With every item off the run is the plain run (its own tests).
#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <string>
#include <vector>

#include "app/core/copy_run.h"
#include "app/core/naming.h"
#include "platform/cp932.h"
#include "platform/user_locale.h"
#include "tests/support/files.h"
#include "tests/support/recording_log.h"

namespace {

namespace fs = std::filesystem;
using test_support::LocalTime;
using test_support::ReadFile;
using Lines = std::vector<std::string>;

const bool kTimeZonePinned = (test_support::PinJapanTimeZone(), true);

std::string J(const std::string& utf8) {
  return *platform::Utf8ToCp932(utf8);
}

using test_support::RecordingLog;

const std::time_t kJan5 = LocalTime(2000, 1, 5, 12, 0, 0);

class CopyRunOptionsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    input_.source_directory = src_.string();
    input_.folder_name = "NewFolder";
    input_.masks = {"*.*"};
    input_.now = [] { return platform::DateTime{2026, 12, 8, 10, 0, 0, 0}; };
  }

  void Write(const fs::path& relative, const std::string& data = "x", std::time_t mtime = kJan5) {
    fs::create_directories((src_ / relative).parent_path());
    test_support::WriteFile(src_ / relative, data);
    test_support::SetMTime(src_ / relative, mtime);
  }

  Lines Log(bool preview, app::CopyRunResult* result = nullptr) {
    RecordingLog log;
    app::NoCopyProgress progress;
    const app::CopyRunResult r =
        preview ? app::PreviewCopy(input_, log, progress) : app::ExecuteCopy(input_, log, progress);
    if (result) *result = r;
    return log.entries;
  }

  // The lines that name files: "COPY_From: ..." and "     To  : ...".
  static Lines Pairs(const Lines& entries) {
    Lines out;
    for (const std::string& e : entries)
      if (e.starts_with("COPY_From: ") || e.starts_with("     To  : ")) out.push_back(e);
    return out;
  }

  // The new folder's names, sorted.
  Lines Made() const {
    Lines names;
    for (const auto& entry : fs::directory_iterator(src_ / input_.folder_name))
      names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
  }

  platform::ScopedUserLocale locale_{"ja_JP"};
  test_support::TempDir temp_{"pirukko-options"};
  const fs::path src_ = temp_.path();
  app::RunSettings input_;
};

// ------------------------------------------------------------ sub-folders

// The chosen folder's own files first, then each visible sub-folder depth
// first in the list's collation; never the new folder (at any depth), a
// hidden folder or a link to a folder.
class SubFolderTree : public CopyRunOptionsTest {
 protected:
  void SetUp() override {
    CopyRunOptionsTest::SetUp();
    Write("b.txt", "b");
    Write("A.txt", "a");
    Write("sub2/x.txt", "x");
    Write("Sub1/y.txt", "y");
    Write("Sub1/deep/z.txt", "z");
    Write("Sub1/NewFolder/n.txt", "never read");
    Write(".hidden/h.txt", "never read");
    fs::create_directory(src_ / "empty");
    fs::create_directory_symlink(src_ / "Sub1", src_ / "link");
  }
};

TEST_F(SubFolderTree, FilesOfEveryFolderBelowAreNumberedAcrossFolders) {
  input_.include_subfolders = true;
  input_.naming.date_format = "";
  input_.naming.leading_text = "p";
  for (const bool preview : {true, false}) {
    app::CopyRunResult r;
    const Lines log = Log(preview, &r);
    EXPECT_EQ(Pairs(log),
              (Lines{"COPY_From: A.txt", "     To  : p001.txt",  //
                     "COPY_From: b.txt", "     To  : p002.txt",  //
                     "COPY_From: Sub1/y.txt", "     To  : p003.txt", "COPY_From: Sub1/deep/z.txt",
                     "     To  : p004.txt", "COPY_From: sub2/x.txt", "     To  : p005.txt"}))
        << (preview ? "preview" : "run");
    EXPECT_EQ(r.listed, 5);
    EXPECT_EQ(r.copied, 5);
  }
  EXPECT_EQ(Made(), (Lines{"p001.txt", "p002.txt", "p003.txt", "p004.txt", "p005.txt"}));
  EXPECT_EQ(ReadFile(src_ / "NewFolder" / "p004.txt"), "z");
  // A later run would read the folder this one made: it is refused.
  Log(false);
  EXPECT_EQ(Made().size(), 5u);
}

TEST_F(SubFolderTree, ANewFolderThatIsOneOfTheFoldersReadIsRefusedBeforeAnythingIsTouched) {
  // A camera's card: --folder 100CANON --subfolders on DCIM.
  Write("100CANON/IMG_0001.JPG", "original 1");
  Write("100CANON/IMG_0002.JPG", "original 2");
  input_.include_subfolders = true;
  input_.folder_name = "100CANON";
  for (const bool preview : {true, false}) {
    app::CopyRunResult r;
    const Lines log = Log(preview, &r);
    EXPECT_TRUE(r.stopped);
    EXPECT_EQ(r.copied, 0);
    EXPECT_EQ(
        Lines(log.end() - 4, log.end()),
        (Lines{J("Error : 新しいフォルダはコピー元のフォルダの一つです。"),
               "  " + (src_ / "100CANON").string(),
               J("  サブフォルダも対象にするときは、すでにあるサブフォルダを新しいフォルダにで"
                 "きません。"),
               J("        実行を中止しました。")}));
  }
  EXPECT_EQ(ReadFile(src_ / "100CANON" / "IMG_0001.JPG"), "original 1");
  EXPECT_EQ(ReadFile(src_ / "100CANON" / "IMG_0002.JPG"), "original 2");
  // Without sub-folders the folder is no source: the run empties it as before.
  input_.include_subfolders = false;
  app::CopyRunResult r;
  Log(false, &r);
  EXPECT_FALSE(r.stopped);
}

TEST_F(SubFolderTree, OffTakesTheChosenFolderAlone) {
  EXPECT_EQ(Pairs(Log(true)), (Lines{"COPY_From: A.txt", J("     To  : 2000年01月05日001.txt"),
                                     "COPY_From: b.txt", J("     To  : 2000年01月05日002.txt")}));
}

// The folders below are listed side by side on several threads; the files
// come out in the tree's one order whichever folder's listing ends first,
// folders without files of their own (every third) included.
TEST_F(CopyRunOptionsTest, FoldersListedSideBySideKeepTheTreesOrder) {
  Lines expected;
  for (int f = 0; f < 40; ++f) {
    const std::string top =
        std::string("d") + static_cast<char>('0' + f / 10) + static_cast<char>('0' + f % 10);
    for (int i = 0; f % 3 != 0 && i <= f % 5; ++i) {
      const std::string name = top + "/f" + std::to_string(i) + ".txt";
      Write(name);
      expected.push_back("COPY_From: " + name);
    }
    Write(top + "/s/g.txt");
    expected.push_back("COPY_From: " + top + "/s/g.txt");
  }
  input_.include_subfolders = true;
  for (const bool preview : {true, false}) {
    Lines from;
    for (const std::string& line : Pairs(Log(preview)))
      if (line.rfind("COPY_From: ", 0) == 0) from.push_back(line);
    EXPECT_EQ(from, expected) << (preview ? "preview" : "run");
  }
}

TEST_F(CopyRunOptionsTest, AFolderWithNothingButSubFolders) {
  Write("one/a.txt");
  Write("two/b.txt");
  app::CopyRunResult r;
  Log(true, &r);
  EXPECT_TRUE(r.found_nothing);
  input_.include_subfolders = true;
  input_.masks = {"*.txt"};
  const Lines log = Log(false, &r);
  EXPECT_EQ(r.copied, 2);
  EXPECT_EQ(Pairs(log)[0], "COPY_From: one/a.txt");
  EXPECT_EQ(Pairs(log)[2], "COPY_From: two/b.txt");
  // Masks match each folder's names, never the folders themselves. (The
  // run's new folder goes first: with sub-folders it would be read too.)
  fs::remove_all(src_ / "NewFolder");
  input_.masks = {"one"};
  Log(true, &r);
  EXPECT_TRUE(r.found_nothing);
}

// ------------------------------------------------------------ date order

TEST_F(CopyRunOptionsTest, DateOrderNumbersByTheDateTheNameTakesTiesInListOrder) {
  input_.naming.date_format = "hhnnss";
  Write("a.txt", "a", LocalTime(2000, 1, 5, 12, 0, 2));
  Write("b.txt", "b", LocalTime(2000, 1, 5, 12, 0, 0));
  Write("c.txt", "c", LocalTime(2000, 1, 5, 12, 0, 0));  // b's twin: after b
  Write("d.txt", "d", LocalTime(2000, 1, 5, 11, 59, 58));
  input_.order = app::FileOrder::kDate;
  const Lines expected = {"COPY_From: d.txt", "     To  : 115958001.txt",
                          "COPY_From: b.txt", "     To  : 120000002.txt",
                          "COPY_From: c.txt", "     To  : 120000003.txt",
                          "COPY_From: a.txt", "     To  : 120002004.txt"};
  EXPECT_EQ(Pairs(Log(true)), expected);
  EXPECT_EQ(Pairs(Log(false)), expected);
  EXPECT_EQ(ReadFile(src_ / "NewFolder" / "115958001.txt"), "d");

  // One picked date for all: every file ties, the list's order stays.
  input_.naming.date_source = app::DateSource::kPicked;
  const Lines picked = Pairs(Log(true));
  EXPECT_EQ(picked[0], "COPY_From: a.txt");
  EXPECT_EQ(picked[6], "COPY_From: d.txt");
}

TEST_F(CopyRunOptionsTest, DateOrderKeepsEachFallbackNoteBeforeItsFile) {
  Write("a.txt", "a", LocalTime(2001, 1, 1, 0, 0, 0));
  Write("b.txt", "b", LocalTime(2000, 1, 1, 0, 0, 0));
  input_.naming.date_source = app::DateSource::kCaptureDate;
  input_.capture_date = [](const std::string& path) -> std::optional<platform::DateTime> {
    if (path.ends_with("a.txt")) return platform::DateTime{1999, 1, 1, 0, 0, 0, 0};
    return std::nullopt;
  };
  input_.order = app::FileOrder::kDate;
  const Lines log = Log(false);
  const auto at = std::find(log.begin(), log.end(), "COPY_From: a.txt");
  ASSERT_NE(at, log.end());
  // a's capture date comes before b's file date; b's note stays with b.
  EXPECT_EQ(*(at + 2),
            J("下記のファイルは撮影日時が無いため、ファイル更新日にされました。") + "\r");
  EXPECT_EQ(*(at + 3), "COPY_From: b.txt");
}

// ------------------------------------------------------------ one name twice

class OneNameForAll : public CopyRunOptionsTest {
 protected:
  void SetUp() override {
    CopyRunOptionsTest::SetUp();
    input_.naming.date_source = app::DateSource::kPicked;
    input_.naming.serial_style_index = 0;
    input_.naming.serial_style_text = J("なし");
    input_.naming.date_format = "yyyymmdd";
    Write("a.txt", "a");
    Write("b.txt", "b");
    Write("c.txt", "c");
    Write("d", "d");  // no extension: the number ends the name
    Write("e", "e");
  }
};

TEST_F(OneNameForAll, KeepBothGivesANumberBeforeTheExtension) {
  input_.keep_both = true;
  const Lines expected = {"COPY_From: a.txt", "     To  : 20000809.txt",
                          "COPY_From: b.txt", "     To  : 20000809 (2).txt",
                          "COPY_From: c.txt", "     To  : 20000809 (3).txt",
                          "COPY_From: d",     "     To  : 20000809",
                          "COPY_From: e",     "     To  : 20000809 (2)"};
  const Lines preview = Log(true);
  EXPECT_EQ(Pairs(preview), expected);
  EXPECT_EQ(
      std::count(preview.begin(), preview.end(), J("  ※この名前は後のファイルで上書きされます。")),
      0);
  app::CopyRunResult r;
  EXPECT_EQ(Pairs(Log(false, &r)), expected);
  EXPECT_EQ(r.copied, 5);
  EXPECT_EQ(Made(), (Lines{"20000809", "20000809 (2)", "20000809 (2).txt", "20000809 (3).txt",
                           "20000809.txt"}));
  EXPECT_EQ(ReadFile(src_ / "NewFolder" / "20000809 (3).txt"), "c");
}

TEST_F(OneNameForAll, WithoutKeepBothThePreviewMarksEveryNameALaterFileOverwrites) {
  const std::string mark = J("  ※この名前は後のファイルで上書きされます。");
  const Lines preview = Log(true);
  const Lines expected = {"COPY_From: a.txt",
                          "     To  : 20000809.txt",
                          "     Date: 2000/08/09 17:53:09",
                          mark,
                          "COPY_From: b.txt",
                          "     To  : 20000809.txt",
                          "     Date: 2000/08/09 17:53:09",
                          mark,
                          "COPY_From: c.txt",
                          "     To  : 20000809.txt",
                          "     Date: 2000/08/09 17:53:09",
                          "COPY_From: d",
                          "     To  : 20000809",
                          "     Date: 2000/08/09 17:53:09",
                          mark,
                          "COPY_From: e",
                          "     To  : 20000809",
                          "     Date: 2000/08/09 17:53:09"};
  const auto first = std::find(preview.begin(), preview.end(), "COPY_From: a.txt");
  ASSERT_NE(first, preview.end());
  EXPECT_EQ(Lines(first, preview.end() - 1), expected);
  // The run overwrites as it always has, and says nothing more.
  app::CopyRunResult r;
  const Lines run = Log(false, &r);
  EXPECT_EQ(std::count(run.begin(), run.end(), mark), 0);
  EXPECT_EQ(r.copied, 5);
  EXPECT_EQ(Made(), (Lines{"20000809", "20000809.txt"}));
  EXPECT_EQ(ReadFile(src_ / "NewFolder" / "20000809.txt"), "c");
}

TEST_F(CopyRunOptionsTest, DistinctNamesAreNeverMarked) {
  Write("a.txt");
  Write("b.txt");
  const Lines preview = Log(true);
  EXPECT_EQ(
      std::count(preview.begin(), preview.end(), J("  ※この名前は後のファイルで上書きされます。")),
      0);
}

// ------------------------------------------------------------ clock shift

// A camera clock nine hours behind: every date a name, the date order and
// the preview's Date line take moves by the shift, across a day, a month
// and a year, and the heading says the shift is in force.
TEST_F(CopyRunOptionsTest, AClockShiftMovesEveryDateAndTheHeadingSaysSo) {
  Write("a.txt", "a", LocalTime(2024, 12, 31, 20, 0, 0));
  Write("b.txt", "b", LocalTime(2025, 1, 1, 8, 0, 0));
  input_.clock_shift = 9 * 3600;
  input_.order = app::FileOrder::kDate;
  input_.naming.date_format = "yyyymmdd_hhnn";
  input_.naming.serial_style_index = 0;
  input_.naming.serial_style_text = J("なし");
  const Lines preview = Log(true);
  ASSERT_GE(preview.size(), 3u);
  EXPECT_EQ(preview[2], J("撮影時刻の補正: +09:00:00"));
  const auto first = std::find(preview.begin(), preview.end(), "COPY_From: a.txt");
  ASSERT_NE(first, preview.end());
  EXPECT_EQ(Lines(first, first + 6),
            (Lines{"COPY_From: a.txt", "     To  : 20250101_0500.txt",
                   "     Date: 2025/01/01 05:00:00", "COPY_From: b.txt",
                   "     To  : 20250101_1700.txt", "     Date: 2025/01/01 17:00:00"}));
  const Lines run = Log(false);
  EXPECT_EQ(run[2], J("撮影時刻の補正: +09:00:00"));
  EXPECT_EQ(Made(), (Lines{"20250101_0500.txt", "20250101_1700.txt"}));

  // Backwards past the other: the order follows the shifted dates alike.
  input_.clock_shift = -(12 * 3600 + 1);
  EXPECT_EQ(Pairs(Log(true)),
            (Lines{"COPY_From: a.txt", "     To  : 20241231_0759.txt", "COPY_From: b.txt",
                   "     To  : 20241231_1959.txt"}));
  // No shift, no line: the heading is the plain one.
  input_.clock_shift = 0;
  const Lines plain = Log(true);
  EXPECT_EQ(std::count_if(plain.begin(), plain.end(),
                          [](const std::string& e) { return e.starts_with(J("撮影時刻")); }),
            0);
}

}  // namespace

namespace {

// The preview hands each file it would copy to the thumbnail window, with
// its path, its new name and its mark; the run hands over nothing.
TEST_F(OneNameForAll, ThePreviewHandsOverEachFileWithItsNameAndMark) {
  std::vector<app::PreviewedFile> handed;
  input_.on_previewed_file = [&](const app::PreviewedFile& file) { handed.push_back(file); };
  Log(true);
  const std::string mark = J("※この名前は後のファイルで上書きされます。");
  const struct {
    const char* name;
    const char* new_name;
    bool marked;
  } expected[] = {{"a.txt", "20000809.txt", true},
                  {"b.txt", "20000809.txt", true},
                  {"c.txt", "20000809.txt", false},
                  {"d", "20000809", true},
                  {"e", "20000809", false}};
  ASSERT_EQ(handed.size(), std::size(expected));
  for (std::size_t i = 0; i < handed.size(); ++i) {
    EXPECT_EQ(handed[i].path, (src_ / expected[i].name).string());
    EXPECT_EQ(handed[i].new_name, expected[i].new_name);
    EXPECT_EQ(handed[i].mark, expected[i].marked ? mark : "");
  }
  handed.clear();
  Log(false);
  EXPECT_TRUE(handed.empty());
  // With keep_both nothing is marked, and the names are the run's.
  input_.keep_both = true;
  Log(true);
  ASSERT_EQ(handed.size(), 5u);
  EXPECT_EQ(handed[1].new_name, "20000809 (2).txt");
  EXPECT_EQ(handed[1].mark, "");
}

}  // namespace
