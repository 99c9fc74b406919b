// The dates an AVI file keeps as text, found by walking its RIFF chunks:
// the camera's "IDIT" chunk (in the header list, or beside it), the
// "nctg" records Nikon's cameras keep in their "ncdt" list (tag 0x13 the
// moment the clip was taken, 0x14 the moment it was written), and the
// creation date "ICRD" of the "INFO" list, which may be a day alone.
#pragma once

#include <string>
#include <vector>

#include "platform/native_file.h"

namespace platform {

// The texts in that order of trust, as they stand in the file (NULs and line
// ends included); none for a file that is no AVI or holds none.
std::vector<std::string> AviDateTexts(const TOpenedFile& file);

}  // namespace platform
