// A file system for tests that shows a folder of the real one and fails on
// the paths it is told to: what a card that goes bad, a folder that cannot
// be read or a card that cannot keep a file's mode looks like to a program.
//
//   fault_fs BACKING MOUNTPOINT [--eio-read TEXT] [--eio-list TEXT]
//            [--eio-write TEXT] [--eio-sync TEXT] [--no-chmod] [--no-times]
//            [FUSE options]
//
// --eio-read:  reading a file whose path holds TEXT fails with EIO
// --eio-list:  listing a folder whose path holds TEXT fails with EIO
// --eio-write: writing, creating or naming anything whose path holds TEXT,
//              or a file without a name in such a folder, fails with EIO
// --eio-sync:  flushing a file or a folder whose path holds TEXT fails with EIO
// --no-chmod:  changing a mode fails with ENOSYS (as fusefat does)
// --no-times:  changing a file's times fails with ENOSYS
//
// A reader that hangs is this file system stopped with SIGSTOP.
#define FUSE_USE_VERSION 31

#include <dirent.h>
#include <errno.h>
#include <fcntl.h>
#include <fuse.h>
#include <limits.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

static struct {
  const char* backing;
  const char* eio_read;
  const char* eio_list;
  const char* eio_write;
  const char* eio_sync;
  int no_chmod;
  int no_times;
} faults;

static int Holds(const char* path, const char* text) {
  return text && *text && strstr(path, text) != NULL;
}

static void Real(char out[PATH_MAX], const char* path) {
  snprintf(out, PATH_MAX, "%s%s", faults.backing, path);
}

static int Errno(int result) {
  return result < 0 ? -errno : result;
}

static int DoGetattr(const char* path, struct stat* st, struct fuse_file_info* fi) {
  (void)fi;
  char real[PATH_MAX];
  Real(real, path);
  return Errno(lstat(real, st));
}

static int DoReaddir(const char* path, void* buf, fuse_fill_dir_t fill, off_t offset,
                     struct fuse_file_info* fi, enum fuse_readdir_flags flags) {
  (void)offset;
  (void)fi;
  (void)flags;
  if (Holds(path, faults.eio_list)) return -EIO;
  char real[PATH_MAX];
  Real(real, path);
  DIR* dir = opendir(real);
  if (!dir) return -errno;
  struct dirent* entry;
  while ((entry = readdir(dir)) != NULL) {
    struct stat st;
    memset(&st, 0, sizeof st);
    st.st_ino = entry->d_ino;
    st.st_mode = (mode_t)(entry->d_type << 12);
    if (fill(buf, entry->d_name, &st, 0, static_cast<fuse_fill_dir_flags>(0))) break;
  }
  closedir(dir);
  return 0;
}

static int DoOpen(const char* path, struct fuse_file_info* fi) {
  if ((fi->flags & O_ACCMODE) != O_RDONLY && Holds(path, faults.eio_write)) return -EIO;
  char real[PATH_MAX];
  Real(real, path);
  const int fd = open(real, fi->flags & ~O_NOFOLLOW);
  if (fd < 0) return -errno;
  fi->fh = (uint64_t)fd;
  return 0;
}

static int DoCreate(const char* path, mode_t mode, struct fuse_file_info* fi) {
  if (Holds(path, faults.eio_write)) return -EIO;
  char real[PATH_MAX];
  Real(real, path);
  const int fd = open(real, fi->flags, mode);
  if (fd < 0) return -errno;
  fi->fh = (uint64_t)fd;
  return 0;
}

static int DoRead(const char* path, char* buf, size_t size, off_t offset,
                  struct fuse_file_info* fi) {
  if (Holds(path, faults.eio_read)) return -EIO;
  return Errno((int)pread((int)fi->fh, buf, size, offset));
}

static int DoWrite(const char* path, const char* buf, size_t size, off_t offset,
                   struct fuse_file_info* fi) {
  if (Holds(path, faults.eio_write)) return -EIO;
  return Errno((int)pwrite((int)fi->fh, buf, size, offset));
}

static int DoRelease(const char* path, struct fuse_file_info* fi) {
  (void)path;
  close((int)fi->fh);
  return 0;
}

static int DoFsync(const char* path, int datasync, struct fuse_file_info* fi) {
  if (Holds(path, faults.eio_write) || Holds(path, faults.eio_sync)) return -EIO;
  return Errno(datasync ? fdatasync((int)fi->fh) : fsync((int)fi->fh));
}

static int DoFsyncdir(const char* path, int datasync, struct fuse_file_info* fi) {
  (void)datasync;
  (void)fi;
  if (Holds(path, faults.eio_sync)) return -EIO;
  return 0;
}

static int DoMkdir(const char* path, mode_t mode) {
  if (Holds(path, faults.eio_write)) return -EIO;
  char real[PATH_MAX];
  Real(real, path);
  return Errno(mkdir(real, mode));
}

