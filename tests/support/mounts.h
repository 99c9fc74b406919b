// Mounts for the tests that need root: a FAT card that comes and goes and
// a FUSE file system that never answers (a card reader that hung), each
// undone when it goes out of scope.
#pragma once

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

// Whether `path` is a mount point now, by the kernel's own table (which
// asks no file system anything).
inline bool IsMountPoint(const std::string& path) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  while (std::getline(table, line)) {
    std::istringstream fields(line);
    std::string id, parent, device, root, point;
    fields >> id >> parent >> device >> root >> point;
    if (point == path) return true;
  }
  return false;
}

// A FAT card: an image made with mkfs.vfat, its folders made inside it with
// mtools before it is mounted (as a camera's card arrives with them), then
// mounted through FUSE by fusefat (no kernel module or loop device needed),
// as the desktop mounts a card. Unmounted when it goes out of scope.
class FatCard {
 public:
  // `folders`: paths inside the card ("DCIM", "DCIM/100CANON"), parents
  // first.
  explicit FatCard(const std::filesystem::path& point, std::vector<std::string> folders = {})
      : point_(point) {
    std::filesystem::create_directories(point_);
    image_ = point_.parent_path() / ("." + point_.filename().string() + ".img");
    const std::string quiet = " >/dev/null 2>&1";
    const std::string image = "'" + image_.string() + "'";
    std::string make = "truncate -s 8M " + image + " && mkfs.vfat " + image + quiet;
    for (const std::string& folder : folders)
      make += " && MTOOLS_SKIP_CHECK=1 mmd -i " + image + " '::/" + folder + "'" + quiet;
    make += " && fusefat -o rw+ " + image + " '" + point_.string() + "'" + quiet;
    if (std::system(make.c_str()) != 0 || !IsMountPoint(point_.string()))
      throw std::runtime_error("cannot mount a FAT card at " + point_.string());
  }
  ~FatCard() {
    Unmount();
    std::error_code ignored;
    std::filesystem::remove(image_, ignored);
  }
  FatCard(const FatCard&) = delete;
  FatCard& operator=(const FatCard&) = delete;

  void Unmount() {
    if (mounted_) umount2(point_.c_str(), MNT_DETACH);
    mounted_ = false;
  }
  const std::filesystem::path& path() const { return point_; }

 private:
  std::filesystem::path point_;
  std::filesystem::path image_;
  bool mounted_ = true;
};

// The hung-mount program (tests/support/hung_mount.cpp) at `point`.
class HungMount {
 public:
  HungMount(const std::string& program, const std::filesystem::path& point) : point_(point) {
    std::filesystem::create_directories(point_);
    pid_ = fork();
    if (pid_ == 0) {
      execl(program.c_str(), program.c_str(), point_.c_str(), static_cast<char*>(nullptr));
      _exit(127);
    }
    for (int i = 0; i < 500 && !IsMountPoint(point_.string()); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!IsMountPoint(point_.string())) {
      Unmount();
      throw std::runtime_error("hung-mount did not mount " + point_.string());
    }
  }
  ~HungMount() { Unmount(); }
  HungMount(const HungMount&) = delete;
  HungMount& operator=(const HungMount&) = delete;

  const std::filesystem::path& path() const { return point_; }

  // Detached first, so that no new caller waits; the program's end then
  // fails the requests still waiting.
  void Unmount() {
    if (pid_ <= 0) return;
    umount2(point_.c_str(), MNT_DETACH);
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  std::filesystem::path point_;
  pid_t pid_ = -1;
};

}  // namespace test_support
