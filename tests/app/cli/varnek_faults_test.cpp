// varnek --run when things go wrong around it, through the built program:
// stopped by Ctrl+C inside a large file or while a card reader hangs, its
// log's reader gone, killed halfway, given a file for a folder. Tests that
// mount a drive need root: ./test.sh runs as root.
#include <QCoreApplication>

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/files.h"
#include "tests/support/mounts.h"
#include "tests/support/run_program.h"
#include "tests/support/trash_home.h"

namespace {

namespace fs = std::filesystem;
using test_support::ReadFile;
using test_support::WriteFile;
using Args = std::vector<std::string>;
using namespace std::chrono_literals;

const std::string kVarnek = PIRUKKO_VARNEK;
const bool kTrashInTemp = (test_support::TestDataHome(), true);

// varnek started with its standard output and error going to `out` and `err`.
class Started {
 public:
  Started(const Args& args, int out, int err) {
    pid_ = fork();
    if (pid_ != 0) return;
    dup2(out, STDOUT_FILENO);
    dup2(err, STDERR_FILENO);
    setenv("LANG", "ja_JP.UTF-8", 1);
    setenv("LC_ALL", "ja_JP.UTF-8", 1);
    setenv("TZ", "JST-9", 1);
    std::vector<char*> argv = {const_cast<char*>(kVarnek.c_str())};
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(argv[0], argv.data());
    _exit(127);
  }
  ~Started() {
    if (!ended_) {
      kill(pid_, SIGKILL);
      waitpid(pid_, nullptr, 0);
    }
  }
  Started(const Started&) = delete;
  Started& operator=(const Started&) = delete;

  void Signal(int signal) const { kill(pid_, signal); }
  // The exit status once it has ended within `limit`; nothing while it goes on.
  std::optional<int> WaitForExit(std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    do {
      int status = 0;
      if (waitpid(pid_, &status, WNOHANG) == pid_) {
        ended_ = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
      }
      std::this_thread::sleep_for(5ms);
    } while (std::chrono::steady_clock::now() < end);
    return std::nullopt;
  }

 private:
  pid_t pid_ = -1;
  bool ended_ = false;
};

// A file to write a stream into, opened for the program.
class OutputFile {
 public:
  explicit OutputFile(fs::path path) : path_(std::move(path)) {
    fd_ = open(path_.c_str(), O_CREAT | O_TRUNC | O_WRONLY | O_CLOEXEC, 0644);
  }
  ~OutputFile() { close(fd_); }
  int fd() const { return fd_; }
  std::string Text() const { return ReadFile(path_); }

 private:
  fs::path path_;
  int fd_ = -1;
};

// Waits until `done` holds, at most `limit`.
template <class Done>
bool WaitFor(Done done, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(2ms);
  }
  return true;
}

// A sparse file: quick to make, slow to copy through FUSE.
void MakeLargeFile(const fs::path& path, off_t size) {
  const int fd = open(path.c_str(), O_CREAT | O_WRONLY | O_TRUNC, 0644);
  ASSERT_EQ(ftruncate(fd, size), 0);
  close(fd);
}

bool Holds(const std::string& text, const std::string& part) {
  return text.find(part) != std::string::npos;
}

class VarnekFaults : public ::testing::Test {
 protected:
  void SetUp() override { test_support::PinJapanTimeZone(); }

  test_support::TempDir temp_{"pirukko-faults"};
  const fs::path root_ = temp_.path();
  OutputFile out_{root_ / "out.txt"};
  OutputFile err_{root_ / "err.txt"};
};

TEST_F(VarnekFaults, AFileForTheDirectoryAndEveryStopsReasonGoToStandardError) {
  WriteFile(root_ / "photo.jpg", "x");
  static int argc = 1;
  static char name[] = "varnek_faults_test";
  static char* argv[] = {name, nullptr};
  static QCoreApplication* core =
      QCoreApplication::instance() ? nullptr : new QCoreApplication(argc, argv);
  (void)core;
  const test_support::ProgramResult file =
      test_support::RunProgram(kVarnek, {"--run", (root_ / "photo.jpg").string()});
  EXPECT_EQ(file.exit_status, 2);
  EXPECT_TRUE(Holds(file.err, "ディレクトリではありません")) << file.err;
  const test_support::ProgramResult empty =
      test_support::RunProgram(kVarnek, {"--run", "--folder=", root_.string()});
  EXPECT_EQ(empty.exit_status, 2);
  EXPECT_TRUE(Holds(empty.err, "Error : 新しいフォルダの設定がされていません。")) << empty.err;
  EXPECT_TRUE(Holds(empty.err, "実行を中止しました。")) << empty.err;
}

