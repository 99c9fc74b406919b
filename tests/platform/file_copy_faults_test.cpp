// Copying a file when something goes wrong: a stop in the middle of a large
// file, a full disk, a drive that cannot be read, a card that keeps no
// modes. Whatever happens, no partial file is left, and the reason is told.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <filesystem>
#include <stop_token>
#include <string>
#include <thread>

#include "platform/file_copy.h"
#include "tests/support/files.h"
#include "tests/support/mounts.h"

namespace {

namespace fs = std::filesystem;
using platform::CopyOutcome;
using test_support::ReadFile;
using test_support::WriteFile;

class FileCopyFaults : public ::testing::Test {
 protected:
  // The entries of a folder, hidden ones too.
  static std::size_t Entries(const fs::path& folder) {
    return static_cast<std::size_t>(
        std::distance(fs::directory_iterator(folder), fs::directory_iterator()));
  }

  test_support::TempDir temp_{"pirukko-copy-faults"};
  const fs::path root_ = temp_.path();
};

TEST_F(FileCopyFaults, AStopInsideALargeFileLeavesNothingOfIt) {
  fs::create_directories(root_ / "backing" / "out");
  // A gigabyte with no data in it is quick to make and slow to copy through FUSE.
  {
    const int fd = open((root_ / "big.bin").c_str(), O_CREAT | O_WRONLY, 0644);
    ASSERT_EQ(ftruncate(fd, off_t{1} << 30), 0);
    close(fd);
  }
  test_support::FaultFsMount drive(root_ / "backing", root_ / "mnt", {});
  std::stop_source stop;
  platform::CopyControl control;
  control.stop = stop.get_token();
  std::thread stopper([&stop] {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    stop.request_stop();
  });
  const CopyOutcome outcome = platform::CopyFile(
      (root_ / "big.bin").string(), (drive.path() / "out" / "big.bin").string(), control);
  stopper.join();
  EXPECT_TRUE(outcome.cancelled);
  EXPECT_FALSE(outcome.Copied());
  EXPECT_EQ(Entries(root_ / "backing" / "out"), 0u);
}

TEST_F(FileCopyFaults, AFullDiskIsTheTargetsFaultAndLeavesNothing) {
  test_support::TmpfsMount disk(root_ / "disk", "1m");
  WriteFile(root_ / "src.bin", std::string(2 << 20, 'x'));
  const CopyOutcome outcome =
      platform::CopyFile((root_ / "src.bin").string(), (disk.path() / "copy.bin").string());
  EXPECT_EQ(outcome.error, ENOSPC);
  EXPECT_EQ(outcome.side, CopyOutcome::Side::kTarget);
  EXPECT_EQ(Entries(disk.path()), 0u);
}

TEST_F(FileCopyFaults, AReadErrorIsTheSourcesFaultAndAModeTheCardCannotKeepIsNone) {
  fs::create_directories(root_ / "backing");
  WriteFile(root_ / "backing" / "bad.jpg", "unreadable");
  WriteFile(root_ / "backing" / "good.jpg", "good");
  fs::permissions(root_ / "backing" / "good.jpg", fs::perms::owner_read | fs::perms::owner_write);
  test_support::FaultFsMount card(root_ / "backing", root_ / "card",
                                  {"--eio-read", "bad", "--no-chmod"});
  fs::create_directory(root_ / "out");
  const CopyOutcome failed =
      platform::CopyFile((card.path() / "bad.jpg").string(), (root_ / "out" / "bad.jpg").string());
  EXPECT_EQ(failed.error, EIO);
  EXPECT_EQ(failed.side, CopyOutcome::Side::kSource);
  EXPECT_EQ(Entries(root_ / "out"), 0u);

  // Onto the card that cannot change a mode: the copy is whole and kept.
  const CopyOutcome kept = platform::CopyFile((root_ / "backing" / "good.jpg").string(),
                                              (card.path() / "copy.jpg").string());
  EXPECT_TRUE(kept.Copied());
  EXPECT_TRUE(kept.attributes_not_kept);
  EXPECT_EQ(ReadFile(card.path() / "copy.jpg"), "good");
}

TEST_F(FileCopyFaults, AnUnfinishedCopyCanBeRemovedFromAnotherThread) {
  WriteFile(root_ / ".pirukko-copy-abcdef", "half");
  platform::UnfinishedCopy unfinished;
  unfinished.Set((root_ / ".pirukko-copy-abcdef").string());
  std::thread([&unfinished] { unfinished.RemoveNow(); }).join();
  EXPECT_FALSE(fs::exists(root_ / ".pirukko-copy-abcdef"));
  unfinished.RemoveNow();  // nothing left to remove
}

TEST_F(FileCopyFaults, FlushingADriveSaysWhyItFailed) {
  fs::create_directories(root_ / "backing" / "out");
  EXPECT_EQ(platform::FlushDrive(root_.string()), 0);
  test_support::FaultFsMount drive(root_ / "backing", root_ / "mnt", {"--eio-sync", "out"});
  EXPECT_EQ(platform::FlushDrive((drive.path() / "out").string()), EIO);
  EXPECT_EQ(platform::FlushDrive((root_ / "missing").string()), ENOENT);
}

}  // namespace
