// The preview with "サブフォルダも対象" over 100,000 files in 1,000 folders,
// beside `find -type f | sort` over the same tree, and beside the same with
// every file's time (`find -printf '%T@ %p'`), in one run: all walk
// every folder, and both end with the names sorted (the preview also reads
// each file's date, names it and logs three lines for it).
//
//   sub_folder_bench [--dir /tmp] [google benchmark flags]
//
// Beside them the least any walk that shows dates can cost here: every
// folder read and every file's last-write time asked for on as many threads
// as the preview lists folders with, and nothing else (no names kept, no
// order, no dates made).
//
// The tree is made once under --dir and deleted at the end.
#include <benchmark/benchmark.h>
#include <dirent.h>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/core/copy_run.h"
#include "app/core/naming.h"
#include "bench/common/many_names.h"
#include "bench/common/preview_rounds.h"
#include "bench/common/scratch_folder.h"
#include "filelist/file_list.h"
#include "platform/parallel_for.h"
#include "platform/string_list.h"

namespace {

namespace fs = std::filesystem;
constexpr int kFolders = 1000;
constexpr int kFiles = bench::kManyNames;  // 100 a folder
fs::path g_dir;

// 1,000 folders, ten at the top with 99 below each, as a card or a photo
// library nests them; the names of the listing benchmarks, 100 a folder.
void MakeTree(const fs::path& root) {
  const std::vector<std::string> names = bench::MakeManyNames(kFiles);
  const int per_folder = kFiles / kFolders;
  for (int f = 0; f < kFolders; ++f) {
    const int top = f / 100;
    std::string top_name = "1";
    top_name += std::to_string(top);
    top_name += "0CANON";
    fs::path folder = root / top_name;
    if (f % 100 != 0) folder /= "sub" + std::to_string(f % 100);
    fs::create_directories(folder);
    for (int i = 0; i < per_folder; ++i)
      std::ofstream(folder / names[static_cast<std::size_t>(f * per_folder + i)]);
  }
}

void BM_PreviewWithSubFolders(benchmark::State& state) {
  app::RunSettings input;
  input.source_directory = g_dir.string();
  input.folder_name = "NewFolder";
  input.masks = {"*.*"};
  input.include_subfolders = true;
  bench::TimePreviewRounds(state, input, kFiles);
}

// The folders below `folder`, depth first, from their directory entries.
void CollectFolders(const std::string& folder, std::vector<std::string>& folders) {
  folders.push_back(folder);
  DIR* dir = opendir(folder.c_str());
  if (!dir) return;
  while (const dirent* entry = readdir(dir))
    if (entry->d_type == DT_DIR && entry->d_name[0] != '.')
      CollectFolders(folder + "/" + entry->d_name, folders);
  closedir(dir);
}

void BM_WalkWithTimes(benchmark::State& state) {
  std::atomic<long> files{0};
  for (auto _ : state) {
    files = 0;
    std::vector<std::string> folders;
    CollectFolders(g_dir.string(), folders);
    platform::ParallelFor(folders.size(), [&folders, &files](std::size_t i) {
      DIR* dir = opendir(folders[i].c_str());
      if (!dir) return;
      long dated = 0;
      while (const dirent* entry = readdir(dir)) {
        struct stat st;
        if (entry->d_type == DT_REG &&
            fstatat(dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0)
          ++dated;
      }
      closedir(dir);
      files += dated;
    });
  }
  state.counters["files"] = static_cast<double>(files.load());
  if (files != kFiles) state.SkipWithError("the walk did not date every file");
}

// The processor time of the programs this one has started and waited for.
double ChildCpuMs() {
  rusage usage{};
  getrusage(RUSAGE_CHILDREN, &usage);
  const auto ms = [](const timeval& t) { return t.tv_sec * 1e3 + t.tv_usec / 1e3; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
}

// `command` through /bin/sh; its processor time is spent in find and sort,
// not here: a counter says it.
void TimeCommand(benchmark::State& state, const std::string& command) {
  const double before = ChildCpuMs();
  for (auto _ : state) {
    if (std::system(command.c_str()) != 0) state.SkipWithError("the command failed");
  }
  state.counters["child_cpu_ms"] =
      (ChildCpuMs() - before) / static_cast<double>(state.iterations());
}

void BM_FindSort(benchmark::State& state) {
  TimeCommand(state, "find '" + g_dir.string() + "' -type f | sort > /dev/null");
}

// The same with every file's last-write time, which the preview shows and
// `find -type f` alone never asks the file system for.
void BM_FindWithTimesSort(benchmark::State& state) {
  TimeCommand(state,
              "find '" + g_dir.string() + "' -type f -printf '%T@ %p\\n' | sort > /dev/null");
}

// They take turns, so that a change in the machine's load shows on each.
void FiveTimes(benchmark::internal::Benchmark* bench) {
  bench->Unit(benchmark::kMillisecond)->Iterations(5)->UseRealTime();
}
BENCHMARK(BM_PreviewWithSubFolders)->Apply(FiveTimes);
BENCHMARK(BM_FindSort)->Apply(FiveTimes);
BENCHMARK(BM_FindWithTimesSort)->Apply(FiveTimes);
BENCHMARK(BM_WalkWithTimes)->Apply(FiveTimes);
BENCHMARK(BM_PreviewWithSubFolders)->Apply(FiveTimes);
BENCHMARK(BM_FindSort)->Apply(FiveTimes);
BENCHMARK(BM_FindWithTimesSort)->Apply(FiveTimes);
BENCHMARK(BM_WalkWithTimes)->Apply(FiveTimes);

}  // namespace

int main(int argc, char** argv) {
  return bench::RunInScratchFolder(argc, argv, "tree-bench", MakeTree, g_dir);
}
