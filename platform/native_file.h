// Files named as the file system spells them. The rest of the program names
// files by CP932 bytes; a text editor must also open and save a file whose
// name has no CP932 form (a wave dash, an emoji), so these take the name's
// own bytes and report failures with the system's error number.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "platform/temporary_file.h"

namespace platform {

// A failed file operation: what was attempted on which file, and why.
class ENativeFileError : public std::runtime_error {
 public:
  ENativeFileError(const std::string& what, int error_number)
      : std::runtime_error(what), error_number_(error_number) {}
  int ErrorNumber() const { return error_number_; }

 private:
  int error_number_;
};

// A regular file held open for reading. Its CP932 path names the very file
// that was opened, even when its own name has no CP932 form or the name has
// since been given to another file.
class TOpenedFile {
 public:
  // Raises ENativeFileError when the file cannot be opened or is not a
  // regular file (EISDIR for a folder, EINVAL for a device or a pipe).
  explicit TOpenedFile(const std::string& native_path);
  ~TOpenedFile();
  TOpenedFile(const TOpenedFile&) = delete;
  TOpenedFile& operator=(const TOpenedFile&) = delete;

  std::uint64_t Size() const { return size_; }
  // Up to `size` bytes from `offset`; fewer at the end or on an error.
  std::size_t ReadAt(std::uint64_t offset, std::uint8_t* into, std::size_t size) const;
  // A CP932 (in fact ASCII) path through which readers reach this file.
  std::string Cp932Path() const;

 private:
  int fd_ = -1;
  std::uint64_t size_ = 0;
};

// Replaces a file only once its new bytes are complete on the disk: they go
// into a hidden temporary file in the same folder, which is flushed and then
// renamed over the old file. Until Commit the old file is untouched; a writer
// destroyed without Commit (an error, a cancelled save) removes its
// temporary file. A symbolic link is written through: its target is replaced
// and the link stays. The new file keeps the old one's permission bits; a
// new file gets the usual ones (0666 without the umask).
class TSafeFileWriter {
 public:
  // Raises ENativeFileError when the temporary file cannot be made.
  explicit TSafeFileWriter(const std::string& native_path);
  ~TSafeFileWriter();
  TSafeFileWriter(const TSafeFileWriter&) = delete;
  TSafeFileWriter& operator=(const TSafeFileWriter&) = delete;

  // Buffered; raises ENativeFileError when the bytes cannot be written
  // (a full disk, a file-size limit).
  void Write(std::string_view bytes);
  // Flushes, syncs and renames; raises ENativeFileError on failure, and the
  // old file is then still whole.
  void Commit();

  // The file that is replaced (the link's target for a symbolic link).
  const std::string& TargetPath() const { return target_; }

 private:
  void Flush();
  void WriteAll(const char* data, std::size_t size);
  [[noreturn]] void Fail(const char* what);

  std::string target_;
  TemporaryFile file_;
  unsigned mode_ = 0;
  std::unique_ptr<char[]> buffer_;
  std::size_t used_ = 0;
};

}  // namespace platform
