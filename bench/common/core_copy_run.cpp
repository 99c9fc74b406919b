#include "bench/common/core_copy_run.h"

#include <cstdio>

#include "app/core/naming.h"
#include "bench/common/copy_fixture.h"

namespace bench {

CoreCopyRun::CoreCopyRun() = default;

std::optional<double> CoreCopyRun::Time(const std::filesystem::path& source,
                                        std::size_t expected_files) {
  input_.source_directory = source.string();
  platform::TStringList lines;
  app::StringsCopyLog log(lines);
  app::NoCopyProgress progress;
  const auto start = Clock::now();
  const app::CopyRunResult result = app::ExecuteCopy(input_, log, progress);
  const double t = Seconds(Clock::now() - start);
  failed_ += result.failed;
  log_entries_ = static_cast<std::size_t>(lines.Count());
  const std::size_t copied = CountFiles(source / input_.folder_name);
  if (copied != expected_files) {
    std::fprintf(stderr, "the run copied %zu files\n", copied);
    return std::nullopt;
  }
  return t;
}

}  // namespace bench
