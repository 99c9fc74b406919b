// The main of a benchmark that works on a folder of its own.
#pragma once

#include <filesystem>
#include <functional>
#include <string>

namespace bench {

// Takes `--dir BASE` (default /tmp) off the command line, makes
// BASE/pirukko-STEM-XXXXXX, names it in `folder` and lets `fill` fill it,
// runs the benchmarks (the rest of the command line is google benchmark's)
// with the user's collation Japanese, and deletes the folder. Returns the
// program's exit status.
int RunInScratchFolder(int argc, char** argv, const std::string& stem,
                       const std::function<void(const std::filesystem::path&)>& fill,
                       std::filesystem::path& folder);

}  // namespace bench
