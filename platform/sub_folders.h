// The folders directly inside a folder, no hidden ones, as the file list
// leaves out hidden files: for a walk down a tree of folders only real
// folders, never a link to one; for a folder to choose, links too.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct TSubFolder {
  std::string Name;        // CP932, as ShowNativeName shows it
  std::string NativeName;  // the name on disk
};

enum class FolderLinks {
  kSkipped,   // a link to a folder is no folder of this one
  kFollowed,  // a link to a folder counts as one
};

// The visible folders inside the native directory, in the order the
// directory gives them. A missing or unreadable directory gives none; why
// it could not be read to its end goes into `error` (an errno value, 0
// when it was), when given.
std::vector<TSubFolder> FindSubFolders(std::string_view native_directory,
                                       FolderLinks links = FolderLinks::kSkipped,
                                       int* error = nullptr);

}  // namespace platform
