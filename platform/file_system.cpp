#include "platform/file_system.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/random.h>
#include <sys/sendfile.h>
#include <sys/stat.h>
#include <unicode/normalizer2.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/ustring.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <memory>

#include "platform/cp932.h"

namespace platform {
namespace {

// ------------------------------------------------------------ wildcards

// A name as the code points the wildcard compares, letter case folded. A
// byte that is not UTF-8 stands for itself, so that "?" still takes it.
std::u32string FoldedCodePoints(std::string_view utf8) {
  std::u32string out;
  out.reserve(utf8.size());
  std::size_t i = 0;
  while (i < utf8.size()) {
    auto b = static_cast<unsigned char>(utf8[i]);
    char32_t cp = 0;
    std::size_t len = b < 0x80             ? 1
                      : (b & 0xE0) == 0xC0 ? 2
                      : (b & 0xF0) == 0xE0 ? 3
                      : (b & 0xF8) == 0xF0 ? 4
                                           : 0;
    bool ok = len > 0 && i + len <= utf8.size();
    if (ok) {
      cp = len == 1 ? b : b & (0x7F >> len);
      for (std::size_t k = 1; k < len; ++k) {
        auto c = static_cast<unsigned char>(utf8[i + k]);
        if ((c & 0xC0) != 0x80) {
          ok = false;
          break;
        }
        cp = (cp << 6) | (c & 0x3F);
      }
    }
    if (!ok) {
      out.push_back(0xDC00 + b);  // a lone byte, kept apart from real characters
      ++i;
      continue;
    }
    out.push_back(static_cast<char32_t>(u_foldCase(static_cast<UChar32>(cp), U_FOLD_CASE_DEFAULT)));
    i += len;
  }
  return out;
}

bool Matches(std::u32string_view name, std::u32string_view mask) {
  std::size_t m = 0, n = 0, star = std::u32string_view::npos, resume = 0;
  while (n < name.size()) {
    if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
      ++m;
      ++n;
    } else if (m < mask.size() && mask[m] == U'*') {
      star = m++;
      resume = n;
    } else if (star != std::u32string_view::npos) {
      m = star + 1;
      n = ++resume;
    } else {
      return false;
    }
  }
  while (m < mask.size() && mask[m] == U'*') ++m;
  return m == mask.size();
}

// A mask ready to be compared with the names on disk.
class CompiledMask {
 public:
  explicit CompiledMask(std::u32string mask) : mask_(std::move(mask)) {
    // "x.*" also takes a bare "x"; "x." takes only a bare "x" (and, on this
    // file system, a name that really ends in a dot).
    if (mask_.size() >= 2 && mask_.compare(mask_.size() - 2, 2, U".*") == 0) {
      without_any_extension_ = mask_.substr(0, mask_.size() - 2);
    } else if (mask_.size() >= 2 && mask_.back() == U'.') {
      without_any_extension_ = mask_.substr(0, mask_.size() - 1);
      bare_names_only_ = true;
    }
  }
  bool Match(std::u32string_view name) const {
    if (Matches(name, mask_)) return true;
    if (!without_any_extension_) return false;
    if (bare_names_only_ && name.find(U'.') != std::u32string_view::npos) return false;
    return Matches(name, *without_any_extension_);
  }