static int DoUnlink(const char* path) {
  char real[PATH_MAX];
  Real(real, path);
  return Errno(unlink(real));
}

static int DoRmdir(const char* path) {
  char real[PATH_MAX];
  Real(real, path);
  return Errno(rmdir(real));
}

static int DoRename(const char* from, const char* to, unsigned int flags) {
  if (Holds(to, faults.eio_write)) return -EIO;
  char real_from[PATH_MAX], real_to[PATH_MAX];
  Real(real_from, from);
  Real(real_to, to);
  return Errno(renameat2(AT_FDCWD, real_from, AT_FDCWD, real_to, flags));
}

static int DoLink(const char* from, const char* to) {
  if (Holds(to, faults.eio_write)) return -EIO;
  char real_from[PATH_MAX], real_to[PATH_MAX];
  Real(real_from, from);
  Real(real_to, to);
  return Errno(link(real_from, real_to));
}

static int DoChmod(const char* path, mode_t mode, struct fuse_file_info* fi) {
  if (faults.no_chmod) return -ENOSYS;
  if (fi) return Errno(fchmod((int)fi->fh, mode));
  char real[PATH_MAX];
  Real(real, path);
  return Errno(chmod(real, mode));
}

static int DoChown(const char* path, uid_t uid, gid_t gid, struct fuse_file_info* fi) {
  (void)fi;
  char real[PATH_MAX];
  Real(real, path);
  return Errno(lchown(real, uid, gid));
}

static int DoTruncate(const char* path, off_t size, struct fuse_file_info* fi) {
  if (fi) return Errno(ftruncate((int)fi->fh, size));
  char real[PATH_MAX];
  Real(real, path);
  return Errno(truncate(real, size));
}

static int DoUtimens(const char* path, const struct timespec times[2], struct fuse_file_info* fi) {
  if (faults.no_times) return -ENOSYS;
  if (fi) return Errno(futimens((int)fi->fh, times));
  char real[PATH_MAX];
  Real(real, path);
  return Errno(utimensat(AT_FDCWD, real, times, AT_SYMLINK_NOFOLLOW));
}

static int DoStatfs(const char* path, struct statvfs* st) {
  (void)path;
  return Errno(statvfs(faults.backing, st));
}

static fuse_operations Operations() {
  fuse_operations ops{};
  ops.getattr = DoGetattr;
  ops.mkdir = DoMkdir;
  ops.unlink = DoUnlink;
  ops.rmdir = DoRmdir;
  ops.rename = DoRename;
  ops.link = DoLink;
  ops.chmod = DoChmod;
  ops.chown = DoChown;
  ops.truncate = DoTruncate;
  ops.open = DoOpen;
  ops.read = DoRead;
  ops.write = DoWrite;
  ops.statfs = DoStatfs;
  ops.release = DoRelease;
  ops.fsync = DoFsync;
  ops.readdir = DoReaddir;
  ops.fsyncdir = DoFsyncdir;
  ops.create = DoCreate;
  ops.utimens = DoUtimens;
  return ops;
}

int main(int argc, char* argv[]) {
  if (argc < 3) {
    fprintf(stderr, "usage: fault_fs BACKING MOUNTPOINT [faults] [FUSE options]\n");
    return 2;
  }
  static char backing[PATH_MAX];
  if (!realpath(argv[1], backing)) {
    perror(argv[1]);
    return 2;
  }
  faults.backing = backing;
  // What FUSE itself takes: the program's name, the mount point, -f and
  // whatever is not one of the faults.
  static char foreground[] = "-f";
  static char one_thread[] = "-s";
  std::vector<char*> fuse_args = {argv[0], argv[2], foreground, one_thread};
  for (int i = 3; i < argc; ++i) {
    const char* arg = argv[i];
    if (strcmp(arg, "--eio-read") == 0 && i + 1 < argc) {
      faults.eio_read = argv[++i];
    } else if (strcmp(arg, "--eio-list") == 0 && i + 1 < argc) {
      faults.eio_list = argv[++i];
    } else if (strcmp(arg, "--eio-write") == 0 && i + 1 < argc) {
      faults.eio_write = argv[++i];
    } else if (strcmp(arg, "--eio-sync") == 0 && i + 1 < argc) {
      faults.eio_sync = argv[++i];
    } else if (strcmp(arg, "--no-chmod") == 0) {
      faults.no_chmod = 1;
    } else if (strcmp(arg, "--no-times") == 0) {
      faults.no_times = 1;
    } else {
      fuse_args.push_back(argv[i]);
    }
  }
  const fuse_operations operations = Operations();
  return fuse_main(static_cast<int>(fuse_args.size()), fuse_args.data(), &operations, nullptr);
}
