#include "platform/file_copy.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>

#include "platform/file_descriptor.h"
#include "platform/path_rules.h"
#include "platform/temporary_file.h"

namespace platform {

void UnfinishedCopy::Set(const std::string& path) {
  const std::lock_guard lock(mutex_);
  path_ = path;
}

void UnfinishedCopy::Clear() {
  const std::lock_guard lock(mutex_);
  path_.clear();
}

void UnfinishedCopy::RemoveNow() {
  const std::lock_guard lock(mutex_);
  if (!path_.empty()) unlink(path_.c_str());
  path_.clear();
}

namespace {

using Side = CopyOutcome::Side;

CopyOutcome Failed(Side side, int error) {
  CopyOutcome outcome;
  outcome.error = error;
  outcome.side = side;
  return outcome;
}

CopyOutcome Cancelled() {
  CopyOutcome outcome;
  outcome.cancelled = true;
  return outcome;
}

// The piece between two looks at the stop: small enough that a slow card
// still answers a stop within a tenth of a second or so, large enough that
// the calls cost nothing beside the data.
constexpr std::size_t kPiece = std::size_t{2} << 20;

// Moves all remaining bytes from `in` to `out`, a piece at a time: in the
// kernel where the two files allow it, else through a buffer. The kernel's
// copy cannot tell which file failed; the buffer then goes on from where
// it stopped and finds out.
CopyOutcome CopyData(int in, int out, off_t expected_size, const std::stop_token& stop) {
  off_t copied = 0;
  for (bool in_kernel = true; in_kernel;) {
    if (stop.stop_requested()) return Cancelled();
    const ssize_t n = copy_file_range(in, nullptr, out, nullptr, kPiece, 0);
    if (n > 0) {
      copied += n;
      continue;
    }
    if (n == 0) {
      // Some file systems answer 0 instead of refusing; the buffer decides.
      if (copied == 0 && expected_size > 0) break;
      return {};
    }
    if (errno == EINTR) continue;
    // Full, read-only or too big is the target's, whoever is asked.
    if (errno == ENOSPC || errno == EDQUOT || errno == EFBIG || errno == EROFS)
      return Failed(Side::kTarget, errno);
    in_kernel = false;
  }
  std::unique_ptr<char[]> buffer(new char[kPiece]);
  for (;;) {
    if (stop.stop_requested()) return Cancelled();
    const ssize_t n = read(in, buffer.get(), kPiece);
    if (n == 0) return {};
    if (n < 0) {
      if (errno == EINTR) continue;
      return Failed(Side::kSource, errno);
    }
    if (!WriteAll(out, buffer.get(), static_cast<std::size_t>(n))) {
      return Failed(Side::kTarget, errno);
    }
  }
}

// A copy's hidden name while it is not complete; six letters follow.
constexpr char kTemporaryPrefix[] = ".pirukko-copy-";

// A mode or a time the file system cannot keep (FAT through FUSE has no
// modes at all) is no reason to throw the copy away.
bool CannotKeep(int error) {
  return error == ENOSYS || error == EOPNOTSUPP || error == EPERM || error == EINVAL;
}

// The copy's data, then its source's permission bits and times, into `out`;
// its data flushed to the disk when asked.
CopyOutcome FillCopy(int in, int out, const struct stat& st, const CopyControl& control) {
  CopyOutcome outcome = CopyData(in, out, st.st_size, control.stop);
  if (!outcome.Copied()) return outcome;
  if (fchmod(out, st.st_mode & 07777 & ~(S_ISUID | S_ISGID)) != 0) {
    if (!CannotKeep(errno)) return Failed(Side::kTarget, errno);
    outcome.attributes_not_kept = true;
  }
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  if (futimens(out, times) != 0) {
    if (!CannotKeep(errno)) return Failed(Side::kTarget, errno);
    outcome.attributes_not_kept = true;
  }
  if (control.flush && fdatasync(out) != 0) return Failed(Side::kTarget, errno);
  return outcome;
}

// Gives the unnamed file `fd` the name `path`: 0, or the reason it could
// not (EEXIST when the name is taken).
int LinkUnnamedFile(int fd, const std::string& path) {
  const std::string self = "/proc/self/fd/" + std::to_string(fd);
  if (linkat(AT_FDCWD, self.c_str(), AT_FDCWD, path.c_str(), AT_SYMLINK_FOLLOW) == 0) return 0;
  if (errno == EEXIST) return EEXIST;
  // Without /proc the descriptor itself may do, for a privileged caller.
  return linkat(fd, "", AT_FDCWD, path.c_str(), AT_EMPTY_PATH) == 0 ? 0 : errno;
}

// Six letters for a temporary name, as mkostemp chooses them.
std::optional<std::string> RandomLetters() {
  static constexpr char kLetters[] =
      "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
  unsigned char bytes[6];
  if (getrandom(bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes)) return std::nullopt;
  std::string letters;
  for (unsigned char b : bytes) letters += kLetters[b % (sizeof kLetters - 1)];
  return letters;
}

// Whether a copy as a file without a name could be made at all.
struct UnnamedCopy {
  bool possible = true;
  CopyOutcome outcome;
};

// The copy made as a file without a name in the target's folder, named
// only once it is complete: whatever stops the run half-way (an error, a
// kill, a crash) leaves nothing behind, and a new name costs no rename.
// Not possible when the file system has no unnamed files or they cannot
// be named; `in` may then have been read.
UnnamedCopy CopyAsUnnamedFile(int in, const struct stat& st, const std::string& folder,
                              const std::string& target, const CopyControl& control) {
  FileDescriptor out(
      open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  if (!out.IsOpen()) {
    // The folder's own failures are the copy's; others mean no unnamed files.
    if (errno == ENOSPC || errno == EDQUOT || errno == EROFS || errno == EIO || errno == ENOENT ||
        errno == ENOTDIR || errno == EACCES || errno == ENOTCONN || errno == ENODEV)
      return {true, Failed(Side::kTarget, errno)};
    return {false, {}};
  }
  CopyOutcome filled = FillCopy(in, out.Get(), st, control);
  if (!filled.Copied()) return {true, filled};
  int error = LinkUnnamedFile(out.Get(), target);
  if (error == 0) {
    if (out.Close()) return {true, filled};
    error = errno;
    unlink(target.c_str());
    return {true, Failed(Side::kTarget, error)};
  }
  if (error != EEXIST) {
    // Some file systems make unnamed files but cannot name them: the
    // hidden temporary file does, unless the folder itself refuses.
    if (error == ENOSPC || error == EDQUOT || error == EROFS || error == EIO ||
        error == ENAMETOOLONG || error == ENOTCONN || error == ENODEV)
      return {true, Failed(Side::kTarget, error)};
    return {false, {}};
  }
  // The name is taken: the complete copy gets a hidden name first and then
  // replaces what is there in one step.
  std::string temp;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    const std::optional<std::string> letters = RandomLetters();
    if (!letters) return {false, {}};
    temp = folder + kTemporaryPrefix + *letters;
    error = LinkUnnamedFile(out.Get(), temp);
  }
  if (error != 0) return {true, Failed(Side::kTarget, error)};
  if (!out.Close() || rename(temp.c_str(), target.c_str()) != 0) {
    error = errno;
    unlink(temp.c_str());
    return {true, Failed(Side::kTarget, error)};
  }
  return {true, filled};
}

// Tells `unfinished` of the temporary file while it is there.
class UnfinishedScope {
 public:
  UnfinishedScope(UnfinishedCopy* unfinished, const std::string& path) : unfinished_(unfinished) {
    if (unfinished_) unfinished_->Set(path);
  }
  ~UnfinishedScope() {
    if (unfinished_) unfinished_->Clear();
  }
  UnfinishedScope(const UnfinishedScope&) = delete;
  UnfinishedScope& operator=(const UnfinishedScope&) = delete;

