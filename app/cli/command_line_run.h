// varnek without a window: a run or a preview driven by the arguments,
// through the same engine as the window, the log on standard output.
#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace app::cli {

// Exit statuses.
inline constexpr int kExitAllCopied = 0;   // every file copied (or none to copy)
inline constexpr int kExitSomeFailed = 1;  // some files were not copied
inline constexpr int kExitStopped = 2;     // the run stopped, or the arguments are wrong

// Does what `args` (after the program name) ask for and returns the exit
// status. The log goes to `out`, messages about the arguments to `err`,
// both in UTF-8. `program_path` is the program's own path, for the help
// file's place shown by --help.
int RunCommandLine(const std::vector<std::string>& args, const std::string& program_path,
                   std::ostream& out, std::ostream& err);

// The text --help prints; `help_file` is the help file's path, or empty
// when it is not there.
std::string UsageText(const std::string& help_file);

}  // namespace app::cli
