// File systems of other kinds for tests, made without kernel modules of
// their own and taken down again whatever the test does: a small tmpfs (a
// disk that fills up, a read-only one), an exFAT or FAT32 card image through
// FUSE, and our own FUSE layer that fails on chosen paths or hangs. Each
// fixture mounts on a folder of its own, so that tests may run side by side.
// Mounting needs root; tests that use these run where ./test.sh runs as root.
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

 private:
  fs::path point_;
  pid_t pid_ = -1;
};

// A card image of `kind` ("exfat" or "fat32") of `mib` MiB, made in `image`
// and mounted at `point` through FUSE as a user's desktop mounts a card.
class CardImageMount {
 public:
  CardImageMount(const std::string& kind, const fs::path& image, const fs::path& point,
                 int mib = 64)
      : point_(point) {
    fs::create_directories(point_);
    fs::resize_file(EnsureFile(image), static_cast<std::uintmax_t>(mib) << 20);
    if (kind == "exfat") {
      Must(RunTool({"mkfs.exfat", image.string()}) == 0, "mkfs.exfat");
      // exfat-fuse takes a disk, not a file: the image goes through a loop device.
      loop_ = Output({"losetup", "--find", "--show", image.string()});
      Must(!loop_.empty(), "losetup");
      Must(RunTool({"mount.exfat-fuse", loop_, point_.string()}) == 0, "mount.exfat-fuse");
    } else {
      Must(RunTool({"mkfs.vfat", "-F", "32", image.string()}) == 0, "mkfs.vfat");
      Must(RunTool({"fusefat", "-o", "rw+", image.string(), point_.string()}) == 0, "fusefat");
    }
    for (int i = 0; i < 500 && !IsMounted(point_); ++i)
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
    Must(IsMounted(point_), "the card's mount");
  }
  ~CardImageMount() {
    Unmount(point_);
    if (!loop_.empty()) RunTool({"losetup", "-d", loop_});
  }
  CardImageMount(const CardImageMount&) = delete;
  CardImageMount& operator=(const CardImageMount&) = delete;

  const fs::path& path() const { return point_; }

 private:
  static const fs::path& EnsureFile(const fs::path& image) {
    std::ofstream(image, std::ios::binary | std::ios::app);
    return image;
  }
  void Must(bool ok, const std::string& what) {
    if (ok) return;
    Unmount(point_);
    if (!loop_.empty()) RunTool({"losetup", "-d", loop_});
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
  std::string loop_;
};

}  // namespace test_support
