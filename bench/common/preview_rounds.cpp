#include "bench/common/preview_rounds.h"

#include <memory>

#include "platform/string_list.h"

namespace bench {
void TimePreviewRounds(benchmark::State& state, const app::RunSettings& input, int expected_names) {
  app::NoCopyProgress progress;
  app::CopyRunResult result;
  int entries = 0;
  for (auto _ : state) {
    auto lines = std::make_unique<platform::TStringList>();
    app::StringsCopyLog log(*lines);
    result = app::PreviewCopy(input, log, progress);
    entries = lines->Count();
    state.PauseTiming();
    lines.reset();
    state.ResumeTiming();
  }
  state.counters["names"] = result.copied;
  state.counters["entries"] = entries;
  if (result.copied != expected_names) state.SkipWithError("the preview did not name every file");
}

}  // namespace bench
