// Reading a text file into rows: the file is read once, straight into one
// block that the rows then point into; its lines are counted there, so that
// the rows are sized once. CR LF, a lone CR and a lone LF each end a line (LF followed by
// CR is two line ends); the first 0x1A byte ends the data. NUL bytes are
// ordinary bytes of their line: nothing after one is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/text/line_end_scan.h"
#include "editor/text/pointer_string_list.h"

namespace editor {

// The bytes asked of the file at a time.
inline constexpr std::size_t kLoadBlockSize = std::size_t{1} << 20;

// What the loader sees besides the lines, for a program that gives
// the file back as it was: the line breaks of the loaded bytes, and where
// the loaded bytes end (at the first 0x1A, or at the file's end).
struct TTextFileNotes {
  TLineEndScan LineEnds;
  bool EndMark = false;        // the data ended at a 0x1A byte
  std::uint64_t DataSize = 0;  // the bytes before it: where the mark stands
};

// Appends the lines of the file `path` (CP932 bytes) to `rows`: every row
// rkReturn but a last line without a line break, which is rkEof. Nothing is
// wrapped and no undo step is made. Raises platform::EFOpenError when the
// file cannot be opened and platform::EReadError when it cannot be read;
// `rows` then holds what it held before. With `notes`, the loader also
// notes the file's line breaks and end mark there.
void LoadTextFile(TPointerStringList& rows, std::string_view path,
                  std::size_t block_size = kLoadBlockSize, TTextFileNotes* notes = nullptr);

// The number of rows LoadTextFile makes of `path`.
long long CountTextFileLines(std::string_view path, std::size_t block_size = kLoadBlockSize);

}  // namespace editor
