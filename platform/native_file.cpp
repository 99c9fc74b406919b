#include "platform/native_file.h"

#include <fcntl.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace platform {
namespace {

constexpr std::size_t kWriteBufferSize = 1 << 20;

std::string DescribeFailure(const char* what, const std::string& path) {
  return std::string(what) + " " + path;
}

// The folder part of a path with its final "/", or "" for a bare name.
std::string FolderOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string NameOf(const std::string& path) {
  const auto slash = path.rfind('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The permission bits a newly created file gets: 0666 without the umask.
unsigned NewFileMode() {
  const mode_t mask = umask(0);
  umask(mask);
  return 0666 & ~mask;
}

}  // namespace

// ------------------------------------------------------------------ reading

TOpenedFile::TOpenedFile(const std::string& native_path) {
  // Non-blocking, so that a FIFO put in the file's place cannot hang the window.
  fd_ = open(native_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  if (fd_ < 0) throw ENativeFileError(DescribeFailure("Cannot open", native_path), errno);
  struct stat st;
  int error = 0;
  if (fstat(fd_, &st) != 0)
    error = errno;
  else if (S_ISDIR(st.st_mode))
    error = EISDIR;
  else if (!S_ISREG(st.st_mode))
    error = EINVAL;
  if (error != 0) {
    close(fd_);
    throw ENativeFileError(DescribeFailure("Cannot open", native_path), error);
  }
  size_ = static_cast<std::uint64_t>(st.st_size);
}

TOpenedFile::~TOpenedFile() {
  if (fd_ >= 0) close(fd_);
}

std::size_t TOpenedFile::ReadAt(std::uint64_t offset, std::uint8_t* into, std::size_t size) const {
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = pread(fd_, into + done, size - done, static_cast<off_t>(offset + done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::string TOpenedFile::Cp932Path() const {
  return "/proc/self/fd/" + std::to_string(fd_);
}

// ------------------------------------------------------------------ writing

TSafeFileWriter::TSafeFileWriter(const std::string& native_path) : target_(native_path) {
  struct stat st;
  if (lstat(native_path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
    char resolved[PATH_MAX];
    if (!realpath(native_path.c_str(), resolved))
      throw ENativeFileError(DescribeFailure("Cannot follow the link", native_path), errno);
    target_ = resolved;
  }
  if (stat(target_.c_str(), &st) == 0) {
    if (S_ISDIR(st.st_mode))
      throw ENativeFileError(DescribeFailure("Cannot replace", target_), EISDIR);
    if (!S_ISREG(st.st_mode))
      throw ENativeFileError(DescribeFailure("Cannot replace", target_), EINVAL);
    mode_ = st.st_mode & 07777 & ~(S_ISUID | S_ISGID);
  } else {
    mode_ = NewFileMode();
  }

  if (!file_.Create(FolderOf(target_) + "." + NameOf(target_) + ".pirukko-save-"))
    throw ENativeFileError(DescribeFailure("Cannot create a file beside", target_), errno);
  buffer_.reset(new char[kWriteBufferSize]);
}

// The temporary file goes with the writer unless Commit gave it its name.
TSafeFileWriter::~TSafeFileWriter() = default;

void TSafeFileWriter::Fail(const char* what) {
  const int error = errno;
  file_.Discard();
  throw ENativeFileError(DescribeFailure(what, target_), error);
}

void TSafeFileWriter::WriteAll(const char* data, std::size_t size) {
  if (!file_.Write(data, size)) Fail("Cannot write");
}

void TSafeFileWriter::Flush() {
  const std::size_t used = used_;
  used_ = 0;
  WriteAll(buffer_.get(), used);
}

void TSafeFileWriter::Write(std::string_view bytes) {
  if (!file_.IsOpen()) {
    errno = EBADF;
    Fail("Cannot write");
  }
  if (bytes.size() >= kWriteBufferSize / 2) {
    // Large pieces go out directly, without a copy through the buffer.
    Flush();
    WriteAll(bytes.data(), bytes.size());
    return;
  }
  if (used_ + bytes.size() > kWriteBufferSize) Flush();
  std::memcpy(buffer_.get() + used_, bytes.data(), bytes.size());
  used_ += bytes.size();
}

void TSafeFileWriter::Commit() {
  if (!file_.IsOpen()) {
    errno = EBADF;
    Fail("Cannot write");
  }
  Flush();
  if (fchmod(file_.Descriptor(), mode_) != 0) Fail("Cannot set the permissions of");
  if (fsync(file_.Descriptor()) != 0) Fail("Cannot write");
  if (!file_.Close()) Fail("Cannot write");
  if (!file_.MoveTo(target_)) Fail("Cannot replace");
  // The new name is durable only once the folder is synced too.
  const int dir = open(FolderOf(target_).empty() ? "." : FolderOf(target_).c_str(),
                       O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (dir >= 0) {
    fsync(dir);
    close(dir);
  }
}

}  // namespace platform