TEST_F(VarnekFaults, AStopInsideALargeFileEndsTheRunAtOnceAndLeavesNothingOfIt) {
  fs::create_directories(root_ / "backing" / "src");
  MakeLargeFile(root_ / "backing" / "src" / "MVI_0001.MP4", off_t{2} << 30);
  test_support::FaultFsMount card(root_ / "backing", root_ / "card", {});
  Started varnek({"--run", (card.path() / "src").string()}, out_.fd(), err_.fd());
  const fs::path target = root_ / "backing" / "src" / "NewFolder";
  // The copy has begun once its hidden temporary file is there.
  ASSERT_TRUE(WaitFor([&] { return fs::exists(target) && !fs::is_empty(target); }, 10s));
  varnek.Signal(SIGINT);
  const auto stopped = std::chrono::steady_clock::now();
  EXPECT_EQ(varnek.WaitForExit(20s), 2);
  EXPECT_LT(std::chrono::steady_clock::now() - stopped, 5s);
  EXPECT_TRUE(fs::is_empty(target));
  EXPECT_TRUE(Holds(err_.Text(), "中止の指示により、実行を中止しました。")) << err_.Text();
}

TEST_F(VarnekFaults, AReaderThatHangsDoesNotKeepAStopFromBeingReported) {
  fs::create_directories(root_ / "backing" / "src");
  MakeLargeFile(root_ / "backing" / "src" / "MVI_0001.MP4", off_t{2} << 30);
  WriteFile(root_ / "backing" / "read-once.txt", "x");
  const fs::path target = root_ / "backing" / "src" / "NewFolder";
  for (const bool twice : {false, true}) {
    SCOPED_TRACE(twice ? "Ctrl+C twice" : "Ctrl+C once");
    fs::remove_all(target);
    test_support::FaultFsMount card(root_ / "backing", root_ / "card", {});
    // A card that has been read once, as any card a user copies from: the
    // kernel has learned that it wants no flush when a file is closed.
    EXPECT_EQ(ReadFile(card.path() / "read-once.txt"), "x");
    OutputFile err(root_ / (twice ? "twice-err.txt" : "once-err.txt"));
    Started varnek({"--run", (card.path() / "src").string()}, out_.fd(), err.fd());
    // The card stops answering in the middle of the copy.
    ASSERT_TRUE(WaitFor([&] { return fs::exists(target) && !fs::is_empty(target); }, 10s));
    card.Hang();
    std::this_thread::sleep_for(50ms);
    varnek.Signal(SIGINT);
    if (twice) {
      std::this_thread::sleep_for(20ms);
      varnek.Signal(SIGINT);
    }
    // Told while the card still hangs. A call the card's program had
    // already taken holds the process in the kernel until it answers, as
    // it would hold any program; then it ends at once.
    const std::string told = twice ? "すぐに中止しました。" : "応答しない";
    EXPECT_TRUE(WaitFor([&] { return Holds(err.Text(), told); }, 10s)) << err.Text();
    card.Resume();
    EXPECT_EQ(varnek.WaitForExit(20s), 2);
  }
}

TEST_F(VarnekFaults, AClosedStandardOutputStopsTheRunWithTheReasonOnStandardError) {
  fs::create_directories(root_ / "src");
  for (int i = 0; i < 200; ++i) WriteFile(root_ / "src" / (std::to_string(i) + ".txt"), "x");
  int pipe_ends[2];
  ASSERT_EQ(pipe(pipe_ends), 0);
  close(pipe_ends[0]);  // the reader has gone before the first line
  Started varnek({"--run", (root_ / "src").string()}, pipe_ends[1], err_.fd());
  close(pipe_ends[1]);
  EXPECT_EQ(varnek.WaitForExit(20s), 2);
  EXPECT_TRUE(Holds(err_.Text(), "標準出力に書き込めないため、実行を中止しました。"))
      << err_.Text();
  if (fs::exists(root_ / "src" / "NewFolder")) {
    for (const auto& entry : fs::directory_iterator(root_ / "src" / "NewFolder"))
      EXPECT_NE(entry.path().filename().string().front(), '.');
  }
}

TEST_F(VarnekFaults, EveryLineOfTheLogIsInItsFileWhenTheProgramIsKilled) {
  fs::create_directories(root_ / "src");
  for (int i = 0; i < 400; ++i) {
    WriteFile(root_ / "src" / ("f" + std::to_string(1000 + i) + ".bin"),
              std::string(256 << 10, 'x'));
  }
  Started varnek({"--run", "--format=", (root_ / "src").string()}, out_.fd(), err_.fd());
  const fs::path target = root_ / "src" / "NewFolder";
  ASSERT_TRUE(WaitFor(
      [&] {
        std::error_code e;
        return fs::exists(target, e) &&
               std::distance(fs::directory_iterator(target, e), fs::directory_iterator()) >= 20;
      },
      20s));
  varnek.Signal(SIGKILL);
  varnek.WaitForExit(10s);
  const std::string log = out_.Text();
  int copies = 0;
  for (const auto& entry : fs::directory_iterator(target)) {
    const std::string name = entry.path().filename();
    if (name.front() == '.') continue;
    ++copies;
    EXPECT_TRUE(Holds(log, "     To  : " + name + "\n")) << name;
  }
  EXPECT_GE(copies, 20);
}

}  // namespace
