// Reading a text file into rows: one pass counts the lines so that the rows
// are sized once, a second pass reads the text into one block that the rows
// point into. CR LF, a lone CR and a lone LF each end a line (LF followed by
// CR is two line ends); the first 0x1A byte ends the data. NUL bytes are
// ordinary bytes of their line: nothing after one is lost.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "editor/text/line_end_scan.h"
#include "editor/text/pointer_string_list.h"

namespace editor {

inline constexpr std::size_t kLoadBlockSize = 8192;

// What the first pass sees besides the line count, for a program that gives
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
// `rows` then holds what it held before. With `notes`, the first pass also
// notes the file's line breaks and end mark there.
void LoadTextFile(TPointerStringList& rows, std::string_view path,
                  std::size_t block_size = kLoadBlockSize, TTextFileNotes* notes = nullptr);

// The first pass alone: the number of rows LoadTextFile makes of `path`.
long long CountTextFileLines(std::string_view path, std::size_t block_size = kLoadBlockSize);

}  // namespace editor
