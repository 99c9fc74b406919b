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
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "filelist/file_list.h"
#include "platform/file_system.h"
#include "platform/user_locale.h"

namespace {

namespace fs = std::filesystem;
constexpr int kNames = 100000;
fs::path g_dir;

// Mixed names as a real folder holds them: letter case, digits, extensions,
// and one name in eight in Japanese.
std::vector<std::string> MakeNames() {
  static const char* kExt[] = {".txt", ".TXT", ".jpg", ".JPEG", ".doc", ""};
  static const char* kJapanese[] = {"写真", "資料", "メモ", "かな"};
  std::mt19937 rng(12345);
  std::vector<std::string> names;
  for (int i = 0; i < kNames; ++i) {
    std::string n;
    if (i % 8 == 0) n += kJapanese[rng() % 4];
    int len = 4 + static_cast<int>(rng() % 8);
    for (int k = 0; k < len; ++k) {
      unsigned r = rng() % 36;
      n += r < 10 ? static_cast<char>('0' + r)
                  : static_cast<char>((rng() % 2 ? 'a' : 'A') + static_cast<int>(r - 10));
    }
    n += '_';
    n += std::to_string(i);
    n += kExt[rng() % 6];
    names.push_back(n);
  }
  return names;
}

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
  for (const auto& n : MakeNames()) std::ofstream(g_dir / n);
  benchmark::Initialize(&rest_argc, rest.data());
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  fs::remove_all(g_dir);
  return 0;
}
