// The copy run on its own, without a window, as the copy-run benchmarks
// time it: the default naming settings, every file ("*.*") into
// "NewFolder", the log kept in a string list, no progress bar.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>

#include "app/core/copy_run.h"

namespace bench {

class CoreCopyRun {
 public:
  CoreCopyRun();

  // Runs it on `source`; the seconds from clearing the log to the closing
  // entry, or nothing when the new folder does not hold `expected_files`.
  std::optional<double> Time(const std::filesystem::path& source, std::size_t expected_files);

  // The run's settings, for a benchmark that changes them.
  app::RunSettings& input() { return input_; }

  // Files whose copy failed, over every run so far.
  int failed() const { return failed_; }
  // Entries of the last run's log.
  std::size_t log_entries() const { return log_entries_; }

 private:
  app::RunSettings input_;
  int failed_ = 0;
  std::size_t log_entries_ = 0;
};

}  // namespace bench
