// The arguments of varnek: the window with an optional start directory, or
// a run or preview without a window whose options mirror the window's
// settings, with the window's start values as defaults.
//
//   varnek [DIRECTORY]
//   varnek --run|--preview [OPTIONS] DIRECTORY
//   varnek --help | --version
//
// Parsing only looks at the text (UTF-8 as typed); what the text means for
// the run (CP932 forms, the directory) is checked when the run is set up.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "app/core/run_settings.h"

namespace app::cli {

enum class Mode { kWindow, kRun, kPreview, kHelp, kVersion };

// What the arguments ask for; texts already in CP932, as the window's
// controls would hold them.
struct CommandLine {
  Mode mode = Mode::kWindow;
  // The run's settings, each option's default its start value; the first
  // --mask replaces the start mask. The directory is not among them: it is
  // checked and made absolute when the run is set up.
  RunSettings settings;
  // The directory as given (the file system's bytes): for the window
  // optional, for a run or a preview required.
  std::optional<std::string> directory;
};

struct ParseResult {
  std::optional<CommandLine> command_line;
  std::string error;  // what is wrong (UTF-8), when there is no command line
};

// True when the arguments ask for the command line rather than the window:
// they hold --run, --preview, --help, -h, --version or one of the run's
// options (which, without --run or --preview, are then reported as an error
// without needing a display).
bool AsksForCommandLine(const std::vector<std::string>& args);

// Parses the arguments after the program name (UTF-8 as typed).
// "--name=value" and "--name value" are both taken; "--" ends the options.
// An option given twice takes its last value, except --mask, which adds a
// mask each time. --subfolders and --keep-both take no value.
ParseResult ParseCommandLine(const std::vector<std::string>& args);

}  // namespace app::cli
