// A large CP932 text made from real Japanese text: the Japanese manual pages
// installed on the machine, converted to CP932, with CR LF line ends and
// lines of varied length (many short ones, some of several hundred bytes).
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "platform/large_block.h"

namespace bench {

// About `bytes` bytes, always the same for the same installed pages.
std::string MakeJapaneseText(std::size_t bytes);

// The size of the benchmarks' text: 100 MiB, or PIRUKKO_BENCH_MB megabytes
// for a quick run while others build.
std::size_t BenchTextBytes();

// A whole file read with one read into a fresh buffer: the floor of loading.
// With `huge_pages` the buffer is taken as the line store takes a large
// file's block (platform::LargeBlock), which leaves out the cost of touching
// fresh memory page by page.
struct WholeFile {
  std::unique_ptr<char[]> fresh;  // the buffer, without huge pages
  platform::LargeBlock large;     // the buffer, with them
  const char* bytes = nullptr;    // whichever holds the file
  std::size_t size = 0;           // the file's size when it was opened
  std::size_t read = 0;           // the bytes read
};
WholeFile ReadWholeFile(const std::string& path, bool huge_pages = false);

// The floor a loader is measured against: the file read with one read into
// a fresh buffer, its LF bytes counted.
std::size_t ReadAndCountLines(const std::string& path);

}  // namespace bench
