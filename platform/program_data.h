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

// The places looked at, in order, for a program that only the program
// itself starts (the window's): next to the program, as in the build
// folder, then in the installation's folder for such programs
// (<prefix>/bin/varnek → <prefix>/libexec/pirukko/).
std::vector<std::string> HelperProgramCandidates(std::string_view program_path,
                                                 std::string_view name);

// The first of them that is a regular file the user may run.
std::optional<std::string> FindHelperProgram(std::string_view program_path, std::string_view name);

}  // namespace platform
