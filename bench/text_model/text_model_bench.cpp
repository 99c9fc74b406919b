// The text model on a CP932 text of about 100 MB (CR LF, about 2.4 million
// lines of varied length): LoadFromFile against the floor of reading the
// same file with one read and counting its lines, the peak memory of the
// load, WrapAll at WrapByte 80, and single edits through ReplaceRows at the
// start, the middle and the end of the text with their undo.
//
// Usage: text_model_bench [MB]   (default 100; a smaller text for a quick run)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "bench/common/allocation_meter.h"
#include "bench/common/japanese_text.h"
#include "bench/common/process_memory.h"
#include "editor/text/editor_strings.h"
#include "editor/text/wrap_option.h"
#include "tests/editor/text/test_owner.h"

namespace {

using Clock = std::chrono::steady_clock;
using editor::testing::TestOwner;

double Seconds(Clock::duration d) {
  return std::chrono::duration<double>(d).count();
}

double TimeOnce(const std::function<void()>& work) {
  const auto start = Clock::now();
  work();
  return Seconds(Clock::now() - start);
}

double Median(std::vector<double> values) {
  std::sort(values.begin(), values.end());
  return values[values.size() / 2];
}

double Percentile(std::vector<double> values, double p) {
  std::sort(values.begin(), values.end());
  return values[static_cast<std::size_t>(p * (values.size() - 1))];
}

// One edit of a row through ReplaceRows, as typing, deleting, splitting and
// joining make them; the text is the same after the edit and its undo.
struct Edit {
  const char* name;
  int rows;  // rows replaced
  std::function<std::string(const std::string& row, const std::string& next)> text;
};

const Edit kEdits[] = {
    {"type one character", 1,
     [](const std::string& row, const std::string&) {
       return row.substr(0, row.size() / 2) + "x" + row.substr(row.size() / 2) + "\r\n";
     }},
    {"delete one character", 1,
     [](const std::string& row, const std::string&) {
       return row.substr(0, row.size() / 2) + row.substr(std::min(row.size(), row.size() / 2 + 1)) +
              "\r\n";
     }},
    {"split the line (CR LF)", 1,
     [](const std::string& row, const std::string&) {
       return row.substr(0, row.size() / 2) + "\r\n" + row.substr(row.size() / 2) + "\r\n";
     }},
    {"join two lines", 2,
     [](const std::string& row, const std::string& next) { return row + next + "\r\n"; }},
};

}  // namespace

int main(int argc, char** argv) {
  const std::size_t megabytes = argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 100;
  const std::filesystem::path path =
      std::filesystem::temp_directory_path() / "pirukko_text_model_bench.txt";
  std::size_t file_size = 0;
  {
    std::string text = bench::MakeJapaneseText(megabytes << 20);
    // One of the manual pages holds a 0x1A byte; as the end-of-file mark it
    // would end the loaded text there, so it becomes a space.
    std::replace(text.begin(), text.end(), '\x1A', ' ');
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(text.data(), 1, text.size(), file) != text.size()) return 1;
    std::fclose(file);
    file_size = text.size();
  }
  const std::string file = path.string();
  std::printf("text: %.1f MB, %zu lines\n", file_size / 1e6, bench::ReadAndCountLines(file));

  // Load against the floor, three of each, alternating; the median counts.
  std::vector<double> floor_times, load_times;
  std::size_t load_peak = 0, resident_peak = 0, rows_after_load = 0;
  for (int run = 0; run < 3; ++run) {
    floor_times.push_back(TimeOnce([&] { bench::ReadAndCountLines(file); }));
    auto owner = std::make_unique<TestOwner>();
    const std::size_t held = bench::AllocatedBytes();
    const std::size_t resident = bench::ResidentBytes();
    bench::ResetPeakAllocated();
    bench::ResetPeakResident();
    load_times.push_back(TimeOnce([&] { owner->lines.LoadFromFile(file); }));
    load_peak = std::max(load_peak, bench::PeakAllocatedBytes() - held);
    resident_peak = std::max(resident_peak, bench::PeakResidentBytes() - resident);
    rows_after_load = owner->rows.GetCount();
  }
  const double floor_time = Median(floor_times), load_time = Median(load_times);
  std::printf("read + count lines (floor): %.0f ms\n", floor_time * 1e3);
  std::printf("LoadFromFile: %.0f ms = %.2f x floor, %zu rows\n", load_time * 1e3,
              load_time / floor_time, rows_after_load);
  // The file's block and the rows of a big text are mapped outside operator
  // new (platform::LargeBlock), so the resident set's growth counts them; the
  // larger of the two figures is the load's memory.
  const std::size_t load_memory = std::max(load_peak, resident_peak);
  std::printf(
      "LoadFromFile peak memory: %.0f MB = %.2f x file size (operator new: %.0f MB, resident set "
      "grew by %.0f MB)\n",
      load_memory / 1e6, static_cast<double>(load_memory) / file_size, load_peak / 1e6,
      resident_peak / 1e6);

  TestOwner owner;
  owner.lines.LoadFromFile(file);
  std::vector<double> wrap_times, unwrap_times;
  for (int run = 0; run < 3; ++run) {
    wrap_times.push_back(TimeOnce([&] { owner.rows.SetWordWrap(true); }));
    if (run == 0) std::printf("rows at WrapByte 80: %d\n", owner.rows.GetCount());
    unwrap_times.push_back(TimeOnce([&] { owner.rows.SetWordWrap(false); }));
  }
  std::printf("WrapAll at WrapByte 80 (word wrap switched on): %.0f ms = %.2f x load\n",
              Median(wrap_times) * 1e3, Median(wrap_times) / load_time);
  std::printf("UnwrapAll (word wrap switched off): %.0f ms\n", Median(unwrap_times) * 1e3);

  // Edits with word wrap off, as the information window has it.
  const int rows = owner.rows.GetCount();
  const struct {
    const char* name;
    int row;
  } places[] = {{"start", 0}, {"middle", rows / 2}, {"end", rows - 2}};
  const int repeats = 201;
  std::printf("\n%-24s %-7s %10s %10s %10s %10s %10s\n", "edit (ReplaceRows)", "where", "median us",
              "p90 us", "max us", "undo med", "undo p90");
  for (const Edit& edit : kEdits) {
    for (const auto& place : places) {
      std::vector<double> edit_times, undo_times;
      const std::string text = edit.text(owner.rows.Get(place.row), owner.rows.Get(place.row + 1));
      const std::string before = owner.rows.GetRowsText(place.row, 2);
      for (int i = 0; i < repeats; ++i) {
        edit_times.push_back(TimeOnce([&] { owner.rows.ReplaceRows(place.row, edit.rows, text); }));
        if (i == 0 && owner.rows.GetRowsText(place.row, 2) == before) {
          std::printf("the edit changed nothing at the %s\n", place.name);
          return 1;
        }
        undo_times.push_back(TimeOnce([&] { owner.rows.Undo(); }));
      }
      if (owner.rows.GetRowsText(place.row, 2) != before) {
        std::printf("undo did not restore the text at the %s\n", place.name);
        return 1;
      }
      // The first edit at a place moves the row store's gap there: the max.
      std::printf("%-24s %-7s %10.1f %10.1f %10.1f %10.1f %10.1f\n", edit.name, place.name,
                  Median(edit_times) * 1e6, Percentile(edit_times, 0.9) * 1e6,
                  Percentile(edit_times, 1.0) * 1e6, Median(undo_times) * 1e6,
                  Percentile(undo_times, 0.9) * 1e6);
    }
  }
  std::filesystem::remove(path);
  return 0;
}
