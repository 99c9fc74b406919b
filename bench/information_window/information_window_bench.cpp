// The information window (the editor control in its information look,
// shown offscreen) taking a preview's log: 100,000 files' worth of entries
// (three a file, as the preview writes them), handed over in turns of a few
// thousand as the window takes them from a run, each turn inside one
// update. One Add per entry against AddLines per turn; the process's CPU
// time and the wall time, and a check that both leave the same text.
//
//   information_window_bench [--files 100000] [--turn 3000] [--rounds 3]
#include <QApplication>

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <span>
#include <string>
#include <vector>

#include "app/window/teditor/information_look.h"
#include "bench/common/shown_editor.h"
#include "bench/common/window_bench.h"
#include "editor/control/editor.h"
#include "editor/text/screen_strings.h"

namespace {

using Clock = std::chrono::steady_clock;

double CpuSeconds() {
  timespec t;
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) / 1e9;
}

std::vector<std::string> PreviewEntries(int files) {
  std::vector<std::string> entries;
  entries.reserve(static_cast<std::size_t>(files) * 3 + 8);
  entries.push_back("\r" + std::string(70, '-'));
  char buffer[160];
  for (int i = 0; i < files; ++i) {
    std::snprintf(buffer, sizeof buffer, "COPY_From: /tmp/pirukko-preview-bench/IMG_%06d.JPG", i);
    entries.emplace_back(buffer);
    std::snprintf(buffer, sizeof buffer,
                  "     To  : /tmp/pirukko-preview-bench/NewFolder/2000/01/05%05d.JPG", i);
    entries.emplace_back(buffer);
    entries.emplace_back("     Date: 2000/01/05 12:00:00");
  }
  entries.push_back("\r" + std::string(70, '-'));
  return entries;
}

struct Figures {
  double wall = 0;
  double cpu = 0;
  std::string text;  // what the information window holds afterwards
};

template <typename AddTurn>
Figures TimeFill(const std::vector<std::string>& entries, int turn, AddTurn add_turn) {
  editor::TEditor editor;
  app::ApplyInformationWindowLook(editor);
  editor.SetReadOnly(true);
  bench::ShowEditor(editor, 800, 300);
  editor.Lines().Clear();
  QApplication::processEvents();
  const double cpu = CpuSeconds();
  const auto start = Clock::now();
  for (std::size_t at = 0; at < entries.size(); at += static_cast<std::size_t>(turn)) {
    const std::size_t end = std::min(entries.size(), at + static_cast<std::size_t>(turn));
    platform::TStringsUpdate update(editor.Lines());
    add_turn(editor, entries, at, end);
  }
  QApplication::processEvents();
  Figures f;
  f.wall = std::chrono::duration<double>(Clock::now() - start).count();
  f.cpu = CpuSeconds() - cpu;
  f.text = editor.Lines().Text();
  return f;
}

}  // namespace

int main(int argc, char** argv) {
  bench::OffscreenUnlessAsked();
  QApplication application(argc, argv);
  int files = 100000, turn = 3000, rounds = 3;
  for (int i = 1; i + 1 < argc; i += 2) {
    const std::string key = argv[i];
    if (key == "--files") files = std::atoi(argv[i + 1]);
    if (key == "--turn") turn = std::atoi(argv[i + 1]);
    if (key == "--rounds") rounds = std::atoi(argv[i + 1]);
  }
  const std::vector<std::string> entries = PreviewEntries(files);
  std::printf("%zu entries in turns of %d\n", entries.size(), turn);
  bool same = true;
  for (int round = 0; round < rounds; ++round) {
    const Figures one = TimeFill(
        entries, turn, [](editor::TEditor& e, const auto& lines, std::size_t a, std::size_t b) {
          for (std::size_t i = a; i < b; ++i) e.Lines().Add(lines[i]);
        });
    const Figures joined = TimeFill(
        entries, turn, [](editor::TEditor& e, const auto& lines, std::size_t a, std::size_t b) {
          e.Lines().AddLines(std::span<const std::string>(lines).subspan(a, b - a));
        });
    std::printf(
        "round %d: one Add each %.3f s wall, %.3f s CPU; AddLines %.3f s wall, %.3f s CPU\n", round,
        one.wall, one.cpu, joined.wall, joined.cpu);
    same = same && one.text == joined.text;
  }
  if (!same) std::fprintf(stderr, "the two ways left different texts\n");
  return same ? 0 : 1;
}
