// The editor control painting a 1280x800 view of a CP932 text of about
// 100 MB (the text of the text-model benchmarks, loaded with LoadFromFile):
// a full repaint of the view, a scroll by one row and by one page, and a
// jump to the middle of the text, each painted into the control's surface
// before the call returns. Two looks: the information window's (plain text
// white on black, only addresses coloured) and one where every kind of
// token has colours of its own, so that most tokens are drawn twice.
//
// Usage: editor_view_bench [MB]   (default 100), with QT_QPA_PLATFORM=offscreen
#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "app/window/teditor/information_look.h"
#include "bench/common/japanese_text.h"
#include "bench/common/shown_editor.h"
#include "editor/control/editor.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

struct Figures {
  double median;
  double p90;
  double worst;
};

Figures Measure(int runs, const std::function<void(int)>& work) {
  std::vector<double> times;
  for (int i = 0; i < runs; ++i) {
    const auto start = Clock::now();
    work(i);
    times.push_back(Milliseconds(Clock::now() - start));
  }
  std::sort(times.begin(), times.end());
  return {times[times.size() / 2], times[static_cast<std::size_t>(0.9 * (times.size() - 1))],
          times.back()};
}

void Report(const char* look, const char* what, const Figures& f) {
  std::printf("%-16s %-34s median %7.3f ms   p90 %7.3f ms   worst %7.3f ms\n", look, what, f.median,
              f.p90, f.worst);
}

void ManyColours(editor::TEditor& editor) {
  using namespace platform;
  editor::TEditorColors& colors = editor.View().Colors();
  colors.Ank().SetColor(clNavy);
  colors.Comment().SetColor(clGreen);
  colors.DBCS().SetColor(clMaroon);
  colors.Int().SetColor(clBlue);
  colors.Str().SetColor(clPurple);
  colors.Symbol().SetColor(clTeal);
  colors.Reserve().SetColor(clRed);
  colors.Reserve().SetStyle({fsBold});
  colors.Url().SetColor(clBlue);
  colors.Url().SetStyle({fsUnderline});
  colors.Mail().SetColor(clOlive);
  colors.Mail().SetStyle({fsUnderline});
  editor.View().SetUrl(true);
  editor.View().SetMail(true);
  editor.View().SetQuotation("\"");
}

void Run(const char* look, const std::string& path, bool information) {
  editor::TEditor editor;
  if (information)
    app::ApplyInformationWindowLook(editor);
  else
    ManyColours(editor);
  bench::ShowEditor(editor, 1280, 800);
  const auto load_start = Clock::now();
  editor.Lines().LoadFromFile(path);
  std::printf("%-16s load and first view: %.0f ms, %d rows, view %d x %d cells\n", look,
              Milliseconds(Clock::now() - load_start), editor.RowCount(), editor.VisibleCols(),
              editor.VisibleRows());
  editor.Update();

  const int middle = editor.RowCount() / 2;
  Report(look, "jump to the middle and paint",
         Measure(20, [&](int i) { editor.SetTopRow(i % 2 ? 0 : middle + i); }));
  editor.SetTopRow(middle);
  editor.Update();
  Report(look, "full repaint", Measure(50, [&](int) {
           editor.InvalidateAll();
           editor.Update();
         }));
  Report(look, "scroll one row down",
         Measure(400, [&](int) { editor.SetTopRow(editor.TopRow() + 1); }));
  Report(look, "scroll one row up",
         Measure(400, [&](int) { editor.SetTopRow(editor.TopRow() - 1); }));
  Report(look, "scroll one page down",
         Measure(50, [&](int) { editor.SetTopRow(editor.TopRow() + editor.VisibleRows()); }));
  Report(look, "page down with the caret",
         Measure(50, [&](int) { editor.PageScroll(editor.VisibleRows()); }));
}

}  // namespace

int main(int argc, char** argv) {
  const int mb = argc > 1 ? std::max(1, std::atoi(argv[1])) : 100;
  QApplication app(argc, argv);
  const std::string text = bench::MakeJapaneseText(static_cast<std::size_t>(mb) << 20);
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "pirukko_editor_view_bench.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out.write(text.data(), static_cast<std::streamsize>(text.size()));
  }
  std::printf("text: %.1f MB\n", static_cast<double>(text.size()) / (1 << 20));
  Run("information", path.string(), true);
  Run("many colours", path.string(), false);
  std::filesystem::remove(path);
  return 0;
}
