// File systems of other kinds for tests, made without kernel modules of
// their own and taken down again whatever the test does: a small tmpfs (a
// disk that fills up, a read-only one), a FAT or exFAT card image through
// FUSE (with a camera's folders when asked), and our own FUSE layer that
// fails on chosen paths or hangs (a card reader that hung). Each fixture
// mounts on a folder of its own. Mounting needs root; tests that use these
// are built and run where ./test.sh runs as root, and take turns with each
// other (tests/CMakeLists.txt), since a volume watch sees every mount.
#pragma once

#include <signal.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace test_support {

namespace fs = std::filesystem;

// Runs a command (no shell) and gives its exit status; -1 when it could not start.
inline int RunTool(const std::vector<std::string>& args) {
  const pid_t pid = fork();
  if (pid < 0) return -1;
  if (pid == 0) {
    std::vector<char*> argv;
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    // The tools' chatter stays out of the test's output.
    freopen("/dev/null", "w", stdout);
    execvp(argv[0], argv.data());
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// Whether `point` is a mount point now, as the mount table says.
inline bool IsMounted(const fs::path& point) {
  std::ifstream table("/proc/self/mountinfo");
  std::string line;
  const std::string needle = " " + point.string() + " ";
  while (std::getline(table, line))
    if (line.find(needle) != std::string::npos) return true;
  return false;
}

// Takes a mount down: at once where nothing holds it, else as soon as
// nothing does.
inline void Unmount(const fs::path& point) {
  if (umount2(point.c_str(), 0) != 0) umount2(point.c_str(), MNT_DETACH);
}

// A tmpfs of `size` (as mount takes it, "1m"), read-only when asked.
class TmpfsMount {
 public:
  TmpfsMount(const fs::path& point, const std::string& size, bool read_only = false)
      : point_(point) {
    fs::create_directories(point_);
    const std::string options = "size=" + size + ",mode=0777";
    if (mount("tmpfs", point_.c_str(), "tmpfs", read_only ? MS_RDONLY : 0, options.c_str()) != 0)
      throw std::runtime_error("mounting a tmpfs needs root: " + point_.string());
  }
  ~TmpfsMount() { Unmount(point_); }
  TmpfsMount(const TmpfsMount&) = delete;
  TmpfsMount& operator=(const TmpfsMount&) = delete;

  const fs::path& path() const { return point_; }
  // Read-only from now on, or writable again.
  void SetReadOnly(bool read_only) {
    mount(nullptr, point_.c_str(), nullptr, MS_REMOUNT | (read_only ? MS_RDONLY : 0), nullptr);
  }

 private:
  fs::path point_;
};

// Our FUSE layer over `backing` at `point`, with its faults as arguments
// ("--eio-read", "IMG_0003", ...). It runs in the foreground as a child of
// the test, so that it can be stopped (a reader that hangs) and resumed.
class FaultFsMount {
 public:
  FaultFsMount(const fs::path& backing, const fs::path& point,
               const std::vector<std::string>& faults)
      : point_(point) {
    fs::create_directories(point_);
    std::vector<std::string> args = {PIRUKKO_FAULT_FS, backing.string(), point_.string()};
    args.insert(args.end(), faults.begin(), faults.end());
    pid_ = fork();
    if (pid_ == 0) {
      std::vector<char*> argv;
      for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
      argv.push_back(nullptr);
      execv(argv[0], argv.data());
      _exit(127);
    }
    for (int i = 0; i < 500 && !IsMounted(point_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!IsMounted(point_)) throw std::runtime_error("fault_fs did not mount " + point_.string());
  }
  ~FaultFsMount() {
    if (pid_ <= 0) return;
    Resume();
    Unmount(point_);
    // Unmounted, the file system's process ends by itself.
    for (int i = 0; i < 200; ++i) {
      if (waitpid(pid_, nullptr, WNOHANG) == pid_) return;
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
  }
  FaultFsMount(const FaultFsMount&) = delete;
  FaultFsMount& operator=(const FaultFsMount&) = delete;

  const fs::path& path() const { return point_; }
  // Every call into the file system hangs until Resume.
  void Hang() { kill(pid_, SIGSTOP); }
  void Resume() { kill(pid_, SIGCONT); }
  // The reader pulled out: the mount detached and its process killed, so
  // that every call still waiting fails at once.
  void Abort() {
    if (pid_ <= 0) return;
    umount2(point_.c_str(), MNT_DETACH);
    kill(pid_, SIGKILL);
    waitpid(pid_, nullptr, 0);
    pid_ = -1;
  }

 private:
  fs::path point_;
  pid_t pid_ = -1;
};

// A card image of `kind` ("exfat", "fat32", or "fat": what mkfs.vfat picks
// for the size) of `mib` MiB, made in `image` and mounted at `point` through
// FUSE as a user's desktop mounts a card. On a FAT card, `folders` ("DCIM",
// "DCIM/100CANON", parents first) are made before it is mounted, as a
// camera's card arrives with them.
class CardImageMount {
 public:
  CardImageMount(const std::string& kind, const fs::path& image, const fs::path& point,
                 int mib = 64, const std::vector<std::string>& folders = {})
      : point_(point), image_(image) {
    fs::create_directories(point_);
    fs::resize_file(EnsureFile(image), static_cast<std::uintmax_t>(mib) << 20);
    if (kind == "exfat") {
      Must(folders.empty(), "folders on an exFAT card");
      Must(RunTool({"mkfs.exfat", image.string()}) == 0, "mkfs.exfat");
      // exfat-fuse takes a disk, not a file: the image goes through a loop device.
      loop_ = Output({"losetup", "--find", "--show", image.string()});
      Must(!loop_.empty(), "losetup");
      Must(RunTool({"mount.exfat-fuse", loop_, point_.string()}) == 0, "mount.exfat-fuse");
    } else {
      std::vector<std::string> make = {"mkfs.vfat"};
      if (kind == "fat32") make.insert(make.end(), {"-F", "32"});
      make.push_back(image.string());
      Must(RunTool(make) == 0, "mkfs.vfat");
      setenv("MTOOLS_SKIP_CHECK", "1", 1);
      for (const std::string& folder : folders)
        Must(RunTool({"mmd", "-i", image.string(), "::/" + folder}) == 0, "mmd " + folder);
      Must(RunTool({"fusefat", "-o", "rw+", image.string(), point_.string()}) == 0, "fusefat");
    }
    for (int i = 0; i < 500 && !IsMounted(point_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Must(IsMounted(point_), "the card's mount");
  }
  ~CardImageMount() {
    Unmount();
    std::error_code ignored;
    fs::remove(image_, ignored);
  }
  CardImageMount(const CardImageMount&) = delete;
  CardImageMount& operator=(const CardImageMount&) = delete;

  const fs::path& path() const { return point_; }
  // The card taken out (a second call does nothing).
  void Unmount() {
    if (!mounted_) return;
    mounted_ = false;
    test_support::Unmount(point_);
    if (!loop_.empty()) RunTool({"losetup", "-d", loop_});
  }

 private:
  static const fs::path& EnsureFile(const fs::path& image) {
    std::ofstream(image, std::ios::binary | std::ios::app);
    return image;
  }
  void Must(bool ok, const std::string& what) {
    if (ok) return;
    Unmount();
    throw std::runtime_error(what + " failed for " + point_.string());
  }
  // The first line a command prints.
  static std::string Output(const std::vector<std::string>& args) {
    std::string command;
    for (const std::string& a : args) command += "'" + a + "' ";
    std::string line;
    if (FILE* pipe = popen(command.c_str(), "r")) {
      char buffer[256];
      if (fgets(buffer, sizeof buffer, pipe)) line = buffer;
      pclose(pipe);
    }
    while (!line.empty() && (line.back() == '\n' || line.back() == ' ')) line.pop_back();
    return line;
  }

  fs::path point_;
  fs::path image_;
  std::string loop_;
  bool mounted_ = true;
};

// A small FAT card at `point`, its image hidden beside it.
class FatCard : public CardImageMount {
 public:
  explicit FatCard(const fs::path& point, const std::vector<std::string>& folders = {})
      : CardImageMount("fat", point.parent_path() / ("." + point.filename().string() + ".img"),
                       point, 8, folders) {}
};

// A card reader that hung: a mount at `point` on which every call waits,
// from the start, until the fixture goes.
class HungMount {
 public:
  explicit HungMount(const fs::path& point)
      : backing_(MakeBacking(point)), mount_(backing_, point, {}) {
    mount_.Hang();
  }
  const fs::path& path() const { return mount_.path(); }
  void Unmount() { mount_.Abort(); }

 private:
  static fs::path MakeBacking(const fs::path& point) {
    const fs::path backing = point.parent_path() / ("." + point.filename().string() + ".backing");
    fs::create_directories(backing);
    return backing;
  }
  fs::path backing_;
  FaultFsMount mount_;
};

}  // namespace test_support
