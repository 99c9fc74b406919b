// How long wrapping takes over a text of about 100 MB at WrapByte 80: the
// walk alone, run as the whole-text re-wrap runs it (one pass that counts the
// rows of every line wider than a row, then one that cuts them), and the
// screen-row list's WrapAll after LoadFromFile. Both against the load itself
// and the floor of reading the same file with one read and counting its lines.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "bench/common/japanese_text.h"
#include "editor/text/column_map.h"
#include "editor/text/split_lines.h"
#include "editor/text/wrap_option.h"
#include "editor/text/wrap_walk.h"
#include "tests/editor/text/test_owner.h"

namespace {

const std::string& Text() {
  static const std::string text = bench::MakeJapaneseText(bench::BenchTextBytes());
  return text;
}

// The text as a file, removed again when the program ends.
class TextFile {
 public:
  TextFile() : path_(std::filesystem::temp_directory_path() / "pirukko_wrap_bench.txt") {
    FILE* file = std::fopen(path_.c_str(), "wb");
    if (!file || std::fwrite(Text().data(), 1, Text().size(), file) != Text().size()) std::abort();
    std::fclose(file);
  }
  ~TextFile() { std::filesystem::remove(path_); }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

const TextFile& File() {
  static const TextFile file;
  return file;
}

void SetCounters(benchmark::State& state, std::size_t rows) {
  state.counters["MB/s"] = benchmark::Counter(static_cast<double>(Text().size()) / 1e6,
                                              benchmark::Counter::kIsIterationInvariantRate);
  state.counters["rows"] = static_cast<double>(rows);
}

void ReadAndCountLines(benchmark::State& state) {
  const std::string path = File().path();
  std::size_t lines = 0;
  for (auto _ : state) {
    lines = bench::ReadAndCountLines(path);
    benchmark::DoNotOptimize(lines);
  }
  SetCounters(state, lines);
}

void WrapWalk(benchmark::State& state) {
  editor::TEditorWrapOption option;
  option.SetWrapByte(static_cast<int>(state.range(0)));
  option.SetWordBreak(state.range(1) != 0);
  option.SetFollowPunctuation(state.range(1) != 0);
  option.SetLeading(state.range(1) != 0);
  editor::TColumnMapSettings columns;
  columns.WordWrap = true;
  columns.WrapWidth = option.WrapByte();
  const std::string& text = Text();
  std::size_t rows = 0;
  for (auto _ : state) {
    editor::TWrapWalk walk(option, columns);
    rows = 0;
    auto narrow = [&](std::string_view line) {
      return static_cast<int>(line.size()) < columns.WrapWidth &&
             editor::DisplayLength(line, columns) < columns.WrapWidth;
    };
    editor::ForEachLine(text, [&](std::string_view line) {
      rows += narrow(line) ? 1 : static_cast<std::size_t>(walk.WrapCount(line));
    });
    std::size_t bytes = 0;
    editor::ForEachLine(text, [&](std::string_view line) {
      if (narrow(line)) return;
      for (const auto& row : walk.CutLine(line)) bytes += row.Length;
    });
    benchmark::DoNotOptimize(bytes);
  }
  SetCounters(state, rows);
}

// A line view with its row list and one client, as the control owns them.
using Owner = editor::testing::TestOwner;

void LoadFromFile(benchmark::State& state) {
  const std::string path = File().path();
  std::size_t rows = 0;
  for (auto _ : state) {
    auto owner = std::make_unique<Owner>();
    owner->lines.LoadFromFile(path);
    state.PauseTiming();
    rows = static_cast<std::size_t>(owner->rows.GetCount());
    owner.reset();
    state.ResumeTiming();
  }
  SetCounters(state, rows);
}

void WrapAll(benchmark::State& state) {
  const std::string path = File().path();
  std::size_t rows = 0;
  for (auto _ : state) {
    state.PauseTiming();
    auto owner = std::make_unique<Owner>();
    owner->lines.LoadFromFile(path);
    owner->rows.WrapOption().SetWrapByte(80);
    // Word wrap goes on while the client is loading, so that nothing is
    // wrapped before the measured WrapAll.
    owner->client.loading = true;
    owner->rows.SetWordWrap(true);
    owner->client.loading = false;
    state.ResumeTiming();
    owner->rows.WrapAll();
    state.PauseTiming();
    rows = static_cast<std::size_t>(owner->rows.GetCount());
    owner.reset();
    state.ResumeTiming();
  }
  SetCounters(state, rows);
}

BENCHMARK(ReadAndCountLines)->Unit(benchmark::kMillisecond)->MinTime(2);
// WrapByte 80 with the options off (as the program's window sets them) and on.
BENCHMARK(WrapWalk)->Args({80, 0})->Args({80, 1})->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(LoadFromFile)->Unit(benchmark::kMillisecond)->MinTime(2);
BENCHMARK(WrapAll)->Unit(benchmark::kMillisecond)->MinTime(2);

}  // namespace

BENCHMARK_MAIN();