 private:
  std::u32string mask_;
  std::optional<std::u32string> without_any_extension_;
  bool bare_names_only_ = false;
};

// ------------------------------------------------------- names on disk

bool IsAscii(std::string_view text) {
  for (char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return false;
  return true;
}

// The name in normal form C; a name that is not UTF-8 stays as it is (it has
// no CP932 form either way).
std::string NormalFormC(std::string_view native) {
  if (IsAscii(native)) return std::string(native);
  UErrorCode status = U_ZERO_ERROR;
  u_strFromUTF8(nullptr, 0, nullptr, native.data(), static_cast<int32_t>(native.size()), &status);
  if (status != U_BUFFER_OVERFLOW_ERROR && U_FAILURE(status)) return std::string(native);
  status = U_ZERO_ERROR;
  const icu::Normalizer2* nfc = icu::Normalizer2::getNFCInstance(status);
  if (U_FAILURE(status)) return std::string(native);
  const icu::UnicodeString text = icu::UnicodeString::fromUTF8(
      icu::StringPiece(native.data(), static_cast<int32_t>(native.size())));
  if (nfc->isNormalized(text, status) && U_SUCCESS(status)) return std::string(native);
  status = U_ZERO_ERROR;
  const icu::UnicodeString composed = nfc->normalize(text, status);
  if (U_FAILURE(status)) return std::string(native);
  std::string out;
  composed.toUTF8String(out);
  return out;
}

// The exact CP932 form of a name already in normal form C.
std::optional<std::string> ExactCp932(std::string_view composed) {
  auto cp932 = Utf8ToCp932(composed);
  if (!cp932) return std::nullopt;
  // Several characters share one CP932 code (the wave dash and the
  // full-width tilde, for one); only a name that comes back unchanged is
  // shown exactly.
  auto back = Cp932ToUtf8(*cp932);
  if (!back || *back != composed) return std::nullopt;
  return cp932;
}

// The exact CP932 form of a name on disk, given with its normal form C. A
// name that converts as it stands keeps that form: CP932 itself has
// characters that normal form C replaces ("Å" 0x81F0 is U+212B, whose normal
// form has no CP932 code; the compatibility ideographs of 0xFA40 on), and a
// name that converted before must be shown as before.
std::optional<std::string> ExactCp932(std::string_view native, std::string_view composed) {
  if (auto exact = ExactCp932(native)) return exact;
  if (composed == native) return std::nullopt;
  return ExactCp932(composed);
}

TShownName ShowName(std::string_view native, std::string_view composed) {
  if (auto exact = ExactCp932(native, composed)) return {std::move(*exact), true};
  return {Utf8ToCp932Lossy(composed), false};
}

// ------------------------------------------------------------ helpers

struct DirCloser {
  void operator()(DIR* d) const { closedir(d); }
};

class Fd {
 public:
  explicit Fd(int fd = -1) : fd_(fd) {}
  ~Fd() { Reset(); }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now and reports whether the close succeeded.
  bool Close() {
    int fd = fd_;
    fd_ = -1;
    return fd < 0 || close(fd) == 0;
  }

 private:
  void Reset() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
  }
  int fd_;
};

int AttributesOf(const struct stat& st, std::string_view native_name) {
  int attr = 0;
  if (S_ISDIR(st.st_mode))
    attr |= faDirectory;
  else if (S_ISREG(st.st_mode))
    attr |= faArchive;
  else
    attr |= faSysFile;
  if (!native_name.empty() && native_name.front() == '.') attr |= faHidden;
  if ((st.st_mode & S_IWUSR) == 0) attr |= faReadOnly;
  return attr;
}

// A native path as the system calls take it; no value when it is empty or
// holds a NUL byte (which would cut it short and name another entry).
std::optional<std::string> UsablePath(std::string_view native_path) {
  if (native_path.empty() || native_path.find('\0') != std::string_view::npos) return std::nullopt;
  return std::string(native_path);
}

bool StatNative(std::string_view native_path, struct stat& st, bool follow) {
  auto path = UsablePath(native_path);
  if (!path) return false;
  return (follow ? stat(path->c_str(), &st) : lstat(path->c_str(), &st)) == 0;
}

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
  std::unique_ptr<char[]> buffer(new char[1 << 20]);
  for (;;) {
    ssize_t n = read(in, buffer.get(), 1 << 20);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    for (ssize_t done = 0; done < n;) {
      ssize_t w = write(out, buffer.get() + done, static_cast<std::size_t>(n - done));
      if (w < 0) {
        if (errno == EINTR) continue;
        return false;
      }
      done += w;
    }
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
  Fd out(open(folder.empty() ? "." : folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600));
  if (out.get() < 0) return UnnamedCopy::kNotPossible;
  if (!FillCopy(in, out.get(), st)) return UnnamedCopy::kFailed;
  int error = LinkUnnamedFile(out.get(), target);
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
    error = LinkUnnamedFile(out.get(), temp);
  }
  if (error != 0) return UnnamedCopy::kFailed;
  bool ok = out.Close();
  ok = ok && rename(temp.c_str(), target.c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok ? UnnamedCopy::kCopied : UnnamedCopy::kFailed;
}

}  // namespace

// ------------------------------------------------------------ path rules

std::string_view SeparatorAfter(std::string_view directory) {
  return !directory.empty() && directory.back() == kPathDelimiter ? "" : "/";
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  path += SeparatorAfter(directory);
  path += name;
  return path;
}

