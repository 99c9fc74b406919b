// What a screen reader's most frequent question costs on a long log: "the
// line at this offset" for the last line of an information window holding
// 100,000 lines (offsets in Unicode characters over the control's CP932
// rows), asked through Qt's accessibility interface of the real control
// (offscreen). Side by side:
//   convert  the last line's bytes converted to a QString, nothing else: the
//            least any answer costs;
//   warm     the question again, nothing changed;
//   append   a line added to the log, then the question (the offsets are
//            counted again from the changed row on only);
//   cold     the first question after the whole text was set (every row
//            counted once).
// Medians (and the slowest) of the repetitions, in microseconds.
//
//   QT_QPA_PLATFORM=offscreen accessible_text_bench [--lines 100000] [--repeat 200]
#include <QAccessible>
#include <QApplication>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "bench/common/shown_editor.h"
#include "editor/control/editor.h"
#include "platform/cp932.h"
#include "platform/qt/control_widget.h"

namespace {

using Clock = std::chrono::steady_clock;

struct Result {
  double median_us = 0;
  double max_us = 0;
};

Result Measure(int repeat, const std::function<void()>& prepare,
               const std::function<void()>& work) {
  std::vector<double> times;
  for (int i = 0; i < repeat; ++i) {
    prepare();
    const auto start = Clock::now();
    work();
    times.push_back(std::chrono::duration<double, std::micro>(Clock::now() - start).count());
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times.back()};
}

std::string LogLine(int i) {
  char buffer[200];
  std::snprintf(
      buffer, sizeof buffer,
      "COPY_From: /home/user/写真/2026年08月/IMG_%06d.JPG  →  旅行_令和8年8月%d日_%05d.JPG", i,
      i % 28 + 1, i);
  return *platform::Utf8ToCp932(buffer);
}

}  // namespace

int main(int argc, char** argv) {
  int lines = 100000;
  int repeat = 200;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--lines")) lines = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--repeat")) repeat = std::atoi(argv[i + 1]);
  }
  QApplication app(argc, argv);
  editor::TEditor editor;
  editor.SetReadOnly(true);
  bench::ShowEditor(editor, 800, 300);

  std::string text;
  for (int i = 0; i < lines; ++i) text += LogLine(i) + "\r\n";
  text += LogLine(lines);
  int added = lines + 1;

  QAccessibleInterface* iface =
      QAccessible::queryAccessibleInterface(platform::ClientWidget(editor));
  QAccessibleTextInterface* access = iface ? iface->textInterface() : nullptr;
  if (!access) {
    std::fprintf(stderr, "the editor has no accessible text interface\n");
    return 1;
  }
  QString answer;
  const auto last_line = [&] {
    int start = 0;
    int end = 0;
    answer =
        access->textAtOffset(access->characterCount() - 1, QAccessible::LineBoundary, &start, &end);
  };

  const Result cold = Measure(
      std::max(repeat / 20, 3), [&] { editor.Lines().SetTextStr(text); }, last_line);
  const Result convert = Measure(
      repeat, [] {},
      [&] {
        const std::string row = editor.Lines()[editor.Lines().Count() - 1];
        answer = QString::fromStdU16String(platform::Cp932ToUtf16Chars(row));
      });
  const Result warm = Measure(
      repeat, [] {}, last_line);
  const Result append = Measure(
      repeat, [&] { editor.Lines().Add(LogLine(added++)); }, last_line);

  if (answer != QString::fromStdU16String(platform::Cp932ToUtf16Chars(LogLine(added - 1)))) {
    std::fprintf(stderr, "the last line read back wrong\n");
    return 1;
  }
  std::printf("%d lines, %d characters; microseconds, median (slowest):\n", editor.Lines().Count(),
              access->characterCount());
  std::printf("  convert the last line alone  %10.1f (%.1f)\n", convert.median_us, convert.max_us);
  std::printf("  line at offset, warm         %10.1f (%.1f)\n", warm.median_us, warm.max_us);
  std::printf("  line at offset, after Add    %10.1f (%.1f)\n", append.median_us, append.max_us);
  std::printf("  line at offset, cold         %10.1f (%.1f)\n", cold.median_us, cold.max_us);
  return 0;
}
