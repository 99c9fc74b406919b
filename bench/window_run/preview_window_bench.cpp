// The preview of 100,000 files through the program's window, with the
// editor control as its information window: how long it takes from the
// click to the last line shown, against listing and sorting the same folder
// with the file list, and how long the window's event loop was kept from
// turning while the information window filled (the longest gap between two
// turns of a 1 ms timer). The window's event loop sleeps while nothing
// waits, as it does for a user (a loop that polled would take a core from
// the run it measures).
//
//   preview_window_bench [--dir /tmp] [--files 100000] [--rounds 3]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
// Deletes every file it made.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>

#include <stdlib.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/window/desktop_hand_off.h"
#include "app/window/program_info_window.h"
#include "app/window/varnek_form.h"
#include "bench/common/copy_fixture.h"
#include "bench/common/window_bench.h"
#include "filelist/file_list.h"
#include "platform/user_locale.h"

namespace {

namespace fs = std::filesystem;

using bench::NoDesktop;

struct PreviewTurn {
  double seconds = 0;
  double longest_gap_ms = 0;
  int lines = 0;
};

PreviewTurn TimePreview(const fs::path& folder) {
  NoDesktop desktop;
  app::TVarnekForm::Options options =
      bench::ProgramWindowOptions(desktop, QString::fromStdString(folder.string()));
  app::TVarnekForm form(std::move(options));
  form.show();
  QApplication::processEvents();

  PreviewTurn turn;
  QElapsedTimer since_tick;
  QTimer tick;
  // The window's own event loop runs, sleeping while nothing waits, as it
  // does for a user; the tick also notices when the preview has ended.
  QEventLoop loop;
  QObject::connect(&tick, &QTimer::timeout, [&] {
    turn.longest_gap_ms =
        std::max(turn.longest_gap_ms, static_cast<double>(since_tick.nsecsElapsed()) / 1e6);
    since_tick.start();
    if (!form.Running()) loop.quit();
  });
  const auto start = bench::Clock::now();
  form.findChild<QAbstractButton*>(QStringLiteral("SpeedButton2"))->click();
  since_tick.start();
  tick.start(1);
  loop.exec();
  QApplication::processEvents();
  turn.seconds = bench::Seconds(bench::Clock::now() - start);
  tick.stop();
  turn.lines = form.Editor1().Lines().Count();
  return turn;
}

double TimeListing(const fs::path& folder) {
  filelist::TFileList list;
  list.Mask().Add("*.*");
  const auto start = bench::Clock::now();
  list.SetDirectory(folder.string());
  return bench::Seconds(bench::Clock::now() - start);
}

}  // namespace

int main(int argc, char** argv) {
  bench::OffscreenUnlessAsked();
  QApplication application(argc, argv);
  bench::PrepareProgramWindow(application);
  platform::ScopedUserLocale locale("ja_JP");
  std::string dir = "/tmp";
  int files = 100000;
  int rounds = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--dir") dir = argv[i + 1];
    if (key == "--files") files = std::atoi(argv[i + 1]);
    if (key == "--rounds") rounds = std::atoi(argv[i + 1]);
  }
  std::string tmpl = dir + "/pirukko-preview-bench-XXXXXX";
  if (!mkdtemp(tmpl.data())) {
    std::perror("mkdtemp");
    return 1;
  }
  const fs::path folder = tmpl;
  for (int i = 0; i < files; ++i) {
    char name[32];
    std::snprintf(name, sizeof name, "IMG_%06d.JPG", i);
    std::ofstream(folder / name);
  }

  std::vector<double> previews, listings, gaps;
  int lines = 0;
  for (int round = 0; round <= rounds; ++round) {
    // Both in every round, in turns, after a warm-up round.
    const double listing = TimeListing(folder);
    const PreviewTurn preview = TimePreview(folder);
    if (round == 0) continue;
    listings.push_back(listing);
    previews.push_back(preview.seconds);
    gaps.push_back(preview.longest_gap_ms);
    lines = preview.lines;
    std::printf("round %d: listing %.3f s, window preview %.3f s, longest event-loop gap %.0f ms\n",
                round, listing, preview.seconds, preview.longest_gap_ms);
  }
  fs::remove_all(folder);
  const double listing = bench::Median(listings);
  const double preview = bench::Median(previews);
  std::printf("files: %d, information window lines: %d, rounds: %d\n", files, lines, rounds);
  std::printf(
      "listing and sorting: median %.3f s; window preview: median %.3f s, ratio %.2f; "
      "longest event-loop gap: median %.0f ms, worst %.0f ms\n",
      listing, preview, listing > 0 ? preview / listing : 0.0, bench::Median(gaps),
      *std::max_element(gaps.begin(), gaps.end()));
  std::printf("goal: preview <= 1.5 x listing and sorting\n");
  return lines >= 3 * files ? 0 : 1;
}
