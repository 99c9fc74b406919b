#include "platform/program_data.h"

#include <filesystem>
#include <system_error>

#ifndef PIRUKKO_DATA_FROM_PROGRAM
#error "PIRUKKO_DATA_FROM_PROGRAM must name the data folder relative to the program's folder"
#endif

namespace platform {

namespace fs = std::filesystem;

std::vector<std::string> ProgramDataCandidates(std::string_view program_path,
                                               std::string_view file_name) {
  const fs::path folder = fs::path(program_path).parent_path();
  return {(folder / file_name).lexically_normal().string(),
          (folder / PIRUKKO_DATA_FROM_PROGRAM / file_name).lexically_normal().string()};
}

std::optional<std::string> FindProgramDataFile(std::string_view program_path,
                                               std::string_view file_name) {
  for (std::string& candidate : ProgramDataCandidates(program_path, file_name)) {
    std::error_code error;
    if (fs::is_regular_file(candidate, error)) return std::move(candidate);
  }
  return std::nullopt;
}

}  // namespace platform
