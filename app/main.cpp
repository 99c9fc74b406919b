// varnek: the Pirukko program. With --run or --preview it works without a
// window (app/cli) and loads nothing of the window system, so that a script
// pays only for what it uses. Otherwise it hands its process over to the
// window's own program, varnek-window (window_main.cpp), which lies next to
// it in the build folder and in <prefix>/libexec/pirukko/ once installed.
#include <cstring>
#include <iostream>
#include <optional>
#include <string>

#include "app/cli/command_line.h"
#include "app/cli/command_line_run.h"
#include "platform/program_data.h"
#include "platform/program_handover.h"

int main(int argc, char* argv[]) {
  const std::optional<std::string> self = platform::OwnProgramPath();
  if (app::cli::AsksForCommandLine({argv + 1, argv + argc})) {
    // Without its own path the program still runs; it only looks for the
    // help file nowhere but in the installation's data folder.
    return app::cli::RunCommandLine({argv + 1, argv + argc}, self.value_or(std::string()),
                                    std::cout, std::cerr);
  }

  const std::optional<std::string> window =
      self ? platform::FindHelperProgram(*self, "varnek-window") : std::nullopt;
  if (!window) {
    std::cerr << "varnek: ウインドウのプログラム varnek-window が見つかりません。\n";
    return app::cli::kExitStopped;
  }
  const int error = platform::HandOverTo(*window, argv, *self);
  std::cerr << "varnek: " << *window << " を起動できません: " << std::strerror(error) << "\n";
  return app::cli::kExitStopped;
}
