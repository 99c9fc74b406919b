#include "editor/text/text_file_loader.h"

#include <algorithm>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>

#include "editor/text/split_lines.h"
#include "platform/string_list.h"

namespace editor {
namespace {

constexpr char kEndOfFileMark = 0x1A;

// The bytes before the first 0x1A and how many lines they hold.
struct Extent {
  std::size_t data_size = 0;
  long long line_count = 0;
};

// Reads up to `size` bytes; fewer only at the end of the file.
std::size_t ReadBlock(std::ifstream& file, char* into, std::size_t size) {
  file.read(into, static_cast<std::streamsize>(size));
  if (file.bad()) throw platform::EReadError("Stream read error");
  return static_cast<std::size_t>(file.gcount());
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

// The first pass. A block's last byte is settled with the next block's first,
// so that a CR LF split by the boundary counts once.
Extent CountLines(std::ifstream& file, std::size_t block_size, TTextFileNotes* notes) {
  std::unique_ptr<char[]> buffer(new char[block_size]);
  Extent extent;
  bool pending_cr = false;  // the previous block ended with CR
  unsigned char last = 0;
  for (;;) {
    std::size_t n = ReadBlock(file, buffer.get(), block_size);
    const bool full = n == block_size;
    bool at_mark = false;
    if (const void* mark = std::memchr(buffer.get(), kEndOfFileMark, n)) {
      n = static_cast<std::size_t>(static_cast<const char*>(mark) - buffer.get());
      at_mark = true;
    }
    if (notes) notes->LineEnds.Feed(std::string_view(buffer.get(), n));
    if (n > 0) {
      const auto* p = reinterpret_cast<const unsigned char*>(buffer.get());
      if (pending_cr && p[0] != '\n') ++extent.line_count;
      extent.line_count += CountLineEnds(p, n);
      last = p[n - 1];
      if (last == '\n') ++extent.line_count;
      pending_cr = last == '\r';
      extent.data_size += n;
    }
    if (at_mark || !full) {
      if (notes) notes->EndMark = at_mark;
      break;
    }
  }
  if (pending_cr) ++extent.line_count;
  if (extent.data_size > 0 && last != '\r' && last != '\n') ++extent.line_count;
  if (notes) {
    notes->LineEnds.Finish();
    notes->DataSize = extent.data_size;
  }
  return extent;
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
  return CountLines(file, block_size, nullptr).line_count;
}

void LoadTextFile(TPointerStringList& rows, std::string_view path, std::size_t block_size,
                  TTextFileNotes* notes) {
  if (block_size == 0) block_size = kLoadBlockSize;
  std::ifstream file = platform::OpenFileForReading(path);
  if (notes) *notes = TTextFileNotes();
  const Extent extent = CountLines(file, block_size, notes);
  if (extent.line_count == 0) return;
  if (extent.line_count > std::numeric_limits<int>::max() - rows.GetCount())
    throw platform::EReadError("Too many lines in " + std::string(path));

  AppendedRows appended(rows);
  const int first = rows.GetCount();
  rows.InsertEmptyRows(first, static_cast<int>(extent.line_count));

  // The second pass reads the text into one block that the rows point into;
  // a line cut by a read boundary is whole there without being joined.
  file.clear();
  file.seekg(0);
  if (!file) throw platform::EReadError("Stream read error");
  char* const text = rows.AddTextBlock(extent.data_size);
  std::size_t size = 0;
  while (size < extent.data_size) {
    const std::size_t n =
        ReadBlock(file, text + size, std::min(block_size, extent.data_size - size));
    if (n == 0) break;  // the file shrank since it was counted
    size += n;
  }
  // The file may have changed since it was counted: its first 0x1A still ends it.
  if (const void* mark = std::memchr(text, kEndOfFileMark, size))
    size = static_cast<std::size_t>(static_cast<const char*>(mark) - text);

  const std::string_view data(text, size);
  int row = first;
  ForEachLine(data, [&](std::string_view line) {
    if (row == rows.GetCount()) rows.InsertEmptyRows(row, 1);
    rows.SetSharedRowText(row, line.data(), line.size());
    ++row;
  });
  if (row < rows.GetCount()) rows.DeleteRowRange(row, rows.GetCount() - row);
  if (size > 0 && data.back() != '\r' && data.back() != '\n' && rows.GetCount() > first)
    rows.SetEndKinds(rows.GetCount() - 1, rkEof);
  appended.Keep();
}

}  // namespace editor
