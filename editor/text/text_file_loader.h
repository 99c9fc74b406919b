// Reading a text file into rows: one pass counts the lines so that the rows
// are sized once, a second pass reads the text into one block that the rows
// point into. CR LF, a lone CR and a lone LF each end a line (LF followed by
// CR is two line ends); the first 0x1A byte ends the data. NUL bytes are
// ordinary bytes of their line: nothing after one is lost.
#pragma once

#include <cstddef>
#include <string_view>

#include "editor/text/pointer_string_list.h"

namespace editor {

inline constexpr std::size_t kLoadBlockSize = 8192;

// Appends the lines of the file `path` (CP932 bytes) to `rows`: every row
// rkReturn but a last line without a line break, which is rkEof. Nothing is
// wrapped and no undo step is made. Raises platform::EFOpenError when the
// file cannot be opened and platform::EReadError when it cannot be read;
// `rows` then holds what it held before.
void LoadTextFile(TPointerStringList& rows, std::string_view path,
                  std::size_t block_size = kLoadBlockSize);

// The first pass alone: the number of rows LoadTextFile makes of `path`.
long long CountTextFileLines(std::string_view path, std::size_t block_size = kLoadBlockSize);

}  // namespace editor