 private:
  UnfinishedCopy* unfinished_;
};

}  // namespace

CopyOutcome CopyFile(std::string_view source, std::string_view target, const CopyControl& control) {
  auto native_source = UsableNativePath(source);
  if (!native_source) return Failed(Side::kSource, ENOENT);
  auto native_target = UsableNativePath(target);
  if (!native_target || native_target->back() == kPathDelimiter)
    return Failed(Side::kTarget, EINVAL);

  // Non-blocking so that a FIFO put in the file's place cannot hang the run.
  FileDescriptor in(open(native_source->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!in.IsOpen()) return Failed(Side::kSource, errno);
  struct stat st;
  if (fstat(in.Get(), &st) != 0) return Failed(Side::kSource, errno);
  if (!S_ISREG(st.st_mode)) return Failed(Side::kSource, S_ISDIR(st.st_mode) ? EISDIR : EINVAL);
  // Reading from the start to the end.
  posix_fadvise(in.Get(), 0, 0, POSIX_FADV_SEQUENTIAL);

  auto slash = native_target->rfind(kPathDelimiter);
  const std::string folder =
      slash == std::string::npos ? std::string() : native_target->substr(0, slash + 1);
  const UnnamedCopy unnamed = CopyAsUnnamedFile(in.Get(), st, folder, *native_target, control);
  if (unnamed.possible) return unnamed.outcome;

  // Where the file system has no unnamed files: a hidden temporary one.
  if (lseek(in.Get(), 0, SEEK_SET) != 0) return Failed(Side::kSource, errno);
  TemporaryFile out;
  if (!out.Create(folder + kTemporaryPrefix)) return Failed(Side::kTarget, errno);
  const UnfinishedScope told(control.unfinished, out.Path());
  CopyOutcome filled = FillCopy(in.Get(), out.Descriptor(), st, control);
  if (!filled.Copied()) return filled;
  if (!out.Close() || !out.MoveTo(*native_target)) return Failed(Side::kTarget, errno);
  return filled;
}

int FlushDrive(std::string_view native_folder) {
  const std::optional<std::string> folder = UsableNativePath(native_folder);
  if (!folder) return EINVAL;
  FileDescriptor fd(open(folder->c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (!fd.IsOpen()) return errno;
  if (syncfs(fd.Get()) != 0) return errno;
  // The folder's entries, where syncfs leaves them to the journal.
  if (fsync(fd.Get()) != 0 && errno != EINVAL && errno != EROFS) return errno;
  return 0;
}

}  // namespace platform
