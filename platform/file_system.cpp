#include "platform/file_system.h"

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

bool StatNative(std::string_view native_path, struct stat& st, bool follow) {
  auto path = UsableNativePath(native_path);
  if (!path) return false;
  return (follow ? stat(path->c_str(), &st) : lstat(path->c_str(), &st)) == 0;
}

}  // namespace

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
  auto native = UsableNativePath(path);
  if (!native) errno = EINVAL;
  return native && mkdir(native->c_str(), 0777) == 0;
}

bool RemoveDir(std::string_view path) {
  auto native = UsableNativePath(path);
  if (!native) errno = EINVAL;
  return native && rmdir(native->c_str()) == 0;
}

int ListingError(std::string_view path) {
  auto native = UsableNativePath(path);
  if (!native) return EINVAL;
  DIR* dir = opendir(native->c_str());
  if (!dir) return errno;
  errno = 0;
  const int error = readdir(dir) ? 0 : errno;
  closedir(dir);
  return error;
}

bool DeleteFile(std::string_view path) {
  auto native = UsableNativePath(path);
  return native && unlink(native->c_str()) == 0;
}

std::optional<DosDateTime> FileAge(std::string_view path) {
  struct stat st;
  if (!StatNative(path, st, true) || S_ISDIR(st.st_mode)) return std::nullopt;
  return UnixTimeToDosDateTime(st.st_mtime);
}

}  // namespace platform
