// The copy run with its flush against `cp -p` followed by `sync -f` of the
// same files, and against a copy that flushes every file before naming it
// (fdatasync, then a sync of the folder), side by side in one run, on two
// sets of files:
// - 5,000 files of 4 KiB and one of 200 MiB, those of copy_run_bench;
// - 2,000 photos of 200 KiB and 200 videos of 3 MiB, about 1 GB, a card's
//   worth of a short trip.
//
//   flush_bench [--dir /tmp] [--rounds 5] [--set small|media|both]
//
// Every turn is timed until its data is on the disk. Prints the times of
// every round, the medians and their ratios to cp -p + sync; deletes every
// file it made.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/common/copy_fixture.h"
#include "bench/common/core_copy_run.h"
#include "platform/file_copy.h"
#include "platform/user_locale.h"

namespace {

namespace fs = std::filesystem;

// A file of `size` bytes that no two files share, last written on 5 January 2000.
void WriteData(const fs::path& path, std::size_t size, unsigned seed) {
  std::string data(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (std::size_t i = 0; i < size; i += 4) {
    x = x * 1103515245u + 12345u;
    std::memcpy(&data[i], &x, std::min<std::size_t>(4, size - i));
  }
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
  std::tm jan5{};
  jan5.tm_year = 100;
  jan5.tm_mday = 5;
  const std::time_t t = std::mktime(&jan5);
  const struct timespec times[2] = {{t, 0}, {t, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

constexpr int kPhotos = 2000;
constexpr int kVideos = 200;

void MakeMedia(const fs::path& folder) {
  for (int i = 0; i < kPhotos; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%04d.JPG", i);
    WriteData(folder / name, 200 << 10, static_cast<unsigned>(i));
  }
  for (int i = 0; i < kVideos; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "MVI_%04d.MP4", i);
    WriteData(folder / name, 3 << 20, static_cast<unsigned>(kPhotos + i));
  }
}

// Every file of `source` copied into the new folder `target` as the run
// copies it, each flushed before it takes its name, then the folder.
std::optional<double> TimeFlushEachFile(const fs::path& source, const fs::path& target,
                                        std::size_t expected) {
  const auto start = bench::Clock::now();
  fs::create_directory(target);
  platform::CopyControl control;
  control.flush = true;
  for (const auto& entry : fs::directory_iterator(source)) {
    if (!platform::CopyFile(entry.path().string(), (target / entry.path().filename()).string(),
                            control)
             .Copied())
      return std::nullopt;
  }
  const int folder = open(target.c_str(), O_RDONLY | O_DIRECTORY);
  const bool synced = folder >= 0 && fsync(folder) == 0;
  if (folder >= 0) close(folder);
  const double t = bench::Seconds(bench::Clock::now() - start);
  if (!synced || bench::CountFiles(target) != expected) return std::nullopt;
  return t;
}

bool RunSet(const char* title, bench::CopyFixture& fixture, int rounds) {
  bench::CoreCopyRun run;
  fs::path src, each_src;
  std::vector<bench::TimedTurn> turns;
  turns.push_back(
      {"copy run", [&](int) { return run.Time(src, fixture.FileCount()); },
       [&](int round) { src = fixture.NewSourceFolder("src" + std::to_string(round)); }});
  turns.push_back({"cp -p + sync",
                   [&](int round) { return fixture.TimeCpCopy("cp" + std::to_string(round)); }});
  turns.push_back(
      {"fdatasync each",
       [&](int round) {
         return TimeFlushEachFile(each_src,
                                  each_src.parent_path() / ("each" + std::to_string(round)),
                                  fixture.FileCount());
       },
       [&](int round) { each_src = fixture.NewSourceFolder("eachsrc" + std::to_string(round)); }});
  const bool ok = bench::RunRounds(rounds, turns);
  std::printf("%s, rounds: %d\n", title, rounds);
  bench::PrintMedians(turns, 1);
  std::printf("goal: copy run <= 1.1 x cp -p + sync\n\n");
  return ok && run.failed() == 0;
}

}  // namespace

int main(int argc, char** argv) {
  bench::CopyBenchArgs args = bench::ParseCopyBenchArgs(argc, argv);
  std::string set = "both";
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::string(argv[i]) == "--set") set = argv[i + 1];
  platform::ScopedUserLocale locale("ja_JP");
  bool ok = true;
  if (set == "small" || set == "both") {
    std::unique_ptr<bench::CopyFixture> fixture = bench::MakeCopyFixture(args);
    if (!fixture) return 1;
    ok = RunSet("5,000 files of 4 KiB and one of 200 MiB", *fixture, args.rounds) && ok;
  }
  if (set == "media" || set == "both") {
    std::unique_ptr<bench::CopyFixture> fixture =
        bench::MakeCopyFixture(args, MakeMedia, kPhotos + kVideos);
    if (!fixture) return 1;
    ok = RunSet("2,000 photos of 200 KiB and 200 videos of 3 MiB (1 GB)", *fixture, args.rounds) &&
         ok;
  }
  return ok ? 0 : 1;
}
