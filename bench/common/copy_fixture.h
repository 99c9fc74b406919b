// What the copy-run benchmarks share: the files of the run (many files of
// 4 KiB and one big one), a fresh source folder of hard links for every
// timed turn, `cp -p` of the same files as the yardstick, and the rounds in
// which the turns take their places in rotation.
//
// Every copy reads the same files from a warm page cache and writes into a
// folder that does not exist yet, on the same file system. Nothing is
// deleted until the end: ext4 passes over inodes freed in the last minute
// when it makes new files, which would charge one turn for another's
// clean-up. Dirty pages are written back before each timed turn.
#pragma once

#include <chrono>
#include <cstddef>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace bench {

// --dir /tmp --files 5000 --big-mib 200 --rounds 5
struct CopyBenchArgs {
  std::string dir = "/tmp";
  int files = 5000;
  int big_mib = 200;
  int rounds = 5;
};
CopyBenchArgs ParseCopyBenchArgs(int argc, char** argv);

// A folder under args.dir holding the files, all last written on 5 January
// 2000; removed with everything made in it when the fixture goes.
class CopyFixture {
 public:
  explicit CopyFixture(const CopyBenchArgs& args);  // throws std::runtime_error
  // The same with other files: `make_files` writes `file_count` files into
  // the folder it is given.
  using MakeFiles = std::function<void(const std::filesystem::path& folder)>;
  CopyFixture(const CopyBenchArgs& args, MakeFiles make_files, std::size_t file_count);
  ~CopyFixture();
  CopyFixture(const CopyFixture&) = delete;
  CopyFixture& operator=(const CopyFixture&) = delete;

  // The files a complete copy holds: the small ones and the big one.
  std::size_t FileCount() const { return file_count_; }

  // A new folder `name` of hard links to the files.
  std::filesystem::path NewSourceFolder(std::string_view name) const;

  // Copies the files with `cp -p` into the new folder `name`, then, as the
  // copy run does before its closing line, writes them to the disk
  // (`sync -f`); the seconds it took, or nothing when cp failed or left
  // files out.
  std::optional<double> TimeCpCopy(std::string_view name) const;

 private:
  void MakeRoot(const std::string& dir);

  std::size_t file_count_;
  std::filesystem::path root_;
  std::filesystem::path data_;
};

// The fixture for `args`, or no value after telling on stderr why it could
// not be made (the benchmark then ends with a failure).
std::unique_ptr<CopyFixture> MakeCopyFixture(const CopyBenchArgs& args);
std::unique_ptr<CopyFixture> MakeCopyFixture(const CopyBenchArgs& args,
                                             CopyFixture::MakeFiles make_files,
                                             std::size_t file_count);

using Clock = std::chrono::steady_clock;
double Seconds(Clock::duration d);
double Median(std::vector<double> v);
std::size_t CountFiles(const std::filesystem::path& dir);

// One way of copying the files. `prepare` (if any) readies the round's
// folders before the dirty pages are written back; `run` gets the round
// number and returns the seconds it took, or nothing when it failed.
struct TimedTurn {
  using Run = std::function<std::optional<double>(int round)>;
  using Prepare = std::function<void(int round)>;
  TimedTurn(std::string name, Run run, Prepare prepare = {})
      : name(std::move(name)), run(std::move(run)), prepare(std::move(prepare)) {}

  std::string name;
  std::function<std::optional<double>(int round)> run;
  std::function<void(int round)> prepare;
  std::vector<double> times;     // of the counted rounds
  std::vector<double> user_cpu;  // seconds in user mode, its own and its children's
};

// Round 0 warms the cache and is not counted; then `rounds` rounds, each
// started by the next turn in rotation, so that no turn always goes first.
// Prints each round's times. False when any turn failed.
bool RunRounds(int rounds, std::vector<TimedTurn>& turns);

// "name: median m s, best b s" for every turn, each median's ratio to that
// of the turn `yardstick`, and the median time spent in user mode (the
// copying itself is the kernel's).
void PrintMedians(const std::vector<TimedTurn>& turns, std::size_t yardstick);

}  // namespace bench
