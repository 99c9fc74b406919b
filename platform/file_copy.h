// Copying a file the way the copy run needs it: complete under its new name
// or not there at all.
#pragma once

#include <string_view>

namespace platform {

// Copies a regular file over whatever `target` names, keeping the source's
// last-write time and permission bits. The data goes to a file without a
// name in the target's directory (where the file system has none, a hidden
// temporary file) that takes the target's place only when it is complete:
// on failure the target is as it was and no partial file is left behind.
bool CopyFileOverwriting(std::string_view source, std::string_view target);

}  // namespace platform
