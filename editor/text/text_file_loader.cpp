#include "editor/text/text_file_loader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <string>

#include "platform/large_block.h"

#include "editor/text/split_lines.h"
#include "platform/string_list.h"

namespace editor {
namespace {

constexpr char kEndOfFileMark = 0x1A;

// The bytes of a file before its first 0x1A, read into one block.
struct LoadedBytes {
  platform::LargeBlock block;
  std::size_t size = 0;
  bool end_mark = false;  // the bytes ended at a 0x1A
  std::string_view Data() const { return {block.data(), size}; }
};

// Reads up to `size` bytes; fewer only at the end of the file.
std::size_t ReadBlock(std::ifstream& file, char* into, std::size_t size) {
  file.read(into, static_cast<std::streamsize>(size));
  if (file.bad()) throw platform::EReadError("Stream read error");
  return static_cast<std::size_t>(file.gcount());
}

// Moves the bytes read so far into a block of `size` bytes.
void Resize(LoadedBytes& loaded, std::size_t size) {
  platform::LargeBlock resized(size);
  if (loaded.size > 0) std::memcpy(resized.data(), loaded.block.data(), loaded.size);
  loaded.block = std::move(resized);
}

// Reads the file, `block_size` bytes at a time, straight into a block sized
// by the file's length, and stops at the first 0x1A or the end. A file that
// grows while it is read (or tells no length) grows the block.
LoadedBytes ReadUpToMark(std::ifstream& file, std::size_t block_size) {
  file.seekg(0, std::ios::end);
  const std::streamoff length = file ? static_cast<std::streamoff>(file.tellg()) : -1;
  file.clear();
  if (length >= 0) {
    file.seekg(0);
    if (!file) throw platform::EReadError("Stream read error");
  }
  LoadedBytes loaded;
  loaded.block = platform::LargeBlock(length > 0 ? static_cast<std::size_t>(length) : block_size);
  for (;;) {
    if (loaded.size == loaded.block.size()) {
      if (file.peek() == std::char_traits<char>::eof()) break;
      Resize(loaded, loaded.block.size() + std::max(loaded.block.size(), block_size));
    }
    char* const into = loaded.block.data() + loaded.size;
    const std::size_t wanted = std::min(block_size, loaded.block.size() - loaded.size);
    const std::size_t n = ReadBlock(file, into, wanted);
    if (const void* mark = std::memchr(into, kEndOfFileMark, n)) {
      loaded.size += static_cast<std::size_t>(static_cast<const char*>(mark) - into);
      loaded.end_mark = true;
      break;
    }
    loaded.size += n;
    if (n < wanted) break;
  }
  if (file.bad()) throw platform::EReadError("Stream read error");
  // A mark early in a long file leaves most of the block unused.
  if (loaded.size < loaded.block.size() / 2) Resize(loaded, loaded.size);
  return loaded;
}

// Line ends among `n` bytes, the last byte left out: every LF, and every CR
// that no LF follows. Counted in runs of 255 bytes into a byte-wide sum,
// which lets the compiler check many bytes at once.
long long CountLineEnds(const unsigned char* p, std::size_t n) {
  long long ends = 0;
  for (std::size_t run = 0; run + 1 < n; run += 255) {
    const std::size_t stop = std::min(n - 1, run + 255);
    unsigned char sum = 0;
    for (std::size_t i = run; i < stop; ++i)
      sum += (p[i] == '\n') | ((p[i] == '\r') & (p[i + 1] != '\n'));
    ends += sum;
  }
  return ends;
}

// The rows the bytes make: one for every line end before the last byte, and
// one that the last byte ends or leaves open.
long long CountLines(std::string_view data) {
  if (data.empty()) return 0;
  return CountLineEnds(reinterpret_cast<const unsigned char*>(data.data()), data.size()) + 1;
}

// Removes the rows a failed load appended.
class AppendedRows {
 public:
  AppendedRows(TPointerStringList& rows) : rows_(rows), before_(rows.GetCount()) {}
  ~AppendedRows() {
    if (!kept_) rows_.DeleteRowRange(before_, rows_.GetCount() - before_);
  }
  void Keep() { kept_ = true; }
  AppendedRows(const AppendedRows&) = delete;
  AppendedRows& operator=(const AppendedRows&) = delete;

 private:
  TPointerStringList& rows_;
  int before_;
  bool kept_ = false;
};

}  // namespace

long long CountTextFileLines(std::string_view path, std::size_t block_size) {
  if (block_size == 0) block_size = kLoadBlockSize;
  std::ifstream file = platform::OpenFileForReading(path);
  return CountLines(ReadUpToMark(file, block_size).Data());
}

void LoadTextFile(TPointerStringList& rows, std::string_view path, std::size_t block_size,
                  TTextFileNotes* notes) {
  if (block_size == 0) block_size = kLoadBlockSize;
  std::ifstream file = platform::OpenFileForReading(path);
  LoadedBytes loaded = ReadUpToMark(file, block_size);
  const std::string_view data = loaded.Data();
  if (notes) {
    *notes = TTextFileNotes();
    notes->LineEnds.Feed(data);
    notes->LineEnds.Finish();
    notes->EndMark = loaded.end_mark;
    notes->DataSize = data.size();
  }
  const long long line_count = CountLines(data);
  if (line_count == 0) return;
  if (line_count > std::numeric_limits<int>::max() - rows.GetCount())
    throw platform::EReadError("Too many lines in " + std::string(path));

  AppendedRows appended(rows);
  const int first = rows.GetCount();
  rows.InsertEmptyRows(first, static_cast<int>(line_count));
  // The rows point into the block, which the list keeps from now on.
  rows.AdoptTextBlock(std::move(loaded.block));
  int row = first;
  ForEachLine(data, [&](std::string_view line) {
    rows.SetSharedRowText(row, line.data(), line.size());
    ++row;
  });
  if (data.back() != '\r' && data.back() != '\n') rows.SetEndKinds(rows.GetCount() - 1, rkEof);
  appended.Keep();
}

}  // namespace editor
