#include "editor/control/selection_text.h"

#include <algorithm>
#include <cstddef>

#include "editor/text/screen_strings.h"

namespace editor {

namespace {

constexpr std::string_view kLineBreak = "\r\n";

// Bytes [first, last] of `text` that exist (last inclusive).
std::string_view BytesBetween(std::string_view text, int first, int last) {
  first = std::max(first, 0);
  last = std::min(last, static_cast<int>(text.size()) - 1);
  if (first > last) return {};
  return text.substr(static_cast<std::size_t>(first), static_cast<std::size_t>(last - first + 1));
}

std::string_view RowBytes(const TEditorScreenStrings& rows, int row) {
  if (row < 0 || row >= rows.GetCount()) return {};
  return rows.RowText(row);
}

bool EndsLine(const TEditorScreenStrings& rows, int row) {
  return row >= 0 && row < rows.GetCount() && rows.EndKinds(row) == rkReturn;
}

// Hands every piece of the selected text to `take` in order: runs of bytes
// and the line breaks between them.
template <class Take>
void WalkSelection(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                   const TSelectionExtent& s, Take take) {
  if (s.StartRow == s.EndRow) {
    take(BytesBetween(RowBytes(rows, s.StartRow), s.StartByte, s.EndByte));
    return;
  }
  if (s.Box) {
    for (int row = s.StartRow; row <= s.EndRow; ++row) {
      const std::string_view text = RowBytes(rows, row);
      const TByteSpan span = BoxRowBytes(text, settings, s.StartCol, s.EndCol);
      take(
          text.substr(static_cast<std::size_t>(span.Start), static_cast<std::size_t>(span.Length)));
      take(kLineBreak);
    }
    return;
  }
  // Wrapped rows of one line run on without a break.
  for (int row = s.StartRow; row < s.EndRow; ++row) {
    const std::string_view text = RowBytes(rows, row);
    take(row == s.StartRow ? BytesBetween(text, s.StartByte, static_cast<int>(text.size()) - 1)
                           : text);
    if (EndsLine(rows, row)) take(kLineBreak);
  }
  take(BytesBetween(RowBytes(rows, s.EndRow), 0, s.EndByte));
}

}  // namespace

TByteSpan BoxRowBytes(std::string_view text, const TColumnMapSettings& settings, int start_col,
                      int end_col) {
  const std::string map = ColumnMap(text, settings);
  const int columns = static_cast<int>(map.size());
  int first = -1;
  int last = -1;  // the last selected byte, inclusive
  int byte = 0;   // the byte of the column: every column but a tab filler takes one
  for (int col = 0; col < std::min(end_col, columns); ++col) {
    const char code = map[static_cast<std::size_t>(col)];
    if (code == kCellTabFiller) continue;
    // A trail column is a byte of its own but no character starts there.
    if (col >= start_col && code != kCellTrail) {
      if (first < 0) first = byte;
      last = byte + (code == kCellLead ? 1 : 0);
    }
    ++byte;
  }
  if (first < 0) return {};
  // A lead byte left alone at the end of a broken row has no trail to take.
  last = std::min(last, static_cast<int>(text.size()) - 1);
  return {first, last - first + 1};
}

std::string SelectedText(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                         const TSelectionExtent& extent) {
  std::string text;
  text.reserve(static_cast<std::size_t>(SelectedLength(rows, settings, extent)));
  WalkSelection(rows, settings, extent, [&text](std::string_view piece) { text += piece; });
  return text;
}

int SelectedLength(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                   const TSelectionExtent& extent) {
  int length = 0;
  WalkSelection(rows, settings, extent,
                [&length](std::string_view piece) { length += static_cast<int>(piece.size()); });
  return length;
}

int TextLength(const TEditorScreenStrings& rows) {
  int length = 0;
  for (int row = 0; row < rows.GetCount(); ++row)
    length += rows.RowLength(row) + (rows.EndKinds(row) == rkReturn ? 2 : 0);
  return length;
}

}  // namespace editor
