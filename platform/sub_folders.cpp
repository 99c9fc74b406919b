#include "platform/sub_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <memory>

#include "platform/file_system.h"

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// A folder of its own: the entry's type as the directory tells it, asked of
// the entry itself (a link stays a link) only where the file system does not.
bool IsRealFolder(int dir_fd, const dirent& entry) {
  if (entry.d_type == DT_DIR) return true;
  if (entry.d_type != DT_UNKNOWN) return false;
  struct stat st;
  return fstatat(dir_fd, entry.d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<TSubFolder> FindSubFolders(std::string_view native_directory) {
  std::vector<TSubFolder> found;
  if (native_directory.empty() || native_directory.find('\0') != std::string_view::npos)
    return found;
  std::unique_ptr<DIR, DirCloser> dir(opendir(std::string(native_directory).c_str()));
  if (!dir) return found;
  const int dir_fd = dirfd(dir.get());
  while (const dirent* entry = readdir(dir.get())) {
    const std::string_view name = entry->d_name;
    // Hidden, as a name beginning with "." makes a file hidden; "." and ".." too.
    if (name.empty() || name.front() == '.') continue;
    if (!IsRealFolder(dir_fd, *entry)) continue;
    found.push_back({ShowNativeName(name).Text, std::string(name)});
  }
  return found;
}

}  // namespace platform
