// The copy run through the program's window: "実行" pressed on a window
// pointed at 5,000 files of 4 KiB and one of 200 MiB, with the editor
// control as its information window and the progress bar painted as the
// run goes on, against `cp -p` of the same files into a new folder.
//
//   window_run_bench [--dir /tmp] [--files 5000] [--big-mib 200] [--rounds 5]
//
// Four turns in every round, in rotation (bench/common/copy_fixture.h):
//   "cp -p"           the yardstick;
//   "copy run"        the run without a window, its log in a string list;
//   "window, memory"  the same window, but with an information window that
//                     only keeps the log's lines (the progress bar as ever);
//   "window"          the window as the program shows it.
// A window turn lasts from the click to the last paint of the window after
// the run, which goes on off the window's thread, has ended; the
// window is made and shown before the clock starts. The time spent painting
// the progress bar and the information window is measured apart. Runs on
// the offscreen platform unless QT_QPA_PLATFORM says otherwise. Deletes
// every file it made.
#include <QAbstractButton>
#include <QApplication>
#include <QElapsedTimer>
#include <QEvent>
#include <QProgressBar>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <exception>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "app/window/cp932_text.h"
#include "app/window/desktop_hand_off.h"
#include "app/window/info_window.h"
#include "app/window/program_info_window.h"
#include "app/window/varnek_form.h"
#include "bench/common/copy_fixture.h"
#include "bench/common/core_copy_run.h"
#include "bench/common/window_bench.h"
#include "platform/user_locale.h"

namespace {

namespace fs = std::filesystem;

// Adds up the time each widget (and its children) spends painting.
class PaintMeter : public QApplication {
 public:
  using QApplication::QApplication;

  void Watch(QWidget* widget) { watched_ = widget; }
  double Seconds() const { return nanoseconds_ / 1e9; }
  int Paints() const { return paints_; }
  void Reset() {
    nanoseconds_ = 0;
    paints_ = 0;
  }

  bool notify(QObject* receiver, QEvent* event) override {
    if (event->type() != QEvent::Paint || !watched_ || !receiver->isWidgetType() ||
        !watched_->isAncestorOf(static_cast<QWidget*>(receiver))) {
      return QApplication::notify(receiver, event);
    }
    QElapsedTimer timer;
    timer.start();
    const bool handled = QApplication::notify(receiver, event);
    nanoseconds_ += timer.nsecsElapsed();
    ++paints_;
    return handled;
  }

 private:
  QWidget* watched_ = nullptr;
  qint64 nanoseconds_ = 0;
  int paints_ = 0;
};

// An information window that keeps the log's lines and shows nothing.
class MemoryInfoWindow : public QWidget, public app::InfoWindow {
 public:
  explicit MemoryInfoWindow(QWidget* parent) : QWidget(parent) {
    lines_.Add(app::Cp932("■□■ 情報ウインドウ ■□■"));
    lines_.OnChange = [this](platform::TObject*) {
      if (OnChange) OnChange();
    };
  }
  QWidget* Widget() override { return this; }
  platform::TStrings& Lines() override { return lines_; }
  int VisibleRows() const override { return 5; }
  int TopRow() const override { return top_row_; }
  void SetTopRow(int row) override { top_row_ = row; }
  void SetCaretToEnd() override {}
  int CursorKind() const override { return 0; }
  const editor::TEditorCursors& Cursors() const override { return cursors_; }
  void SetCursor(platform::TCursor) override {}
  void SetScreenCursor(platform::TCursor) override {}
  app::TTokenKind TokenKindFromCaret() override { return app::tkEnd; }
  app::TTokenKind TokenKindFromPos(QPoint) override { return app::tkEnd; }
  std::string TokenFromCaret() override { return {}; }
  void SelectTokenFromCaret() override {}

 protected:
  void resizeEvent(QResizeEvent*) override {
    if (OnResize) OnResize();
  }

 private:
  platform::TStringList lines_;
  int top_row_ = 0;
  editor::TEditorCursors cursors_;
};

using bench::NoDesktop;

// One window turn: a fresh window on a fresh source folder, "実行" clicked.
class WindowTurn {
 public:
  WindowTurn(PaintMeter& meter, const bench::CopyFixture& fixture, std::string name,
             app::InfoWindowFactory factory)
      : meter_(meter), fixture_(fixture), name_(std::move(name)), factory_(std::move(factory)) {}

