#include "platform/trash/trash.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "tests/support/files.h"
#include "tests/support/trash_home.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using test_support::ReadFile;
using test_support::TempDir;
using test_support::WriteFile;

const fs::path& Trash() {
  static const fs::path trash = test_support::TestDataHome() / "Trash";
  return trash;
}
const bool kTrashInTemp = (Trash(), true);

TEST(MoveToTrashTest, KeepsEveryFileWithWhereItCameFrom) {
  TempDir dir;
  fs::create_directory(dir.path() / "one");
  fs::create_directory(dir.path() / "two");
  // The same name twice: both are kept, under names of their own.
  WriteFile(dir.path() / "one" / "IMG_0001.JPG", "first");
  WriteFile(dir.path() / "two" / "IMG_0001.JPG", "second");
  WriteFile(dir.path() / "one" / "\xff\xfe name", "bytes of no character set");
  for (const fs::path& path :
       {dir.path() / "one" / "IMG_0001.JPG", dir.path() / "two" / "IMG_0001.JPG",
        dir.path() / "one" / "\xff\xfe name"}) {
    std::string reason;
    EXPECT_TRUE(MoveToTrash(path.string(), &reason)) << path << ": " << reason;
    EXPECT_FALSE(fs::exists(path));
  }
  int from_here = 0;
  std::multiset<std::string> contents;
  for (const auto& info : fs::directory_iterator(Trash() / "info")) {
    const std::string text = ReadFile(info.path());
    if (text.find(dir.path().string()) == std::string::npos) continue;
    ++from_here;
    EXPECT_EQ(info.path().extension(), ".trashinfo");
    EXPECT_TRUE(text.starts_with("[Trash Info]\nPath=")) << text;
    EXPECT_NE(text.find("\nDeletionDate="), std::string::npos) << text;
    contents.insert(ReadFile(Trash() / "files" / info.path().stem()));
  }
  EXPECT_EQ(from_here, 3);
  EXPECT_EQ(contents, (std::multiset<std::string>{"first", "second", "bytes of no character set"}));
}

TEST(MoveToTrashTest, SaysWhyWhenAFileCannotGo) {
  TempDir dir;
  std::string reason;
  EXPECT_FALSE(MoveToTrash((dir.path() / "gone").string(), &reason));
  EXPECT_FALSE(reason.empty());
  EXPECT_FALSE(MoveToTrash(""));
  EXPECT_FALSE(MoveToTrash(std::string("a\0b", 3)));

  // A trash that is no folder takes nothing, and the file stays.
  WriteFile(dir.path() / "keep.txt", "kept");
  const fs::path away = dir.path() / "Trash.away";
  if (fs::exists(Trash())) fs::rename(Trash(), away);
  WriteFile(Trash(), "no folder");
  reason.clear();
  const bool moved = MoveToTrash((dir.path() / "keep.txt").string(), &reason);
  fs::remove(Trash());
  if (fs::exists(away)) fs::rename(away, Trash());
  EXPECT_FALSE(moved);
  EXPECT_FALSE(reason.empty());
  EXPECT_EQ(ReadFile(dir.path() / "keep.txt"), "kept");
}

}  // namespace
}  // namespace platform
