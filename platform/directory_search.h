// The directory search: the entries of a folder whose names match a mask,
// with the attributes and times the program's file list shows.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dos_date_time.h"

namespace platform {

enum : int {
  faReadOnly = 0x01,  // the owner may not write
  faHidden = 0x02,    // the name begins with "."
  faSysFile = 0x04,   // neither a regular file nor a directory
  faVolumeID = 0x08,  // never set here
  faDirectory = 0x10,
  faArchive = 0x20,  // a regular file
  faAnyFile = 0x3F,
};

// One entry found by a directory search. Symbolic links are followed; a link
// whose target is gone counts as a system entry.
struct TSearchRec {
  DosDateTime Time = 0;   // last write, local; 0 when outside the DOS range
  std::int64_t Size = 0;  // bytes; 0 for anything but a regular file
  int Attr = 0;
  std::string Name;        // CP932, as ShowNativeName shows it
  std::string NativeName;  // the name on disk: what reaches the entry
  // False when `Name` only shows the name approximately.
  bool NameHasCp932Form = true;
};

// Every entry of the native directory whose name matches the CP932 `mask`,
// except entries carrying one of hidden, system, volume label or directory
// that `attr` does not hold. "." and ".." are never reported. A missing
// directory or an unusable mask gives no entries. A directory that cannot
// be read, wholly or in part, puts the reason (an errno value) into
// `error`, when given; 0 when it was read to its end.
std::vector<TSearchRec> FindFiles(std::string_view native_directory, std::string_view cp932_mask,
                                  int attr, int* error = nullptr);

}  // namespace platform
