#include "filelist/file_list.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_system.h"
#include "platform/qt/qt_timer.h"
#include "platform/user_locale.h"
#include "tests/support/files.h"

namespace {

namespace fs = std::filesystem;
using filelist::TFileList;
using filelist::TFileType;
using namespace filelist;

std::vector<std::string> Names(const TFileList& list) {
  std::vector<std::string> out;
  for (int i = 0; i < list.Files().Count(); ++i) out.push_back(list.Files()[i]);
  return out;
}

void SetMasks(TFileList& list, std::vector<std::string> masks) {
  platform::TStringList lines;
  for (const auto& m : masks) lines.Add(m);
  list.SetMask(lines);
}

class FileListTest : public ::testing::Test {
 protected:
  platform::ScopedUserLocale locale_{"ja_JP"};
  test_support::TempDir temp_{"pirukko-list"};
  const fs::path dir_ = temp_.path();
};

TEST_F(FileListTest, StartsEmptyWithPlainFiles) {
  TFileList list;
  EXPECT_EQ(list.Directory(), "");
  EXPECT_EQ(list.FileType(), TFileType{ftNormal});
  EXPECT_EQ(list.FileType().AttributeMask(), 64);
  EXPECT_EQ(list.Mask().Count(), 0);
  EXPECT_EQ(list.Files().Count(), 0);
  EXPECT_EQ(list.DirBox(), nullptr);
  EXPECT_EQ(list.Timer(), nullptr);
}

TEST_F(FileListTest, MasksAreAUnionWithDuplicatesThenOneSort) {
  test_support::WriteFile(dir_ / "b.doc", "bb");
  test_support::WriteFile(dir_ / "a.txt", "a");
  TFileList list;
  list.SetDirectory(dir_.string());
  SetMasks(list, {"*.txt", "*.*"});
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "a.txt", "b.doc"}));
  for (int i = 0; i < 3; ++i) {
    ASSERT_NE(list.Info(i), nullptr);
    EXPECT_EQ(list.Info(i)->Attr, platform::faArchive);
    EXPECT_EQ(list.Info(i)->Time, *platform::FileAge(dir_.string() + "/" + list.Files()[i]));
  }
  EXPECT_EQ(list.Info(2)->Size, 2);
  EXPECT_NE(list.Info(0), list.Info(1));  // one record per listed item

  SetMasks(list, {"*.xls", "", "missing/*.*", "?.doc"});  // only the last one finds anything
  EXPECT_EQ(Names(list), (std::vector<std::string>{"b.doc"}));
  SetMasks(list, {});
  EXPECT_TRUE(Names(list).empty());
}

TEST_F(FileListTest, SortIgnoresCase) {
  for (const char* n : {"b.txt", "A.txt", "c.TXT", "a.doc", "B.TXT_", "_z", "10", "9"})
    test_support::WriteFile(dir_ / n, "x");
  TFileList list;
  SetMasks(list, {"*"});
  list.SetDirectory(dir_.string());
  EXPECT_EQ(Names(list), (std::vector<std::string>{"_z", "10", "9", "a.doc", "A.txt", "b.txt",
                                                   "B.TXT_", "c.TXT"}));
}

TEST_F(FileListTest, AttributeKinds) {
  test_support::WriteFile(dir_ / "plain.txt", "p");
  test_support::WriteFile(dir_ / ".hidden", "h");
  test_support::WriteFile(dir_ / "ro.txt", "r");
  chmod((dir_ / "ro.txt").c_str(), 0444);
  fs::create_directory(dir_ / "sub");
  ASSERT_EQ(mkfifo((dir_ / "pipe").c_str(), 0644), 0);
  struct Case {
    TFileType type;
    std::vector<std::string> names;
  } cases[] = {
      {{}, {}},
      {{ftNormal}, {"plain.txt", "ro.txt"}},
      {{ftDirectory}, {"[sub]"}},
      {{ftHidden}, {".hidden"}},
      {{ftReadOnly}, {"ro.txt"}},
      {{ftSystem}, {"pipe"}},
      {{ftArchive}, {"plain.txt", "ro.txt"}},
      {{ftNormal, ftHidden}, {".hidden", "plain.txt", "ro.txt"}},
      {{ftNormal, ftDirectory, ftSystem}, {"[sub]", "pipe", "plain.txt", "ro.txt"}},
      {{ftArchive, ftHidden, ftDirectory}, {".hidden", "[sub]", "plain.txt", "ro.txt"}},
  };
  TFileList list;
  list.Mask().Add("*.*");
  list.SetDirectory(dir_.string());
  for (const auto& c : cases) {
    list.SetFileType(c.type);
    EXPECT_EQ(Names(list), c.names) << c.type.AttributeMask();
  }
}

