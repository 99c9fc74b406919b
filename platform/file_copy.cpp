#include "platform/file_copy.h"

#include <fcntl.h>
#include <sys/random.h>
#include <sys/sendfile.h>
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
namespace {

// Moves all remaining bytes from `in` to `out`, with the fastest way the
// two files allow: in-kernel copy, then sendfile, then plain reads.
bool CopyData(int in, int out, off_t expected_size) {
  off_t copied = 0;
  bool try_copy_range = true, try_sendfile = true;
  constexpr std::size_t kChunk = std::size_t{1} << 30;
  while (try_copy_range) {
    ssize_t n = copy_file_range(in, nullptr, out, nullptr, kChunk, 0);
    if (n > 0) {
      copied += n;
      continue;
    }
    if (n == 0) {
      // Some file systems answer 0 instead of refusing; plain reads decide.
      if (copied == 0 && expected_size > 0) {
        try_copy_range = false;
        break;
      }
      return true;
    }
    if (errno == EINTR) continue;
    if (copied == 0 && (errno == EXDEV || errno == ENOSYS || errno == EINVAL ||
                        errno == EOPNOTSUPP || errno == EBADF || errno == EPERM)) {
      try_copy_range = false;
      break;
    }
    return false;
  }
  while (try_sendfile) {
    ssize_t n = sendfile(out, in, nullptr, kChunk);
    if (n > 0) {
      copied += n;
      continue;
    }
    if (n == 0) {
      if (copied == 0 && expected_size > 0) break;
      return true;
    }
    if (errno == EINTR) continue;
    if (copied == 0 && (errno == EINVAL || errno == ENOSYS)) break;
    return false;
  }
  constexpr std::size_t kBufferSize = std::size_t{1} << 20;
  std::unique_ptr<char[]> buffer(new char[kBufferSize]);
  for (;;) {
    ssize_t n = read(in, buffer.get(), kBufferSize);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    if (!WriteAll(out, buffer.get(), static_cast<std::size_t>(n))) return false;
  }
}

// A copy's hidden name while it is not complete; six letters follow.
constexpr char kTemporaryPrefix[] = ".pirukko-copy-";

// The copy's data, its source's permission bits and times, into `out`.
bool FillCopy(int in, int out, const struct stat& st) {
  bool ok = CopyData(in, out, st.st_size);
  ok = ok && fchmod(out, st.st_mode & 07777 & ~(S_ISUID | S_ISGID)) == 0;
  const struct timespec times[2] = {st.st_atim, st.st_mtim};
  return ok && futimens(out, times) == 0;
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

enum class UnnamedCopy { kCopied, kFailed, kNotPossible };

// The copy made as a file without a name in the target's folder, named
// only once it is complete: whatever stops the run half-way (an error, a
// kill, a crash) leaves nothing behind, and a new name costs no rename.
// kNotPossible when the file system has no unnamed files or they cannot
// be named; `in` may then have been read.
UnnamedCopy CopyAsUnnamedFile(int in, const struct stat& st, const std::string& folder,
                              const std::string& target) {
  FileDescriptor out(
      open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  if (!out.IsOpen()) return UnnamedCopy::kNotPossible;
  if (!FillCopy(in, out.Get(), st)) return UnnamedCopy::kFailed;
  int error = LinkUnnamedFile(out.Get(), target);
  if (error == 0) {
    if (out.Close()) return UnnamedCopy::kCopied;
    unlink(target.c_str());
    return UnnamedCopy::kFailed;
  }
  if (error != EEXIST) return UnnamedCopy::kNotPossible;
  // The name is taken: the complete copy gets a hidden name first and then
  // replaces what is there in one step.
  std::string temp;
  for (int attempt = 0; attempt < 100 && error == EEXIST; ++attempt) {
    const std::optional<std::string> letters = RandomLetters();
    if (!letters) return UnnamedCopy::kNotPossible;
    temp = folder + kTemporaryPrefix + *letters;
    error = LinkUnnamedFile(out.Get(), temp);
  }
  if (error != 0) return UnnamedCopy::kFailed;
  bool ok = out.Close();
  ok = ok && rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok ? UnnamedCopy::kCopied : UnnamedCopy::kFailed;
}

}  // namespace

bool CopyFileOverwriting(std::string_view source, std::string_view target) {
  auto native_source = UsableNativePath(source);
  auto native_target = UsableNativePath(target);
  if (!native_source || !native_target || native_target->back() == kPathDelimiter) return false;

  // Non-blocking so that a FIFO put in the file's place cannot hang the run.
  FileDescriptor in(open(native_source->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (!in.IsOpen()) return false;
  struct stat st;
  if (fstat(in.Get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;

  auto slash = native_target->rfind(kPathDelimiter);
  const std::string folder =
      slash == std::string::npos ? std::string() : native_target->substr(0, slash + 1);
  switch (CopyAsUnnamedFile(in.Get(), st, folder, *native_target)) {
    case UnnamedCopy::kCopied:
      return true;
    case UnnamedCopy::kFailed:
      return false;
    case UnnamedCopy::kNotPossible:
      break;
  }
  // Where the file system has no unnamed files: a hidden temporary one.
  if (lseek(in.Get(), 0, SEEK_SET) != 0) return false;
  TemporaryFile out;
  if (!out.Create(folder + kTemporaryPrefix)) return false;
  const bool filled = FillCopy(in.Get(), out.Descriptor(), st);
  return out.Close() && filled && out.MoveTo(*native_target);
}

}  // namespace platform
