// The copy run over 5,000 files of 4 KiB and one of 200 MiB, against
// `cp -p` of the same files into a new folder followed by `sync -f` (the run
// flushes its copies before its closing line), timed in turns in one run.
//
//   copy_run_bench [--dir /tmp] [--files 5000] [--big-mib 200] [--rounds 5]
//
// The files, the fresh folders and the rounds are those of every copy-run
// benchmark (bench/common/copy_fixture.h): the run makes its folder inside a
// source folder of hard links of its own, cp's shell makes its folder
// beside it. Prints the times of every round, the medians and their ratio;
// deletes every file it made.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "bench/common/copy_fixture.h"
#include "bench/common/core_copy_run.h"
#include "platform/user_locale.h"

int main(int argc, char** argv) {
  const bench::CopyBenchArgs args = bench::ParseCopyBenchArgs(argc, argv);
  platform::ScopedUserLocale locale("ja_JP");
  std::unique_ptr<bench::CopyFixture> fixture = bench::MakeCopyFixture(args);
  if (!fixture) return 1;

  bench::CoreCopyRun run;
  std::filesystem::path src;
  std::vector<bench::TimedTurn> turns;
  turns.push_back(
      {"copy run", [&](int) { return run.Time(src, fixture->FileCount()); },
       [&](int round) { src = fixture->NewSourceFolder("src" + std::to_string(round)); }});
  turns.push_back({"cp -p + sync",
                   [&](int round) { return fixture->TimeCpCopy("cp" + std::to_string(round)); }});
  const bool ok = bench::RunRounds(args.rounds, turns);
  fixture.reset();

  std::printf("files: %d x 4 KiB + 1 x %d MiB, rounds: %d, log entries per run: %zu\n", args.files,
              args.big_mib, args.rounds, run.log_entries());
  bench::PrintMedians(turns, 1);
  std::printf("goal: copy run <= 1.25 x cp -p + sync\n");
  if (!ok || run.failed() != 0) {
    std::fprintf(stderr, "copy failures: %d\n", run.failed());
    return 1;
  }
  return 0;
}
