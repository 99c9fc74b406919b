// The desktop's trash: a file moved there can be put back from the file
// manager, as freedesktop.org lays the trash out for every desktop (the
// file under Trash/files, where it came from and when in Trash/info).
#pragma once

#include <string>
#include <string_view>

namespace platform {

// Moves the file at `path` (as the file system names it) to the trash of
// the user's desktop, or of the file's own file system where the desktop
// keeps one there. False when it cannot be moved, with the reason in
// `reason` (in UTF-8, when given): a file system without a trash, a trash
// that cannot be written, a file that has gone.
bool MoveToTrash(std::string_view path, std::string* reason = nullptr);

}  // namespace platform
