// How long the window takes to appear (made, shown, its first events
// handled) with a mount that never answers (a card reader that hung),
// against the same without it, in turns; and, for the record, what reading
// the mounts as the drive list did before (every mount's statfs, here
// through QStorageInfo) does with that mount: it does not return until the
// mount is taken away.
//
//   window_start_bench [--rounds 10]      (as root: it mounts)
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QStorageInfo>

#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "app/window/desktop_hand_off.h"
#include "app/window/drive_combo_box.h"
#include "app/window/program_info_window.h"
#include "app/window/varnek_form.h"
#include "bench/common/copy_fixture.h"
#include "bench/common/window_bench.h"
#include "tests/support/mounts.h"

namespace {

namespace fs = std::filesystem;

using bench::NoDesktop;

// From nothing to a window on the screen that has handled its first events.
double TimeWindowStart(const fs::path& folder) {
  const auto start = bench::Clock::now();
  NoDesktop desktop;
  app::TVarnekForm::Options options =
      bench::ProgramWindowOptions(desktop, QString::fromStdString(folder.string()));
  app::TVarnekForm form(std::move(options));
  form.show();
  QApplication::processEvents();
  return bench::Seconds(bench::Clock::now() - start);
}

// The old reading, in a child: seconds until it returned, or -1 when it had
// not after `limit` (the child is then freed by taking the mount away).
double TimeStatfsOfEveryMount(double limit, test_support::HungMount& hung) {
  const auto start = bench::Clock::now();
  const pid_t child = fork();
  if (child == 0) {
    int ready = 0;
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) ready += volume.isReady();
    _exit(ready > 0 ? 0 : 1);
  }
  int status = 0;
  while (bench::Seconds(bench::Clock::now() - start) < limit) {
    if (waitpid(child, &status, WNOHANG) == child)
      return bench::Seconds(bench::Clock::now() - start);
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  hung.Unmount();  // the mount goes: the child's statfs fails and it ends
  waitpid(child, &status, 0);
  return -1;
}

}  // namespace

int main(int argc, char** argv) {
  if (geteuid() != 0) {
    std::fprintf(stderr, "window_start_bench mounts a FUSE file system: run it as root\n");
    return 2;
  }
  bench::OffscreenUnlessAsked();
  QApplication application(argc, argv);
  bench::PrepareProgramWindow(application);
  int rounds = 10;
  for (int i = 1; i + 1 < argc; i += 2)
    if (std::string(argv[i]) == "--rounds") rounds = std::atoi(argv[i + 1]);
  std::string tmpl = "/tmp/pirukko-start-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) return 1;
  const fs::path folder = tmpl;
  fs::create_directories(folder / "work");

  std::vector<double> without, with;
  double statfs_seconds = 0;
  for (int round = 0; round <= rounds; ++round) {
    const double plain = TimeWindowStart(folder / "work");
    double beside_hung = 0;
    {
      // Beside the folder the window starts in, not in it; and measured
      // once the file system's own program has settled.
      test_support::HungMount hung(folder / "cards" / "hung");
      std::this_thread::sleep_for(std::chrono::milliseconds(200));
      beside_hung = TimeWindowStart(folder / "work");
      if (round == rounds) statfs_seconds = TimeStatfsOfEveryMount(5, hung);
    }
    if (round == 0) continue;  // a warm-up round
    without.push_back(plain);
    with.push_back(beside_hung);
    std::printf("round %d: window without the hung mount %.1f ms, beside it %.1f ms\n", round,
                plain * 1e3, beside_hung * 1e3);
  }
  fs::remove_all(folder);
  const double a = bench::Median(without);
  const double b = bench::Median(with);
  std::printf(
      "window start: median %.1f ms without, %.1f ms beside a mount that never answers "
      "(ratio %.2f), %d rounds\n",
      a * 1e3, b * 1e3, a > 0 ? b / a : 0.0, rounds);
  if (statfs_seconds < 0)
    std::printf("statfs of every mount (the drive list's reading before): no answer after 5 s\n");
  else
    std::printf("statfs of every mount: %.3f s\n", statfs_seconds);
  std::printf("goal: the same time with the hung mount as without\n");
  return b <= a * 1.5 + 0.05 ? 0 : 1;
}
