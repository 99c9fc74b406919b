// The file-system services the copy run and the file list rely on. Entries
// are addressed by the file system's own bytes (native paths), so that a
// name without a CP932 form is reached like any other. This header gathers
// the pieces: the path rules, names on disk and their shown form, wildcard
// masks, the directory search and copying each have a file of their own.
#pragma once

#include <optional>
#include <string_view>

#include "platform/directory_search.h"
#include "platform/dos_date_time.h"
#include "platform/file_copy.h"
#include "platform/native_name.h"
#include "platform/path_rules.h"
#include "platform/wildcard.h"

namespace platform {

// ------------------------------------------------------------ services
// Every path here is native.

bool DirectoryExists(std::string_view path);
// An entry that exists and is not a directory.
bool FileExists(std::string_view path);
// The entry itself is a symbolic link (whatever it points to, if anything).
bool IsSymbolicLink(std::string_view path);
// Creates and removes a directory; false with errno set when they cannot.
bool CreateDir(std::string_view path);
// Removes an empty directory; never follows a symbolic link.
bool RemoveDir(std::string_view path);
// Why the directory's entries cannot be read (an errno value); 0 when its
// first entries can.
int ListingError(std::string_view path);
// Removes a file (a symbolic link itself, not its target); not a directory.
bool DeleteFile(std::string_view path);

// The last-write time as a local DOS date-time; no value when the entry is
// missing, is a directory, or its time lies outside the DOS range.
std::optional<DosDateTime> FileAge(std::string_view path);

}  // namespace platform
