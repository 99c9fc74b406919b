// Listing and sorting a directory of 100,000 names with the file list, and
// the parts of it: the directory search alone, and the sort alone.
//
//   file_list_bench [--dir /tmp] [google benchmark flags]
//
// The directory is made once under --dir and deleted at the end.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "bench/common/many_names.h"
#include "filelist/file_list.h"
#include "platform/file_system.h"
#include "platform/user_locale.h"

namespace {

namespace fs = std::filesystem;
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

}  // namespace

int main(int argc, char** argv) {
  std::string base = "/tmp";
  std::vector<char*> rest;
  for (int i = 0; i < argc; ++i) {
    if (std::string(argv[i]) == "--dir" && i + 1 < argc) {
      base = argv[++i];
      continue;
    }
    rest.push_back(argv[i]);
  }
  int rest_argc = static_cast<int>(rest.size());
  platform::ScopedUserLocale locale("ja_JP");
  std::string tmpl = base + "/pirukko-list-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  g_dir = tmpl;
  bench::FillWithManyNames(g_dir);
  benchmark::Initialize(&rest_argc, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(g_dir);
  return 0;
}
