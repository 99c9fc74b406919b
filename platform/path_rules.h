// The program's path rules, in one place: "/" separates; the root "/" is the
// top of the tree and already ends in the separator, so nothing is added
// after it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

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

// A native path as the system calls take it; no value when it is empty or
// holds a NUL byte (which would cut it short and name another entry).
std::optional<std::string> UsableNativePath(std::string_view native_path);

}  // namespace platform
