// Writing a file safely: the bytes go to a hidden temporary file beside the
// file they are meant for, which takes that file's name only once it is
// complete. Until then the old file, if any, is untouched, and a temporary
// file that never gets its name is removed.
#pragma once

#include <string>

#include "platform/file_descriptor.h"

namespace platform {

class TemporaryFile {
 public:
  TemporaryFile() = default;
  // Removes the file unless it was moved to its name.
  ~TemporaryFile();
  TemporaryFile(const TemporaryFile&) = delete;
  TemporaryFile& operator=(const TemporaryFile&) = delete;

  // Makes a new empty file named `path_prefix` and six random letters, open
  // for writing; false with errno set when it cannot be made.
  bool Create(const std::string& path_prefix);

  int Descriptor() const { return fd_.Get(); }
  bool IsOpen() const { return fd_.IsOpen(); }
  const std::string& Path() const { return path_; }

  bool Write(const char* data, std::size_t size) { return WriteAll(fd_.Get(), data, size); }
  // Closes the descriptor; false with errno set when the close fails.
  bool Close() { return fd_.Close(); }
  // Gives the closed, complete file the name `target`, replacing whatever
  // is there in one step; false with errno set (the temporary file then
  // stays until Discard or the destructor).
  bool MoveTo(const std::string& target);
  // Closes and removes it now; errno is kept as it was.
  void Discard();

 private:
  FileDescriptor fd_;
  std::string path_;  // empty once moved or removed
};

}  // namespace platform
