// The rules for new names on the drive they are written to, and the reasons
// the program gives for what fails there.
#include "platform/destination_rules.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>

#include "platform/error_reason.h"
#include "tests/support/files.h"
#include "tests/support/mounts.h"

namespace {

namespace fs = std::filesystem;
using platform::DestinationRules;
using platform::NameProblem;

std::string Repeat(const std::string& piece, int times) {
  std::string out;
  for (int i = 0; i < times; ++i) out += piece;
  return out;
}

TEST(DestinationRules, NamesEachKindOfFileSystemRefuses) {
  struct Case {
    const char* kind;
    std::string name;
    NameProblem problem;
  };
  const std::string a = "\xE3\x81\x82";          // あ: three bytes, one UTF-16 unit
  const std::string smile = "\xF0\x9F\x98\x80";  // two UTF-16 units
  const Case cases[] = {
      // The system's own disks take anything but "/" up to 255 bytes.
      {"ext4", "a:b?*<>|\\\".", NameProblem::kNone},
      {"ext4", std::string(255, 'n'), NameProblem::kNone},
      {"ext4", std::string(256, 'n'), NameProblem::kTooLong},
      {"ext4", Repeat(a, 85), NameProblem::kNone},  // 255 bytes
      {"ext4", Repeat(a, 86), NameProblem::kTooLong},
      {"tmpfs", "trailing. ", NameProblem::kNone},
      // A card's, a stick's, Windows' disks.
      {"exfat", "2024.JPG", NameProblem::kNone},
      {"vfat", "a\"b", NameProblem::kBadCharacter},
      {"vfat", "a*b", NameProblem::kBadCharacter},
      {"vfat", "a:b", NameProblem::kBadCharacter},
      {"vfat", "a<b", NameProblem::kBadCharacter},
      {"vfat", "a>b", NameProblem::kBadCharacter},
      {"vfat", "a?b", NameProblem::kBadCharacter},
      {"vfat", "a\\b", NameProblem::kBadCharacter},
      {"vfat", "a|b", NameProblem::kBadCharacter},
      {"vfat",
       "a\x1F"
       "b",
       NameProblem::kBadCharacter},
      {"vfat", "a b", NameProblem::kNone},
      {"vfat", "a.", NameProblem::kTrailingDotOrSpace},
      {"vfat", "a ", NameProblem::kTrailingDotOrSpace},
      {"vfat", ".hidden", NameProblem::kNone},
      // 255 UTF-16 units at most, whatever the bytes.
      {"exfat", Repeat(a, 255), NameProblem::kNone},
      {"exfat", Repeat(a, 256), NameProblem::kTooLong},
      {"exfat", Repeat(smile, 127) + "n", NameProblem::kNone},
      {"exfat", Repeat(smile, 128), NameProblem::kTooLong},
      // FUSE mounts of the same, as the mount table names them.
      {"fuseblk", "a:b", NameProblem::kBadCharacter},
      {"fuse.exfat", "a:b", NameProblem::kBadCharacter},
      {"fuse.fusefat", "a.", NameProblem::kTrailingDotOrSpace},
      {"msdos", "a?", NameProblem::kBadCharacter},
      {"ntfs3", "a|b", NameProblem::kBadCharacter},
      {"fuse.sshfs", "a:b", NameProblem::kNone},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(DestinationRules::ForKind(c.kind).Check(c.name), c.problem)
        << c.kind << " " << c.name;
  }
  EXPECT_NE(platform::NameProblemReason(NameProblem::kBadCharacter),
            platform::NameProblemReason(NameProblem::kTooLong));
}

TEST(DestinationRules, CardsTakeNamesThatDifferOnlyInCaseForOne) {
  const auto same = [](const DestinationRules& rules, const std::string& x, const std::string& y) {
    return rules.SameNameKey(x) == rules.SameNameKey(y);
  };
  const DestinationRules card = DestinationRules::ForKind("fuseblk");
  EXPECT_TRUE(card.IgnoresCase());
  EXPECT_TRUE(same(card, "2024.JPG", "2024.jpg"));
  EXPECT_TRUE(same(card, "\xC3\xA9t\xC3\xA9", "\xC3\x89T\xC3\x89"));  // été, ÉTÉ
  EXPECT_FALSE(same(card, "2024.JPG", "2024.JPEG"));
  // A byte that begins no UTF-8 character stays itself.
  EXPECT_TRUE(same(card, "\x82\xA0x", "\x82\xA0X"));
  const DestinationRules disk = DestinationRules::ForKind("ext4");
  EXPECT_FALSE(disk.IgnoresCase());
  EXPECT_FALSE(same(disk, "2024.JPG", "2024.jpg"));
  // An ext4 folder made to ignore case.
  EXPECT_TRUE(same(DestinationRules::ForKind("ext4", true), "2024.JPG", "2024.jpg"));
}

TEST(DestinationRules, TheKindIsReadFromTheMountTableForAFolderThatIsNotThereYet) {
  test_support::TempDir temp("pirukko-rules");
  const fs::path root = temp.path();
  test_support::TmpfsMount disk(root / "disk", "1m");
  const DestinationRules on_disk = DestinationRules::ForFolder((disk.path() / "New").string());
  EXPECT_EQ(on_disk.Kind(), "tmpfs");
  EXPECT_FALSE(on_disk.IgnoresCase());

  test_support::CardImageMount exfat("exfat", root / "exfat.img", root / "exfat_card");
  const DestinationRules card = DestinationRules::ForFolder((exfat.path() / "DCIM/New").string());
  EXPECT_EQ(card.Kind(), "fuseblk");
  EXPECT_TRUE(card.IgnoresCase());
  EXPECT_EQ(card.Check("a:b"), NameProblem::kBadCharacter);

  test_support::CardImageMount fat("fat32", root / "fat.img", root / "fat");
  EXPECT_EQ(DestinationRules::ForFolder(fat.path().string()).Kind(), "fuse.fusefat");

  fs::create_directories(root / "backing");
  test_support::FaultFsMount fault(root / "backing", root / "fault", {});
  EXPECT_EQ(DestinationRules::ForFolder(fault.path().string()).Kind(), "fuse.fault_fs");
}

TEST(ErrorReason, EveryFailureSaysWhyInJapanese) {
  EXPECT_EQ(platform::ErrorReason(ENOSPC), "ディスクの空き領域が足りません。");
  EXPECT_EQ(platform::ErrorReason(EROFS), "読み取り専用のドライブです。");
  EXPECT_EQ(platform::ErrorReason(EIO), "入出力エラーが発生しました。");
  EXPECT_EQ(platform::ErrorReason(EACCES), "アクセスが拒否されました。");
  EXPECT_EQ(platform::ErrorReason(ENAMETOOLONG), "名前が長すぎます。");
  EXPECT_EQ(platform::ErrorReason(4242), "予期しないエラーが発生しました（エラー番号 4242）。");
  // A drive that is lost stops the run; a file that fails alone does not.
  for (const int error : {ENOSPC, EDQUOT, EIO, ENODEV, ENOTCONN, EROFS})
    EXPECT_TRUE(platform::DriveIsLost(error)) << error;
  for (const int error : {EACCES, ENAMETOOLONG, ENOENT, 0})
    EXPECT_FALSE(platform::DriveIsLost(error)) << error;
  EXPECT_TRUE(platform::DriveIsGone(ENOTCONN));
  EXPECT_FALSE(platform::DriveIsGone(EIO));
}

}  // namespace
