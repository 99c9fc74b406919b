#include "bench/common/copy_fixture.h"

#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <fstream>
#include <stdexcept>

namespace bench {

namespace fs = std::filesystem;

namespace {

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

// User-mode time of this process and of its children that have ended.
double UserCpuSeconds() {
  double seconds = 0;
  for (int who : {RUSAGE_SELF, RUSAGE_CHILDREN}) {
    struct rusage usage {};
    getrusage(who, &usage);
    seconds += static_cast<double>(usage.ru_utime.tv_sec) +
               static_cast<double>(usage.ru_utime.tv_usec) / 1e6;
  }
  return seconds;
}

}  // namespace

CopyBenchArgs ParseCopyBenchArgs(int argc, char** argv) {
  CopyBenchArgs args;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--dir") args.dir = argv[i + 1];
    if (key == "--files") args.files = std::atoi(argv[i + 1]);
    if (key == "--big-mib") args.big_mib = std::atoi(argv[i + 1]);
    if (key == "--rounds") args.rounds = std::atoi(argv[i + 1]);
  }
  return args;
}

void CopyFixture::MakeRoot(const std::string& dir) {
  std::string tmpl = dir + "/pirukko-copy-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) throw std::runtime_error("cannot make a folder in " + dir);
  root_ = tmpl;
  data_ = root_ / "data";
  fs::create_directory(data_);
}

CopyFixture::CopyFixture(const CopyBenchArgs& args)
    : file_count_(static_cast<std::size_t>(args.files) + 1) {
  MakeRoot(args.dir);
  std::tm jan5{};
  jan5.tm_year = 100;
  jan5.tm_mday = 5;
  const std::time_t mtime = std::mktime(&jan5);
  for (int i = 0; i < args.files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "file%05d.dat", i);
    WriteFile(data_ / name, 4096, static_cast<unsigned>(i), mtime);
  }
  WriteFile(data_ / "big.bin", static_cast<std::size_t>(args.big_mib) << 20, 7u, mtime);
}

CopyFixture::CopyFixture(const CopyBenchArgs& args, MakeFiles make_files, std::size_t file_count)
    : file_count_(file_count) {
  MakeRoot(args.dir);
  make_files(data_);
}

CopyFixture::~CopyFixture() {
  std::error_code ignored;
  fs::remove_all(root_, ignored);
}

fs::path CopyFixture::NewSourceFolder(std::string_view name) const {
  const fs::path folder = root_ / name;
  fs::create_directory(folder);
  for (const auto& e : fs::directory_iterator(data_))
    fs::create_hard_link(e.path(), folder / e.path().filename());
  return folder;
}

std::optional<double> CopyFixture::TimeCpCopy(std::string_view name) const {
  const fs::path target = root_ / name;
  const auto start = Clock::now();
  const bool ok = Shell("mkdir " + Quoted(target) + " && cp -p -- " + Quoted(data_) + "/* " +
                        Quoted(target) + " && sync -f " + Quoted(target));
  const double t = Seconds(Clock::now() - start);
  if (!ok || CountFiles(target) != FileCount()) return std::nullopt;
  return t;
}

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

std::size_t CountFiles(const fs::path& dir) {
  std::size_t n = 0;
  for (const auto& e : fs::directory_iterator(dir))
    if (e.is_regular_file()) ++n;
  return n;
}

bool RunRounds(int rounds, std::vector<TimedTurn>& turns) {
  bool ok = true;
  for (int round = 0; round <= rounds; ++round) {
    for (std::size_t i = 0; i < turns.size(); ++i) {
      TimedTurn& turn = turns[(i + static_cast<std::size_t>(round)) % turns.size()];
      if (turn.prepare) turn.prepare(round);
      sync();
      const double user_before = UserCpuSeconds();
      const std::optional<double> t = turn.run(round);
      const double user = UserCpuSeconds() - user_before;
      if (!t) {
        std::fprintf(stderr, "round %d: %s failed\n", round, turn.name.c_str());
        ok = false;
      } else if (round > 0) {
        turn.times.push_back(*t);
        turn.user_cpu.push_back(user);
      }
    }
    if (round == 0) continue;
    std::printf("round %d:", round);
    const char* separator = " ";
    for (const TimedTurn& turn : turns) {
      std::printf("%s%s %.3f s", separator, turn.name.c_str(),
                  turn.times.empty() ? 0.0 : turn.times.back());
      separator = ", ";
    }
    std::printf("\n");
    std::fflush(stdout);
  }
  return ok;
}

void PrintMedians(const std::vector<TimedTurn>& turns, std::size_t yardstick) {
  const double base = Median(turns[yardstick].times);
  for (const TimedTurn& turn : turns) {
    const double median = Median(turn.times);
    const double best =
        turn.times.empty() ? 0.0 : *std::min_element(turn.times.begin(), turn.times.end());
    std::printf("%-20s median %.3f s, best %.3f s, ratio to %s %.2f, user CPU %.3f s\n",
                turn.name.c_str(), median, best, turns[yardstick].name.c_str(),
                base > 0 ? median / base : 0.0, Median(turn.user_cpu));
  }
}

std::unique_ptr<CopyFixture> MakeCopyFixture(const CopyBenchArgs& args) {
  try {
    return std::make_unique<CopyFixture>(args);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return nullptr;
  }
}

std::unique_ptr<CopyFixture> MakeCopyFixture(const CopyBenchArgs& args,
                                             CopyFixture::MakeFiles make_files,
                                             std::size_t file_count) {
  try {
    return std::make_unique<CopyFixture>(args, std::move(make_files), file_count);
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return nullptr;
  }
}

}  // namespace bench
