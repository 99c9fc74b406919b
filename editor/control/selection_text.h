// The text a selection covers, worked out over the rows alone: in stream
// mode the bytes from one position to another with a line break after every
// completed line, in box mode the characters of each row that start inside
// the box's columns, one line each. Text and length come from the same walk,
// so that the length always counts exactly the bytes the text holds.
#pragma once

#include <string>
#include <string_view>

#include "editor/text/column_map.h"

namespace editor {

class TEditorScreenStrings;

// A selection as the rows see it.
struct TSelectionExtent {
  int StartRow = 0;
  int EndRow = 0;
  // The first selected byte of StartRow and the last one of EndRow
  // (inclusive; -1 when nothing of EndRow is selected).
  int StartByte = 0;
  int EndByte = -1;
  // A box: the columns StartCol (inclusive) to EndCol (exclusive) of every
  // row, not limited to the rows' lengths.
  bool Box = false;
  int StartCol = 0;
  int EndCol = 0;
};

// Byte range [Start, Start + Length) of a row.
struct TByteSpan {
  int Start = 0;
  int Length = 0;
  friend bool operator==(const TByteSpan&, const TByteSpan&) = default;
};

// The bytes of a row that a box over columns [start_col, end_col) takes: the
// characters whose first column (a double-byte character's lead, a tab's own
// column) lies inside. A character the box's left edge cuts is left out; one
// its right edge cuts is taken whole.
TByteSpan BoxRowBytes(std::string_view text, const TColumnMapSettings& settings, int start_col,
                      int end_col);

std::string SelectedText(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                         const TSelectionExtent& extent);
int SelectedLength(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                   const TSelectionExtent& extent);

// The length of the whole text: every row's bytes and CR LF after each row
// that ends its line.
int TextLength(const TEditorScreenStrings& rows);

}  // namespace editor
