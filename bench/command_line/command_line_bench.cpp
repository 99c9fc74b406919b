// The command line as a script uses it, started through the shell with its
// log going to a file, in one run:
// - varnek --run over the copy benchmark's files (5,000 of 4 KiB and one of
//   200 MiB) against `cp -p` + `sync -f` of the same files, timed in turns;
// - varnek --preview of a folder of 100,000 files against `ls -l` of it
//   (which also lists, sorts, reads every file's date and prints a line).
//
//   command_line_bench [--dir /tmp] [--files 5000] [--big-mib 200] [--rounds 5]
//                      [--other-varnek PATH]
//
// --other-varnek adds a third turn to the run: another build of varnek
// (an older one, say) over the same files in the same rounds.
//
// What is timed is the whole command as a script runs it: /bin/sh started,
// the program loaded and run to its exit. Both sides read warm files and
// write into a new folder, and both are timed until what they wrote is on
// the disk: the run flushes before its closing line, cp is followed by
// `sync -f` (the dirty pages of every turn are written back before the
// next one, untimed). Prints the
// times of every round, the medians and their ratios; deletes every file
// it made.
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "bench/common/copy_fixture.h"
#include "bench/common/many_names.h"

namespace {

namespace fs = std::filesystem;

// The program measured, and an optional other build of it.
struct Programs {
  std::string varnek = PIRUKKO_VARNEK;
  std::string other;
};

Programs ParsePrograms(int argc, char** argv) {
  Programs programs;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (std::string(argv[i]) == "--other-varnek") programs.other = argv[i + 1];
  }
  return programs;
}

std::string Quoted(const fs::path& p) {
  std::string quoted = "'";
  quoted += p.string();
  quoted += '\'';
  return quoted;
}

// Runs `sh -c command`; its exit status, or nothing when it did not end.
std::optional<int> Shell(const std::string& command) {
  const pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  if (!WIFEXITED(status)) return std::nullopt;
  return WEXITSTATUS(status);
}

// `varnek ARGS > log`: the seconds it took, when it ended with status 0.
std::optional<double> TimeVarnek(const std::string& varnek, const std::string& args,
                                 const fs::path& log) {
  const auto start = bench::Clock::now();
  const std::optional<int> status = Shell(Quoted(varnek) + " " + args + " > " + Quoted(log));
  const double seconds = bench::Seconds(bench::Clock::now() - start);
  if (status != 0) return std::nullopt;
  return seconds;
}

}  // namespace

int main(int argc, char** argv) {
  const bench::CopyBenchArgs args = bench::ParseCopyBenchArgs(argc, argv);
  std::unique_ptr<bench::CopyFixture> fixture = bench::MakeCopyFixture(args);
  if (!fixture) return 1;

  const Programs programs = ParsePrograms(argc, argv);
  bool all_copied = true;
  std::vector<bench::TimedTurn> turns;
  // A turn of `varnek --run` over a fresh folder of links to the files.
  const auto add_varnek_turn = [&](const std::string& name, const std::string& varnek) {
    auto src = std::make_shared<fs::path>();
    const std::string tag = std::to_string(turns.size());
    turns.push_back({name,
                     [&, src, varnek, tag](int round) {
                       const std::optional<double> t = TimeVarnek(
                           varnek, "--run " + Quoted(*src),
                           src->parent_path() / ("log" + tag + "-" + std::to_string(round)));
                       if (bench::CountFiles(*src / "NewFolder") != fixture->FileCount()) {
                         all_copied = false;
                       }
                       return t;
                     },
                     [&, src, tag](int round) {
                       *src = fixture->NewSourceFolder("src" + tag + "-" + std::to_string(round));
                     }});
  };
  add_varnek_turn("varnek --run", programs.varnek);
  turns.push_back({"cp -p + sync",
                   [&](int round) { return fixture->TimeCpCopy("cp" + std::to_string(round)); }});
  if (!programs.other.empty()) add_varnek_turn("other varnek --run", programs.other);
  bool ok = bench::RunRounds(args.rounds, turns);
  fixture.reset();
  std::printf("files: %d x 4 KiB + 1 x %d MiB, rounds: %d\n", args.files, args.big_mib,
              args.rounds);
  bench::PrintMedians(turns, 1);
  std::printf("goal: varnek --run <= 1.1 x cp -p + sync\n\n");

  // The preview writes nothing but its log; the folder stays as it is.
  std::string tmpl = args.dir + "/pirukko-preview-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path names = tmpl;
  const fs::path many = names / "many";
  fs::create_directory(many);
  bench::FillWithManyNames(many);
  std::vector<bench::TimedTurn> listing;
  listing.push_back({"varnek --preview", [&](int) {
                       return TimeVarnek(programs.varnek, "--preview " + Quoted(many),
                                         names / "preview.log");
                     }});
  listing.push_back({"ls -l", [&](int) -> std::optional<double> {
                       const auto start = bench::Clock::now();
                       if (Shell("ls -l " + Quoted(many) + " > " + Quoted(names / "ls.log")) != 0) {
                         return std::nullopt;
                       }
                       return bench::Seconds(bench::Clock::now() - start);
                     }});
  ok = bench::RunRounds(args.rounds, listing) && ok;
  const bool untouched = bench::CountFiles(many) == static_cast<std::size_t>(bench::kManyNames) &&
                         !fs::exists(many / "NewFolder");
  std::error_code ignored;
  fs::remove_all(names, ignored);
  std::printf("files: %d names, rounds: %d\n", bench::kManyNames, args.rounds);
  bench::PrintMedians(listing, 1);

  if (!ok || !all_copied || !untouched) {
    std::fprintf(stderr, "a run failed, left files out, or the preview touched its folder\n");
    return 1;
  }
  return 0;
}
