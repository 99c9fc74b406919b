// pirukko-edit with a CP932 text of about 100 MB (the text of the text-model
// benchmarks): opening the file in the real window until its first view is
// painted, and saving it unchanged, each measured side by side with the
// floor of the same bytes read (one read into a fresh buffer) or written
// (one write into a new file, synced, as a save is). Runs alternate, so
// that both sides meet the same machine load; medians are reported.
//
// Usage: edit_file_bench [MB]   (default 100), with QT_QPA_PLATFORM=offscreen
#include <fcntl.h>
#include <sys/stat.h>
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

double Time(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return Milliseconds(Clock::now() - start);
}

double Median(std::vector<double> v) {
  std::sort(v.begin(), v.end());
  return v[v.size() / 2];
}

// The floor of opening: the whole file read with one read into a fresh buffer.
void ReadWhole(const std::string& path) {
  const int fd = open(path.c_str(), O_RDONLY);
  if (fd < 0) std::abort();
  struct stat info;
  fstat(fd, &info);
  const auto size = static_cast<std::size_t>(info.st_size);
  std::unique_ptr<char[]> buffer(new char[size]);
  std::size_t done = 0;
  while (done < size) {
    const ssize_t n = read(fd, buffer.get() + done, size - done);
    if (n <= 0) break;
    done += static_cast<std::size_t>(n);
  }
  close(fd);
  if (done != size) std::abort();
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
  std::vector<double> read, open, write_synced, write_plain, save;
  for (int run = 0; run < kRuns; ++run) {
    read.push_back(Time([&] { ReadWhole(path); }));
    open.push_back(Time([&] {
      if (!window.OpenFile(path)) std::abort();
      // The first view, painted into the control's surface and onto the window.
      window.Editor().Update();
      window.repaint();
    }));
    write_synced.push_back(Time([&] { WriteWhole(floor_path, text, true); }));
    write_plain.push_back(Time([&] { WriteWhole(floor_path, text, false); }));
    save.push_back(Time([&] {
      if (!window.Save()) std::abort();
    }));
  }

  // The save gave the same bytes back.
  std::ifstream in(path, std::ios::binary);
  const std::string saved((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  std::printf("saved file identical: %s\n", saved == text ? "yes" : "NO");

  const double r = Median(read), o = Median(open), ws = Median(write_synced),
               wp = Median(write_plain), s = Median(save);
  std::printf("%-44s median %8.1f ms\n", "read the file (one read, fresh buffer)", r);
  std::printf("%-44s median %8.1f ms   %.2f x the read\n", "open to the first painted view", o,
              o / r);
  std::printf("%-44s median %8.1f ms\n", "write the bytes (one write, fsync)", ws);
  std::printf("%-44s median %8.1f ms\n", "write the bytes (one write, no fsync)", wp);
  std::printf("%-44s median %8.1f ms   %.2f x the synced write\n",
              "save (temporary file, fsync, rename)", s, s / ws);
  std::filesystem::remove_all(folder);
  return saved == text ? 0 : 1;
}
