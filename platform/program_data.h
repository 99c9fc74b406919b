// Where the program finds its own data files (the help text): next to the
// program first, as in the build folder or a copy kept together in one
// folder, then in the data folder of the installation the program belongs to
// (<prefix>/bin/varnek → <prefix>/share/pirukko/). The second place is found
// from the program's own path, so an installation works wherever its prefix
// is, also unpacked into any folder.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// The places looked at, in order, for `file_name` (native paths).
std::vector<std::string> ProgramDataCandidates(std::string_view program_path,
                                               std::string_view file_name);

// The first of them that is a regular file (links followed).
std::optional<std::string> FindProgramDataFile(std::string_view program_path,
                                               std::string_view file_name);

}  // namespace platform
