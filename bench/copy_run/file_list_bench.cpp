// Listing and sorting a directory of 100,000 names with the file list, and
// the parts of it: the directory search alone, and the sort alone; beside
// them the preview of a run over the same directory, which lists, sorts,
// dates and names every file and logs three lines for each, in name order
// and in date order.
//
//   file_list_bench [--dir /tmp] [google benchmark flags]
//
// The directory is made once under --dir and deleted at the end.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "app/core/copy_run.h"
#include "app/core/naming.h"
#include "bench/common/many_names.h"
#include "bench/common/preview_rounds.h"
#include "bench/common/scratch_folder.h"
#include "filelist/file_list.h"
#include "platform/file_system.h"

namespace {

namespace fs = std::filesystem;
constexpr int kNames = bench::kManyNames;
fs::path g_dir;

void BM_EnumerateAndSort(benchmark::State& state) {
  filelist::TFileList list;
  list.Mask().Add("*.*");
  for (auto _ : state) {
    list.SetDirectory(g_dir.string());
    list.Rebuild();
    benchmark::DoNotOptimize(list.Files().Count());
  }
  state.counters["names"] = list.Files().Count();
}
BENCHMARK(BM_EnumerateAndSort)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_DirectorySearchOnly(benchmark::State& state) {
  for (auto _ : state) {
    auto found = platform::FindFiles(g_dir.string(), "*.*", 0);
    benchmark::DoNotOptimize(found.size());
  }
}
BENCHMARK(BM_DirectorySearchOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

void BM_SortOnly(benchmark::State& state) {
  std::vector<std::string> names;
  for (const auto& rec : platform::FindFiles(g_dir.string(), "*.*", 0)) names.push_back(rec.Name);
  for (auto _ : state) {
    state.PauseTiming();
    platform::TStringList list;
    for (const auto& n : names) list.Add(n);
    state.ResumeTiming();
    list.Sort();
    benchmark::DoNotOptimize(list.Count());
  }
}
BENCHMARK(BM_SortOnly)->Unit(benchmark::kMillisecond)->Iterations(5);

// The preview with the start settings, its log kept in a string list as a
// caller without a window keeps it; with "日付順に連番" (state.range(0) 1)
// the files are numbered in the order of their dates.
void BM_PreviewCopy(benchmark::State& state) {
  app::RunSettings input;
  input.source_directory = g_dir.string();
  input.folder_name = "NewFolder";
  input.masks = {"*.*"};
  input.order = state.range(0) ? app::FileOrder::kDate : app::FileOrder::kName;
  bench::TimePreviewRounds(state, input, kNames);
}

// Name order and date order take turns, so that a change in the machine's
// load shows on both.
BENCHMARK(BM_PreviewCopy)
    ->ArgName("by_date")
    ->Args({0})
    ->Args({1})
    ->Args({0})
    ->Args({1})
    ->Unit(benchmark::kMillisecond)
    ->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunInScratchFolder(
      argc, argv, "list-bench", [](const fs::path& dir) { bench::FillWithManyNames(dir); }, g_dir);
}