std::string ExtractFileName(std::string_view path) {
  auto slash = path.rfind(kPathDelimiter);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsFullPath(std::string_view path) {
  return !path.empty() && path.front() == kPathDelimiter;
}

// ------------------------------------------------------- names on disk

std::optional<std::string> ToNativePath(std::string_view cp932_path) {
  if (cp932_path.empty() || cp932_path.find('\0') != std::string_view::npos) return std::nullopt;
  return Cp932ToUtf8(cp932_path);
}

std::optional<std::string> FromNativeName(std::string_view native_name) {
  return ExactCp932(native_name, NormalFormC(native_name));
}

TShownName ShowNativeName(std::string_view native_name) {
  return ShowName(native_name, NormalFormC(native_name));
}

// ------------------------------------------------------------ search

bool MatchesMask(std::string_view cp932_name, std::string_view cp932_mask) {
  auto name = Cp932ToUtf8(cp932_name);
  auto mask = Cp932ToUtf8(cp932_mask);
  if (!name || !mask || mask->empty() || MaskHasFolderPart(cp932_mask)) return false;
  return CompiledMask(FoldedCodePoints(NormalFormC(*mask)))
      .Match(FoldedCodePoints(NormalFormC(*name)));
}

bool MaskHasFolderPart(std::string_view cp932_mask) {
  // "/" is never the second byte of a double-byte character.
  return cp932_mask.find(kPathDelimiter) != std::string_view::npos;
}

std::vector<TSearchRec> FindFiles(std::string_view native_directory, std::string_view cp932_mask,
                                  int attr) {
  std::vector<TSearchRec> found;
  auto mask = Cp932ToUtf8(cp932_mask);
  if (native_directory.empty() || native_directory.find('\0') != std::string_view::npos || !mask ||
      mask->empty() || MaskHasFolderPart(cp932_mask))
    return found;
  CompiledMask compiled(FoldedCodePoints(NormalFormC(*mask)));

  std::unique_ptr<DIR, DirCloser> dir(opendir(std::string(native_directory).c_str()));
  if (!dir) return found;
  const int excluded = ~attr & (faHidden | faSysFile | faVolumeID | faDirectory);
  const int dir_fd = dirfd(dir.get());
  while (dirent* entry = readdir(dir.get())) {
    std::string_view name = entry->d_name;
    if (name == "." || name == "..") continue;
    const std::string composed = NormalFormC(name);
    if (!compiled.Match(FoldedCodePoints(composed))) continue;
    struct stat st;
    if (fstatat(dir_fd, entry->d_name, &st, 0) != 0 &&
        fstatat(dir_fd, entry->d_name, &st, AT_SYMLINK_NOFOLLOW) != 0)
      continue;
    TSearchRec rec;
    rec.Attr = AttributesOf(st, name);
    if (rec.Attr & excluded) continue;
    rec.Time = UnixTimeToDosDateTime(st.st_mtime).value_or(0);
    rec.Size = S_ISREG(st.st_mode) ? static_cast<std::int64_t>(st.st_size) : 0;
    TShownName shown = ShowName(name, composed);
    rec.Name = std::move(shown.Text);
    rec.NameHasCp932Form = shown.Exact;
    rec.NativeName = name;
    found.push_back(std::move(rec));
  }
  return found;
}

// ------------------------------------------------------------ services

bool DirectoryExists(std::string_view path) {
  struct stat st;
  return StatNative(path, st, true) && S_ISDIR(st.st_mode);
}

bool FileExists(std::string_view path) {
  struct stat st;
  return StatNative(path, st, true) && !S_ISDIR(st.st_mode);
}

bool IsSymbolicLink(std::string_view path) {
  struct stat st;
  return StatNative(path, st, false) && S_ISLNK(st.st_mode);
}

bool CreateDir(std::string_view path) {
  auto native = UsablePath(path);
  return native && mkdir(native->c_str(), 0777) == 0;
}

bool RemoveDir(std::string_view path) {
  auto native = UsablePath(path);
  return native && rmdir(native->c_str()) == 0;
}

bool DeleteFile(std::string_view path) {
  auto native = UsablePath(path);
  return native && unlink(native->c_str()) == 0;
}

std::optional<DosDateTime> FileAge(std::string_view path) {
  struct stat st;
  if (!StatNative(path, st, true) || S_ISDIR(st.st_mode)) return std::nullopt;
  return UnixTimeToDosDateTime(st.st_mtime);
}

bool CopyFileOverwriting(std::string_view source, std::string_view target) {
  auto native_source = UsablePath(source);
  auto native_target = UsablePath(target);
  if (!native_source || !native_target || native_target->back() == kPathDelimiter) return false;

  // Non-blocking so that a FIFO put in the file's place cannot hang the run.
  Fd in(open(native_source->c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
  if (in.get() < 0) return false;
  struct stat st;
  if (fstat(in.get(), &st) != 0 || !S_ISREG(st.st_mode)) return false;

  auto slash = native_target->rfind(kPathDelimiter);
  const std::string folder =
      slash == std::string::npos ? std::string() : native_target->substr(0, slash + 1);
  switch (CopyAsUnnamedFile(in.get(), st, folder, *native_target)) {
    case UnnamedCopy::kCopied:
      return true;
    case UnnamedCopy::kFailed:
      return false;
    case UnnamedCopy::kNotPossible:
      break;
  }
  // Where the file system has no unnamed files: a hidden temporary one.
  if (lseek(in.get(), 0, SEEK_SET) != 0) return false;
  std::string temp = folder + kTemporaryPrefix + "XXXXXX";
  Fd out(mkostemp(temp.data(), O_CLOEXEC));
  if (out.get() < 0) return false;
  bool ok = FillCopy(in.get(), out.get(), st);
  ok = out.Close() && ok;
  ok = ok && rename(temp.c_str(), native_target->c_str()) == 0;
  if (!ok) unlink(temp.c_str());
  return ok;
}

}  // namespace platform
