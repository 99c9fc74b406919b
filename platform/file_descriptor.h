// An open file's descriptor with one owner, and the loop that writes a
// piece of memory out whole: what every writer of files here builds on.
#pragma once

#include <cstddef>

namespace platform {

// Owns a descriptor and closes it when it goes.
class FileDescriptor {
 public:
  FileDescriptor() = default;
  explicit FileDescriptor(int fd) : fd_(fd) {}
  ~FileDescriptor();
  FileDescriptor(FileDescriptor&& other) noexcept : fd_(other.Release()) {}
  FileDescriptor& operator=(FileDescriptor&& other) noexcept;
  FileDescriptor(const FileDescriptor&) = delete;
  FileDescriptor& operator=(const FileDescriptor&) = delete;

  int Get() const { return fd_; }
  bool IsOpen() const { return fd_ >= 0; }
  // Closes now and reports whether the close succeeded (errno says why
  // not): a write the system had only buffered may fail only here.
  bool Close();
  // Gives up ownership without closing.
  int Release();

 private:
  int fd_ = -1;
};

// Writes all `size` bytes, through short writes and interruptions; false
// with errno set when they cannot all be written (ENOSPC when the system
// takes no more without saying why).
bool WriteAll(int fd, const char* data, std::size_t size);

}  // namespace platform
