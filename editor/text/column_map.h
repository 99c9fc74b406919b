// The two strings derived from a row's bytes: its display text (tabs turned
// into spaces up to their stop) and its column map, one code per display
// column. The caret, the selection, painting and wrapping all count columns
// through them.
#pragma once

#include <string>
#include <string_view>

#include "editor/text/delimiters.h"

namespace editor {

// Column map codes; kCellEnd is only the end cell a cursor over a map adds.
inline constexpr char kCellEnd = '0';
inline constexpr char kCellWord = '1';       // a single-byte character outside the delimiter set
inline constexpr char kCellDelimiter = '2';  // a single-byte character in the delimiter set
inline constexpr char kCellTabFiller = '3';  // a column a tab spans after its own
inline constexpr char kCellLead = '4';       // the first half of a double-byte character
inline constexpr char kCellTrail = '5';      // the second half of a double-byte character

// What a row's columns depend on: the owning control's tab width, whether it
// wraps and at what width, and its delimiter set.
struct TColumnMapSettings {
  int TabWidth = 8;  // Caret.TabSpaceCount
  bool WordWrap = false;
  int WrapWidth = 80;  // WrapOption.WrapByte; tabs also stop at its multiples while wrapping
  TDelimiterSet Delimiters = DefaultDelimiters();
};

// Number of filler columns of a tab standing at `column` (counted from 0):
// up to the next tab stop, and with word wrap on no further than the next
// multiple of the wrap width.
int TabFillerCount(int column, const TColumnMapSettings& settings);

std::string ColumnMap(std::string_view text, const TColumnMapSettings& settings);
// Appends the column map of `text` to `map`, so that a caller walking many
// lines can keep one buffer.
void AppendColumnMap(std::string_view text, const TColumnMapSettings& settings, std::string& map);

// The tab-expanded text, one byte per column: double-byte characters are
// copied whole, and a lead byte left alone at the end gets a space after it.
std::string DisplayText(std::string_view text, const TColumnMapSettings& settings);
inline std::string ExpandTabs(std::string_view text, const TColumnMapSettings& settings) {
  return DisplayText(text, settings);
}

// Number of display columns, always the length of the column map (a lead
// byte left without its trail at the end still takes two columns).
int DisplayLength(std::string_view text, const TColumnMapSettings& settings);

// The byte index (from 0) of a column (from 0) that is not a filler: the
// column less the fillers up to and including it. Not limited to the row.
int ByteIndexOfColumn(std::string_view map, int column);

}  // namespace editor
