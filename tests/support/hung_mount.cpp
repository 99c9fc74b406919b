// A file system that never answers: mounted through FUSE, it takes every
// request and replies to none, as a card reader that hung or a stale network
// share does. The tests and benchmarks mount it (as root) to show that the
// window does not wait for such a mount.
//
//   hung-mount MOUNT_POINT      (stays in the foreground; kill it, then
//                                `umount -l MOUNT_POINT`, to end it)
#define FUSE_USE_VERSION 31
#include <fuse.h>
#include <unistd.h>

namespace {

[[noreturn]] int Hang() {
  for (;;) pause();
}

int HangGetattr(const char*, struct stat*, fuse_file_info*) {
  Hang();
}

int HangStatfs(const char*, struct statvfs*) {
  Hang();
}

int HangOpendir(const char*, fuse_file_info*) {
  Hang();
}

}  // namespace

int main(int argc, char* argv[]) {
  static const fuse_operations operations = [] {
    fuse_operations hang{};
    hang.getattr = HangGetattr;
    hang.statfs = HangStatfs;
    hang.opendir = HangOpendir;
    return hang;
  }();
  if (argc != 2) return 2;
  // In the foreground, one thread: the first request holds it for good.
  char foreground[] = "-f";
  char one_thread[] = "-s";
  char option[] = "-o";
  char name[] = "fsname=hung-mount";
  char* fuse_argv[] = {argv[0], foreground, one_thread, option, name, argv[1], nullptr};
  return fuse_main(6, fuse_argv, &operations, nullptr);
}