TEST_F(FileListTest, RebuildsOnlyWhenTold) {
  test_support::WriteFile(dir_ / "a.txt", "a");
  TFileList list;
  int dir_changes = 0;
  list.OnDirChange = [&](platform::TObject* sender) {
    EXPECT_EQ(sender, &list);
    ++dir_changes;
  };
  list.Mask().Add("*.*");  // editing the masks in place does not list anything yet
  EXPECT_EQ(list.Files().Count(), 0);
  list.SetDirectory(dir_.string());
  EXPECT_EQ(dir_changes, 1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt"}));

  test_support::WriteFile(dir_ / "b.txt", "b");
  list.SetDirectory(dir_.string());  // same text: nothing happens
  list.SetFileType({ftNormal});      // same set: nothing happens
  list.SetMask(list.Mask());         // its own list: nothing happens
  EXPECT_EQ(dir_changes, 1);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt"}));
  list.Rebuild();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "b.txt"}));

  list.SetDirectory(dir_.string() + "/");  // other text for the same place still counts
  EXPECT_EQ(dir_changes, 2);
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "b.txt"}));
  list.SetDirectory((dir_ / "missing").string());
  EXPECT_EQ(dir_changes, 3);
  EXPECT_TRUE(Names(list).empty());
}

TEST_F(FileListTest, RootDirectory) {
  TFileList list;
  list.SetFileType({ftDirectory});
  list.Mask().Add("tmp");
  list.Mask().Add("TMP");
  list.SetDirectory("/");
  EXPECT_EQ(Names(list), (std::vector<std::string>{"[tmp]", "[tmp]"}));
}

TEST_F(FileListTest, ClearObjectsKeepsNames) {
  test_support::WriteFile(dir_ / "a.txt", "a");
  test_support::WriteFile(dir_ / "b.txt", "b");
  TFileList list;
  SetMasks(list, {"*.*"});
  list.SetDirectory(dir_.string());
  list.ClearObjects();
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt", "b.txt"}));
  EXPECT_EQ(list.Info(0), nullptr);
  EXPECT_EQ(list.Info(1), nullptr);
}

TEST_F(FileListTest, NamesAreListedInCp932AndKeepTheirNamesOnDisk) {
  test_support::WriteFile(dir_ / "ok.txt", "o");
  test_support::WriteFile(dir_ / u8"e\U0001F600.txt", "e");
  TFileList list;
  SetMasks(list, {"*.txt"});
  list.SetDirectory(dir_.string());
  ASSERT_EQ(Names(list), (std::vector<std::string>{"e?.txt", "ok.txt"}));
  EXPECT_FALSE(list.Info(0)->NameHasCp932Form);
  EXPECT_EQ(list.Info(0)->NativeName, reinterpret_cast<const char*>(u8"e\U0001F600.txt"));
  EXPECT_TRUE(list.Info(1)->NameHasCp932Form);
  EXPECT_EQ(list.Info(1)->NativeName, "ok.txt");
}

TEST_F(FileListTest, MasksMatchNamesInTheDirectoryOnly) {
  test_support::WriteFile(dir_ / "a.txt", "a");
  test_support::WriteFile(dir_ / "README", "r");
  fs::create_directory(dir_ / "sub");
  test_support::WriteFile(dir_ / "sub" / "b.txt", "b");
  TFileList list;
  list.SetDirectory(dir_.string());
  SetMasks(list, {"sub/*.txt", "../*", "*."});
  EXPECT_EQ(Names(list), (std::vector<std::string>{"README"}));
}

// Runs the event loop until `done` or `limit_ms` have passed.
template <typename Pred>
bool RunEventsUntil(Pred done, int limit_ms = 2000) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < limit_ms) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    std::this_thread::sleep_for(std::chrono::milliseconds(5));
  }
  return done();
}

TEST_F(FileListTest, FollowsItsDirectoryBox) {
  static int argc = 1;
  static char name[] = "file_list_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication app(argc, argv);
  platform::InstallQtTimers();

  test_support::WriteFile(dir_ / "a.txt", "a");
  auto box = std::make_unique<TDirectoryBox>();
  TFileList list;
  list.Mask().Add("*.*");
  int dir_changes = 0;
  list.OnDirChange = [&](platform::TObject*) { ++dir_changes; };
  list.BeginLoading();
  list.SetDirBox(box.get());
  EXPECT_EQ(list.Timer(), nullptr);  // only Loaded starts following
  list.Loaded();
  ASSERT_NE(list.Timer(), nullptr);
  EXPECT_EQ(list.Timer()->Interval(), 200);
  EXPECT_TRUE(list.Timer()->Enabled());

  box->SetDirectory(dir_.string());
  ASSERT_TRUE(RunEventsUntil([&] { return list.Directory() == dir_.string(); }));
  EXPECT_EQ(Names(list), (std::vector<std::string>{"a.txt"}));
  EXPECT_EQ(dir_changes, 1);

  // The box goes away: the link is cleared and later ticks follow nothing.
  box.reset();
  EXPECT_EQ(list.DirBox(), nullptr);
  RunEventsUntil([] { return false; }, 500);  // two ticks and more
  EXPECT_EQ(list.Directory(), dir_.string());
  EXPECT_EQ(dir_changes, 1);
}

TEST_F(FileListTest, LinkClearedWhenTheBoxDiesFirstOrLast) {
  auto owner = std::make_unique<platform::TComponent>();
  auto box = std::make_unique<TDirectoryBox>(owner.get());
  {
    TFileList list(owner.get());
    list.SetDirBox(box.get());
  }  // the list goes first: the box must not keep a pointer to it
  box.reset();
  TFileList list(owner.get());
  EXPECT_EQ(owner->Components().size(), 1u);
}

}  // namespace