  void Prepare(int round) {
    source_ = fixture_.NewSourceFolder(name_ + std::to_string(round));
    app::TVarnekForm::Options options;
    options.info_window_factory = [this](QWidget* parent) {
      std::unique_ptr<app::InfoWindow> made = factory_(parent);
      info_ = made.get();
      return made;
    };
    options.desktop = &desktop_;
    options.start_directory = QString::fromStdString(source_.string());
    form_ = std::make_unique<app::TVarnekForm>(std::move(options));
    form_->show();
    QElapsedTimer waited;
    waited.start();
    while (!(form_->windowHandle() && form_->windowHandle()->isExposed()) &&
           waited.elapsed() < 5000) {
      QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    QApplication::processEvents();
  }

  std::optional<double> Run(int round) {
    auto* button = form_->findChild<QAbstractButton*>(QStringLiteral("Button2"));
    auto* bar = form_->findChild<QProgressBar*>(QStringLiteral("ProgressBar1"));
    meter_.Watch(form_.get());
    meter_.Reset();
    const auto start = bench::Clock::now();
    button->click();
    // The run goes on off the window's thread; the window takes in its log
    // as it comes, and the turn ends with the window showing its last state.
    while (form_->Running()) QApplication::processEvents(QEventLoop::AllEvents, 5);
    QApplication::processEvents();
    const double t = bench::Seconds(bench::Clock::now() - start);
    meter_.Watch(nullptr);
    if (round > 0) {
      paint_seconds_.push_back(meter_.Seconds());
      paints_ = meter_.Paints();
    }

    platform::TStrings& lines = info_->Lines();
    log_entries_ = static_cast<std::size_t>(lines.Count());
    // The editor control shows the closing entry's carriage return as a
    // line break of its own.
    const std::string closing = app::Cp932("正常に終了しました。");
    const std::string last = lines.Count() > 0 ? lines[lines.Count() - 1] : std::string();
    const bool finished = last.size() >= closing.size() &&
                          last.compare(last.size() - closing.size(), closing.size(), closing) == 0;
    const std::size_t copied = bench::CountFiles(source_ / "NewFolder");
    const bool full_bar = bar->value() == bar->maximum();
    info_ = nullptr;
    form_.reset();
    if (!finished || copied != fixture_.FileCount() || !full_bar) {
      std::fprintf(stderr, "%s: copied %zu files, finished %d, progress bar full %d\n",
                   name_.c_str(), copied, finished, full_bar);
      return std::nullopt;
    }
    return t;
  }

  bench::TimedTurn Turn() {
    return {name_, [this](int round) { return Run(round); }, [this](int round) { Prepare(round); }};
  }

  const std::string& name() const { return name_; }
  const std::vector<double>& paint_seconds() const { return paint_seconds_; }
  int paints() const { return paints_; }
  std::size_t log_entries() const { return log_entries_; }

 private:
  PaintMeter& meter_;
  const bench::CopyFixture& fixture_;
  std::string name_;
  app::InfoWindowFactory factory_;
  NoDesktop desktop_;
  fs::path source_;
  std::unique_ptr<app::TVarnekForm> form_;
  app::InfoWindow* info_ = nullptr;
  std::vector<double> paint_seconds_;
  int paints_ = 0;
  std::size_t log_entries_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  bench::OffscreenUnlessAsked();
  PaintMeter application(argc, argv);
  bench::PrepareProgramWindow(application);
  platform::ScopedUserLocale locale("ja_JP");
  const bench::CopyBenchArgs args = bench::ParseCopyBenchArgs(argc, argv);
  std::unique_ptr<bench::CopyFixture> fixture = bench::MakeCopyFixture(args);
  if (!fixture) return 1;

  bench::CoreCopyRun core;
  fs::path core_source;
  WindowTurn memory_window(application, *fixture, "window, memory log", [](QWidget* parent) {
    return std::make_unique<MemoryInfoWindow>(parent);
  });
  WindowTurn real_window(application, *fixture, "window", app::ProgramInfoWindowFactory());

  std::vector<bench::TimedTurn> turns;
  turns.push_back({"cp -p + sync",
                   [&](int round) { return fixture->TimeCpCopy("cp" + std::to_string(round)); }});
  turns.push_back(
      {"copy run", [&](int) { return core.Time(core_source, fixture->FileCount()); },
       [&](int round) { core_source = fixture->NewSourceFolder("core" + std::to_string(round)); }});
  turns.push_back(memory_window.Turn());
  turns.push_back(real_window.Turn());
  const bool ok = bench::RunRounds(args.rounds, turns);
  fixture.reset();

  std::printf("platform: %s; files: %d x 4 KiB + 1 x %d MiB, rounds: %d, log entries: %zu\n",
              qPrintable(QApplication::platformName()), args.files, args.big_mib, args.rounds,
              memory_window.log_entries());
  bench::PrintMedians(turns, 0);
  for (const WindowTurn* w : {&memory_window, &real_window}) {
    std::printf("painting in \"%s\": median %.3f s (%d paint events in the last run)\n",
                w->name().c_str(), bench::Median(w->paint_seconds()), w->paints());
  }
  std::printf("goal: window <= 1.50 x cp -p\n");
  if (!ok || core.failed() != 0) {
    std::fprintf(stderr, "copy failures: %d\n", core.failed());
    return 1;
  }
  return 0;
}
