// The folders directly inside a folder, for a walk down a tree of folders:
// only real folders, never a link to one, and no hidden ones, as the file
// list leaves out hidden files.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace platform {

struct TSubFolder {
  std::string Name;        // CP932, as ShowNativeName shows it
  std::string NativeName;  // the name on disk
};

// The visible folders inside the native directory, in the order the
// directory gives them. A missing or unreadable directory gives none.
std::vector<TSubFolder> FindSubFolders(std::string_view native_directory);

}  // namespace platform
