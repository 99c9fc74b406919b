// pirukko-edit with a CP932 text of about 100 MB (the text of the text-model
// benchmarks): opening the file in the real window until its first view is
// painted, and saving it unchanged, each measured side by side with the
// floor of the same bytes read (one read into a fresh buffer, and one into
// huge-page memory as the line store uses) or written (one write into a new
// file, synced, as a save is). Runs alternate, so
// that both sides meet the same machine load; medians are reported.
//
// Usage: edit_file_bench [MB]   (default 100), with QT_QPA_PLATFORM=offscreen
#include <fcntl.h>
#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/japanese_text.h"
#include "editapp/window/edit_window.h"
#include "editor/control/editor.h"

namespace {

using Clock = std::chrono::steady_clock;

double Milliseconds(Clock::duration d) {
  return std::chrono::duration<double, std::milli>(d).count();
}

// The processor time of this process (user and system: a read's or a
// write's copying counts, waiting for the disk does not), which other
// programs on a busy machine disturb much less than the wall clock.
double CpuMilliseconds() {
  timespec t{};
  clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
  return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

struct Times {
  std::vector<double> wall;
  std::vector<double> cpu;
};

void Time(Times& times, const std::function<void()>& work) {
  const double cpu = CpuMilliseconds();
  const auto start = Clock::now();
  work();
  times.wall.push_back(Milliseconds(Clock::now() - start));
  times.cpu.push_back(CpuMilliseconds() - cpu);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The floor of opening: the whole file read with one read into a fresh buffer.
// With `huge_pages`, the same read into memory taken as the line store takes
// a large file's block.
void ReadWhole(const std::string& path, bool huge_pages = false) {
  const bench::WholeFile file = bench::ReadWholeFile(path, huge_pages);
  if (file.read != file.size) std::abort();
}

// The floor of saving: the same bytes written into a new file with one write;
// with `sync` flushed to the disk before closing, as a save does.
void WriteWhole(const std::string& path, const std::string& bytes, bool sync) {
  const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::abort();
  std::size_t done = 0;
  while (done < bytes.size()) {
    const ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
    if (n <= 0) std::abort();
    done += static_cast<std::size_t>(n);
  }
  if (sync) fsync(fd);
  close(fd);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1) setenv("PIRUKKO_BENCH_MB", argv[1], 1);
  QApplication app(argc, argv);

  const std::string text = bench::MakeJapaneseText(bench::BenchTextBytes());
  const auto folder = std::filesystem::temp_directory_path() / "pirukko_edit_file_bench";
  std::filesystem::create_directories(folder);
  const std::string path = (folder / "text.txt").string();
  const std::string floor_path = (folder / "floor.txt").string();
  WriteWhole(path, text, false);
  std::printf("text: %.1f MB, %zu lines\n", static_cast<double>(text.size()) / 1e6,
              static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')));

  editapp::EditWindow window;
  window.resize(1280, 800);
  window.show();
  QApplication::processEvents();

  constexpr int kRuns = 5;
  Times read, read_large, read_count, load, load_noted, open, write_synced, write_plain, save;
  for (int run = 0; run < kRuns; ++run) {
    Time(read, [&] { ReadWhole(path); });
    Time(read_large, [&] { ReadWhole(path, true); });
    // The floor the text model's loader is measured against.
    Time(read_count, [&] { bench::ReadAndCountLines(path); });
    // The parts of opening: the line store's load alone, and with the file's
    // line breaks noted on the way.
    Time(load, [&] { window.Editor().Lines().LoadFromFile(path); });
    editor::TTextFileNotes notes;
    Time(load_noted, [&] { window.Editor().Lines().LoadFromFile(path, &notes); });
    Time(open, [&] {
      if (!window.OpenFile(path)) std::abort();
      // The first view, painted into the control's surface and onto the window.
      window.Editor().Update();
      window.repaint();
    });
    Time(write_synced, [&] { WriteWhole(floor_path, text, true); });
    Time(write_plain, [&] { WriteWhole(floor_path, text, false); });
    Time(save, [&] {
      if (!window.Save()) std::abort();
    });
  }

  // The save gave the same bytes back.
  std::ifstream in(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::printf("saved file identical: %s\n", saved == text ? "yes" : "NO");

  auto line = [](const char* what, const Times& t, const Times* floor, const char* floor_name) {
    const double wall = Median(t.wall);
    const double cpu = Median(t.cpu);
    std::printf("%-40s wall %8.1f ms", what, wall);
    if (floor) std::printf(" (%.2f x)", wall / Median(floor->wall));
    std::printf("   cpu %8.1f ms", cpu);
    if (floor) std::printf(" (%.2f x %s)", cpu / Median(floor->cpu), floor_name);
    std::printf("\n");
  };
  std::printf("medians of %d runs, side by side\n", kRuns);
  line("read the file (one read, fresh buffer)", read, nullptr, "");
  line("read into huge-page memory", read_large, nullptr, "");
  line("read and count the LF bytes", read_count, nullptr, "");
  line("  the line store's load alone", load, &read, "the read");
  line("  the load noting the line breaks", load_noted, &read, "the read");
  line("open to the first painted view", open, &read, "the read");
  line("  the same against read and count", open, &read_count, "read and count");
  line("  the same against huge-page read", open, &read_large, "huge-page read");
  line("write the bytes (one write, fsync)", write_synced, nullptr, "");
  line("write the bytes (one write, no fsync)", write_plain, nullptr, "");
  line("save (temporary file, fsync, rename)", save, &write_synced, "the synced write");
  std::filesystem::remove_all(folder);
  return saved == text ? 0 : 1;
}
