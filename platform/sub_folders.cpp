#include "platform/sub_folders.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <cerrno>

#include <memory>

#include "platform/file_system.h"
#include "platform/path_rules.h"

namespace platform {
namespace {

struct DirCloser {
  void operator()(DIR* dir) const { closedir(dir); }
};

// A folder: the entry's type as the directory tells it, asked of the entry
// itself where the file system does not tell, and of what a link leads to
// where links count.
bool IsFolder(int dir_fd, const dirent& entry, FolderLinks links) {
  if (entry.d_type == DT_DIR) return true;
  const bool follow = links == FolderLinks::kFollowed && entry.d_type == DT_LNK;
  if (entry.d_type != DT_UNKNOWN && !follow) return false;
  struct stat st;
  const int flags = links == FolderLinks::kFollowed ? 0 : AT_SYMLINK_NOFOLLOW;
  return fstatat(dir_fd, entry.d_name, &st, flags) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

std::vector<TSubFolder> FindSubFolders(std::string_view native_directory, FolderLinks links,
                                       int* error) {
  std::vector<TSubFolder> found;
  int ignored = 0;
  int& failure = error ? *error : ignored;
  failure = 0;
  const std::optional<std::string> directory = UsableNativePath(native_directory);
  if (!directory) return found;
  std::unique_ptr<DIR, DirCloser> dir(opendir(directory->c_str()));
  if (!dir) {
    failure = errno;
    return found;
  }
  const int dir_fd = dirfd(dir.get());
  for (;;) {
    errno = 0;
    const dirent* entry = readdir(dir.get());
    if (!entry) {
      failure = errno;
      break;
    }
    const std::string_view name = entry->d_name;
    // Hidden, as a name beginning with "." makes a file hidden; "." and ".." too.
    if (name.empty() || name.front() == '.') continue;
    if (!IsFolder(dir_fd, *entry, links)) continue;
    found.push_back({ShowNativeName(name).Text, std::string(name)});
  }
  return found;
}

}  // namespace platform
