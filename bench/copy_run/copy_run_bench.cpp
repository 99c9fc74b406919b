// The copy run over 5,000 files of 4 KiB and one of 200 MiB, against
// `cp -p` of the same files into a new folder, timed in turns in one run.
//
//   copy_run_bench [--dir /tmp] [--files 5000] [--big-mib 200] [--rounds 5]
//
// Both copies read the same files from a warm page cache and write to the
// same file system, each into a folder that does not exist yet (the run
// makes its folder, cp's shell makes its own). Nothing is deleted until the
// end: ext4 passes over inodes freed in the last minute when it makes new
// files, which would charge one side for the other's clean-up. So every
// round gets its own source folder of hard links to the same files. Dirty
// pages are written back before each timed turn. Prints the times of every
// round, the medians and their ratio; deletes every file it made.
#include <fcntl.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/core/copy_run.h"
#include "app/core/naming.h"
#include "filelist/file_list.h"
#include "platform/user_locale.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

struct NoProgress : app::CopyProgress {
  void SetMax(int) override {}
  void SetPosition(int) override {}
};

void WriteFile(const fs::path& path, std::size_t size, unsigned seed, std::time_t mtime) {
  std::string data(size, '\0');
  unsigned x = seed * 2654435761u + 1;
  for (auto& c : data) {
    x ^= x << 13;
    x ^= x >> 17;
    x ^= x << 5;
    c = static_cast<char>(x);
  }
  std::ofstream(path, std::ios::binary).write(data.data(), static_cast<std::streamsize>(size));
  const struct timespec times[2] = {{mtime, 0}, {mtime, 0}};
  utimensat(AT_FDCWD, path.c_str(), times, 0);
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

// Runs `sh -c command` and waits for it.
bool Shell(const std::string& command) {
  pid_t pid = fork();
  if (pid == 0) {
    execl("/bin/sh", "sh", "-c", command.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  int status = 0;
  waitpid(pid, &status, 0);
  return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

std::string Quoted(const fs::path& p) {
  std::string quoted = "'";
  quoted += p.string();
  quoted += '\'';
  return quoted;
}

std::string Numbered(const char* prefix, int n) {
  std::string name = prefix;
  name += std::to_string(n);
  return name;
}

std::size_t CountFiles(const fs::path& dir) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) ++n;
  return n;
}

}  // namespace

int main(int argc, char** argv) {
  std::string base = "/tmp";
  int files = 5000, big_mib = 200, rounds = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::string key = argv[i];
    if (key == "--dir") base = argv[i + 1];
    if (key == "--files") files = std::atoi(argv[i + 1]);
    if (key == "--big-mib") big_mib = std::atoi(argv[i + 1]);
    if (key == "--rounds") rounds = std::atoi(argv[i + 1]);
  }
  platform::ScopedUserLocale locale("ja_JP");

  std::string tmpl = base + "/pirukko-copy-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path root = tmpl, data = root / "data";
  fs::create_directory(data);
  std::tm jan5{};
  jan5.tm_year = 100;
  jan5.tm_mday = 5;
  const std::time_t mtime = std::mktime(&jan5);
  for (int i = 0; i < files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "file%05d.dat", i);
    WriteFile(data / name, 4096, static_cast<unsigned>(i), mtime);
  }
  WriteFile(data / "big.bin", static_cast<std::size_t>(big_mib) << 20, 7u, mtime);

  app::CopyRunInput input;
  input.folder_name = "NewFolder";
  input.masks = {"*.*"};
  input.date_format = app::QuoteDateFormat(input.naming.date_format);
  filelist::TFileList list;
  NoProgress progress;

  std::vector<double> run_times, cp_times;
  int failed = 0;
  std::size_t log_entries = 0;
  // Round 0 warms the cache and is not counted.
  for (int round = 0; round <= rounds; ++round) {
    for (int turn = 0; turn < 2; ++turn) {
      const bool run_first = round % 2 == 0;
      const bool do_run = (turn == 0) == run_first;
      const fs::path src = root / Numbered("src", round);
      const fs::path cp_target = root / Numbered("cp", round);
      if (!fs::exists(src)) {
        fs::create_directory(src);
        for (const auto& e : fs::directory_iterator(data))
          fs::create_hard_link(e.path(), src / e.path().filename());
      }
      input.source_directory = src.string();
      sync();
      if (do_run) {
        platform::TStringList lines;
        app::StringsCopyLog log(lines);
        const auto start = Clock::now();
        app::CopyRunResult r = app::ExecuteCopy(input, list, log, progress);
        const double t = Seconds(Clock::now() - start);
        failed += r.failed;
        log_entries = static_cast<std::size_t>(lines.Count());
        if (CountFiles(src / input.folder_name) != static_cast<std::size_t>(files + 1)) {
          std::fprintf(stderr, "the run copied %zu files\n", CountFiles(src / input.folder_name));
          failed = -1;
        }
        if (round > 0) run_times.push_back(t);
      } else {
        const auto start = Clock::now();
        const bool ok = Shell("mkdir " + Quoted(cp_target) + " && cp -p -- " + Quoted(data) +
                              "/* " + Quoted(cp_target));
        const double t = Seconds(Clock::now() - start);
        if (!ok || CountFiles(cp_target) != static_cast<std::size_t>(files + 1)) {
          std::fprintf(stderr, "cp -p failed\n");
          failed = -1;
        }
        if (round > 0) cp_times.push_back(t);
      }
    }
    if (round > 0)
      std::printf("round %d: copy run %.3f s, cp -p %.3f s\n", round, run_times.back(),
                  cp_times.back());
  }
  fs::remove_all(root);

  const double run = Median(run_times), cp = Median(cp_times);
  std::printf("files: %d x 4 KiB + 1 x %d MiB, rounds: %d, log entries per run: %zu\n", files,
              big_mib, rounds, log_entries);
  std::printf("median: copy run %.3f s, cp -p %.3f s, ratio %.2f (goal <= 1.25)\n", run, cp,
              run / cp);
  std::printf("best:   copy run %.3f s, cp -p %.3f s\n",
              *std::min_element(run_times.begin(), run_times.end()),
              *std::min_element(cp_times.begin(), cp_times.end()));
  if (failed != 0) {
    std::fprintf(stderr, "copy failures: %d\n", failed);
    return 1;
  }
  return 0;
}
