// Where each screen row starts in the Unicode text a screen reader sees (the
// lines joined by "\n", one character per CP932 character). Counting them
// means walking the bytes, so the starts are kept and only those from the
// first changed row on are counted again, when next asked for: a log that
// grows by a line costs a line.
#pragma once

#include <vector>

namespace editor {

class TEditorScreenStrings;

class TAccessibleIndex {
 public:
  // The rows from `row` on changed: their starts are counted again.
  void InvalidateFrom(int row);
  // The start of row `row` (0..row count; the row count gives the length).
  int RowStart(const TEditorScreenStrings& rows, int row);
  // The row that holds `offset` (clamped to the text): the last row that
  // starts at or before it; the row count for the place after a final line
  // break.
  int RowOfOffset(const TEditorScreenStrings& rows, int offset);
  // The characters of row `row` with its "\n".
  static int RowLength(const TEditorScreenStrings& rows, int row);

 private:
  void Extend(const TEditorScreenStrings& rows, int row);

  // starts_[i] for the rows i < known_ is counted.
  std::vector<int> starts_{0};
  int known_ = 1;
};

}  // namespace editor
