// The file-system services the copy run and the file list rely on, with the
// program's path rules in one place. Entries are addressed by the file
// system's own bytes (native paths), so that a name without a CP932 form is
// reached like any other; the rules that turn those bytes into the CP932
// text the program shows and composes with, and back, are here and nowhere
// else.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/dos_date_time.h"

namespace platform {

// ------------------------------------------------------------ path rules
// "/" separates; the root "/" is the top of the tree and already ends in
// the separator, so nothing is added after it.

inline constexpr char kPathDelimiter = '/';

// "" when `directory` already ends in the separator (the root), else "/".
std::string_view SeparatorAfter(std::string_view directory);

// directory + separator + name, with the rule above.
std::string JoinPath(std::string_view directory, std::string_view name);

// The file-name part of a path: the text after the last "/".
std::string ExtractFileName(std::string_view path);

// A path from the top of the tree: it begins with "/". Anything else would
// be taken from wherever the program happens to run.
bool IsFullPath(std::string_view path);

// ------------------------------------------------------- names on disk
// A name on disk that has no exact CP932 form as it stands is brought to
// Unicode normal form C, so that a name another system wrote with separate
// voiced-sound marks ("か" + U+3099) converts like the composed one ("が").

// The native path of a CP932 path (a name the program composed, the folder
// name typed by the user); no value when the bytes are not CP932, hold a
// NUL byte or are empty.
std::optional<std::string> ToNativePath(std::string_view cp932_path);

// The CP932 form of a name or path on disk; no value unless it (in normal
// form C) converts there and back unchanged, so that the CP932 text stands
// for this name and no other.
std::optional<std::string> FromNativeName(std::string_view native_name);

// How the program shows a name or path on disk: its exact CP932 form when
// there is one, else with "?" for each character that has none ("〜" shows
// as "～", which is another name). `Exact` tells which.
struct TShownName {
  std::string Text;
  bool Exact = true;
};
TShownName ShowNativeName(std::string_view native_name);

// ------------------------------------------------------------ attributes

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

// True when `name` matches the wildcard `mask` as users know it: letter
// case ignored, "*" any run, "?" exactly one character (a double-byte
// character is one), a final ".*" also matches a name without that
// extension, so "*.*" and "*" match every name, and a final "." matches a
// name without any extension ("*." every such name). A mask holding "/"
// matches nothing: masks match names, never paths.
bool MatchesMask(std::string_view cp932_name, std::string_view cp932_mask);

// True when `mask` names something in another folder.
bool MaskHasFolderPart(std::string_view cp932_mask);

// Every entry of the native directory whose name matches the CP932 `mask`,
// except entries carrying one of hidden, system, volume label or directory
// that `attr` does not hold. "." and ".." are never reported. A missing
// directory or an unusable mask gives no entries.
std::vector<TSearchRec> FindFiles(std::string_view native_directory, std::string_view cp932_mask,
                                  int attr);

// ------------------------------------------------------------ services
// Every path here is native.

bool DirectoryExists(std::string_view path);
// An entry that exists and is not a directory.
bool FileExists(std::string_view path);
// The entry itself is a symbolic link (whatever it points to, if anything).
bool IsSymbolicLink(std::string_view path);
bool CreateDir(std::string_view path);
// Removes an empty directory; never follows a symbolic link.
bool RemoveDir(std::string_view path);
// Removes a file (a symbolic link itself, not its target); not a directory.
bool DeleteFile(std::string_view path);

// The last-write time as a local DOS date-time; no value when the entry is
// missing, is a directory, or its time lies outside the DOS range.
std::optional<DosDateTime> FileAge(std::string_view path);

// Copies a regular file over whatever `target` names, keeping the source's
// last-write time and permission bits. The data goes to a file without a
// name in the target's directory (where the file system has none, a hidden
// temporary file) that takes the target's place only when it is complete:
// on failure the target is as it was and no partial file is left behind.
bool CopyFileOverwriting(std::string_view source, std::string_view target);

}  // namespace platform
