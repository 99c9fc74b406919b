// The preview as the listing benchmarks time it: the engine's own walk
// without a window, its log kept in a string list as a caller without a
// window keeps it, no progress bar.
#pragma once

#include <benchmark/benchmark.h>

#include "app/core/copy_run.h"

namespace bench {

// Times the preview of `input` in every round of `state` (freeing the log
// is no part of it), counts the names and log entries of the last round,
// and fails the benchmark unless it named `expected_names` files.
void TimePreviewRounds(benchmark::State& state, const app::RunSettings& input, int expected_names);

}  // namespace bench
