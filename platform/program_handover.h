// One program handing its process over to another of the installation: the
// command-line program `varnek` hands a start with a window to the window's
// own program, so that a run from a script never loads the window system.
// The program the user started is passed on, so that the window finds the
// files that lie beside it (the help text).
#pragma once

#include <optional>
#include <string>

namespace platform {

// The path of the running program's file, links resolved; no value when
// the system does not tell.
std::optional<std::string> OwnProgramPath();

// Replaces this process with `program`, passing `argv` unchanged (argv[0]
// included) and `started_as` as the program the user started. Returns only
// when that fails, with the reason (an errno value).
int HandOverTo(const std::string& program, char* const argv[], const std::string& started_as);

// In the program handed over to: the program the user started, or no value
// when this one was started directly. Asked once; the process's children
// do not see it.
std::optional<std::string> TakeStartedProgram();

}  // namespace platform
