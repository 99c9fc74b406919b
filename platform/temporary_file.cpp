#include "platform/temporary_file.h"

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

namespace platform {

TemporaryFile::~TemporaryFile() {
  Discard();
}

bool TemporaryFile::Create(const std::string& path_prefix) {
  Discard();
  std::string path = path_prefix + "XXXXXX";
  FileDescriptor fd(mkostemp(path.data(), O_CLOEXEC));
  if (!fd.IsOpen()) return false;
  fd_ = std::move(fd);
  path_ = std::move(path);
  return true;
}

bool TemporaryFile::MoveTo(const std::string& target) {
  if (rename(path_.c_str(), target.c_str()) != 0) return false;
  path_.clear();
  return true;
}

void TemporaryFile::Discard() {
  const int error = errno;
  fd_.Close();
  if (!path_.empty()) unlink(path_.c_str());
  path_.clear();
  errno = error;
}

}  // namespace platform
