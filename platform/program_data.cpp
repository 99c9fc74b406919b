#include "platform/program_data.h"

#include <unistd.h>

#include <filesystem>
#include <system_error>

#ifndef PIRUKKO_DATA_FROM_PROGRAM
#error "PIRUKKO_DATA_FROM_PROGRAM must name the data folder relative to the program's folder"
#endif
#ifndef PIRUKKO_HELPERS_FROM_PROGRAM
#error \
    "PIRUKKO_HELPERS_FROM_PROGRAM must name the helper programs' folder relative to the program's"
#endif

namespace platform {

namespace fs = std::filesystem;

namespace {

// `name` next to the program, then in `installed` relative to its folder.
std::vector<std::string> Candidates(std::string_view program_path, std::string_view installed,
                                    std::string_view name) {
  const fs::path folder = fs::path(program_path).parent_path();
  return {(folder / name).lexically_normal().string(),
          (folder / installed / name).lexically_normal().string()};
}

// The first candidate that is a regular file (links followed) and, when
// `runnable`, one the user may run.
std::optional<std::string> FirstFile(std::vector<std::string> candidates, bool runnable) {
  for (std::string& candidate : candidates) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error) &&
        (!runnable || access(candidate.c_str(), X_OK) == 0)) {
      return std::move(candidate);
    }
  }
  return std::nullopt;
}

}  // namespace

std::vector<std::string> ProgramDataCandidates(std::string_view program_path,
                                               std::string_view file_name) {
  return Candidates(program_path, PIRUKKO_DATA_FROM_PROGRAM, file_name);
}

std::optional<std::string> FindProgramDataFile(std::string_view program_path,
                                               std::string_view file_name) {
  return FirstFile(ProgramDataCandidates(program_path, file_name), false);
}

std::vector<std::string> HelperProgramCandidates(std::string_view program_path,
                                                 std::string_view name) {
  return Candidates(program_path, PIRUKKO_HELPERS_FROM_PROGRAM, name);
}

std::optional<std::string> FindHelperProgram(std::string_view program_path, std::string_view name) {
  return FirstFile(HelperProgramCandidates(program_path, name), true);
}

}  // namespace platform
