// The program's window, with the editor control as its information window,
// resized step by step from the layout's 597 x 433 to 1920 x 1080 and back,
// as a user drags a corner: each step is the resize, the layout that follows
// it and the whole window painted again. Side by side in one run: the
// information window holding a preview's log of 100,000 lines (scrolled to
// its end, as a run leaves it) against holding only its start line.
//
//   window_resize_bench [--lines 100000] [--steps 40] [--rounds 5]
//
// Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include <QApplication>
#include <QElapsedTimer>

#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/window/desktop_hand_off.h"
#include "app/window/program_info_window.h"
#include "app/window/varnek_form.h"
#include "bench/common/window_bench.h"
#include "platform/user_locale.h"
#include "ui/layout_look.h"

namespace {

using bench::NoDesktop;

// A preview's log, three lines a file, as the window shows it.
std::string PreviewLog(int lines) {
  std::string text;
  text.reserve(static_cast<std::size_t>(lines) * 64);
  char buffer[160];
  for (int i = 0; i < lines; ++i) {
    switch (i % 3) {
      case 0:
        std::snprintf(buffer, sizeof buffer, "COPY_From: /home/user/photos/IMG_%06d.JPG\r\n",
                      i / 3);
        break;
      case 1:
        std::snprintf(buffer, sizeof buffer,
                      "     To  : /home/user/photos/NewFolder/2000/01/05%05d.JPG\r\n", i / 3);
        break;
      default:
        std::snprintf(buffer, sizeof buffer, "     Date: 2000/01/05 12:00:00\r\n");
        break;
    }
    text += buffer;
  }
  return text;
}

// The thread's CPU time: what a step costs this program, whatever else the
// shared machine runs meanwhile.
double CpuMs() {
  timespec t;
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Steps {
  std::vector<double> ms;   // wall time, one a step, both ways
  std::vector<double> cpu;  // the thread's CPU time for the same steps
};

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  const auto at = static_cast<std::size_t>(p * static_cast<double>(values.size() - 1) + 0.5);
  return values[at];
}

// Grows the window to 1920 x 1080 in `steps` steps and shrinks it back.
void TimeResizing(app::TVarnekForm& form, int steps, Steps& out) {
  const QSize from = app::TVarnekForm::kLayoutSize, to(1920, 1080);
  std::vector<QSize> sizes;
  for (int i = 1; i <= steps; ++i) {
    sizes.push_back(from + (to - from) * i / steps);
  }
  for (int i = steps - 1; i >= 0; --i) {
    sizes.push_back(from + (to - from) * i / steps);
  }
  QElapsedTimer timer;
  for (const QSize size : sizes) {
    const double cpu = CpuMs();
    timer.start();
    form.resize(size);
    form.repaint();
    QApplication::processEvents();
    out.ms.push_back(static_cast<double>(timer.nsecsElapsed()) / 1e6);
    out.cpu.push_back(CpuMs() - cpu);
  }
}

}  // namespace

int main(int argc, char** argv) {
  bench::OffscreenUnlessAsked();
  QApplication application(argc, argv);
  bench::PrepareProgramWindow(application);
  ui::UseLayoutLook();
  platform::ScopedUserLocale locale("ja_JP");
  int lines = 100000;
  int steps = 40;
  int rounds = 5;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--lines") lines = std::atoi(argv[i + 1]);
    if (key == "--steps") steps = std::atoi(argv[i + 1]);
    if (key == "--rounds") rounds = std::atoi(argv[i + 1]);
  }
  const std::string log = PreviewLog(lines);

  NoDesktop desktop;
  const auto make_form = [&] {
    app::TVarnekForm::Options options = bench::ProgramWindowOptions(desktop);
    auto form = std::make_unique<app::TVarnekForm>(std::move(options));
    form->show();
    QApplication::processEvents();
    return form;
  };
  auto long_log = make_form();
  long_log->Editor1().Lines().SetText(log);
  QApplication::processEvents();
  auto start_line = make_form();

  Steps with_log, without_log;
  for (int round = 0; round <= rounds; ++round) {
    // Both in every round, in turns, after a warm-up round.
    Steps a, b;
    TimeResizing(*long_log, steps, a);
    TimeResizing(*start_line, steps, b);
    if (round == 0) continue;
    with_log.ms.insert(with_log.ms.end(), a.ms.begin(), a.ms.end());
    with_log.cpu.insert(with_log.cpu.end(), a.cpu.begin(), a.cpu.end());
    without_log.ms.insert(without_log.ms.end(), b.ms.begin(), b.ms.end());
    without_log.cpu.insert(without_log.cpu.end(), b.cpu.begin(), b.cpu.end());
  }
  std::printf("information window lines: %d and %d; %d steps each way, %d rounds\n",
              long_log->Editor1().Lines().Count(), start_line->Editor1().Lines().Count(), steps,
              rounds);
  std::printf("%-22s %8s %8s %8s   %8s %8s\n", "a step (ms)", "median", "p90", "worst", "CPU med",
              "CPU p90");
  const auto row = [](const std::string& name, const Steps& steps) {
    std::printf("%-22s %8.2f %8.2f %8.2f   %8.2f %8.2f\n", name.c_str(), Percentile(steps.ms, 0.5),
                Percentile(steps.ms, 0.9), Percentile(steps.ms, 1.0), Percentile(steps.cpu, 0.5),
                Percentile(steps.cpu, 0.9));
  };
  row(std::to_string(lines) + "-line log", with_log);
  row("start line only", without_log);
  const double median = Percentile(with_log.ms, 0.5);
  std::printf("goal: at most 16 ms a step at the median: %s\n", median <= 16.0 ? "met" : "MISSED");
  return median <= 16.0 ? 0 : 1;
}
