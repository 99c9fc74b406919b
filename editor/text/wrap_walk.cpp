#include "editor/text/wrap_walk.h"

#include <algorithm>
#include <string>

#include "editor/colour/attribute_array.h"
#include "editor/text/dbcs.h"

namespace editor {

TWrapWalk::TWrapWalk(const TEditorWrapOption& option, const TColumnMapSettings& columns)
    : option_(option), columns_(columns) {
  columns_.WordWrap = true;
}

const std::vector<TWrappedRow>& TWrapWalk::CutLine(std::string_view line) {
  rows_.clear();
  columns_.WrapWidth = option_.WrapByte();
  // Columns are never fewer than bytes, so only a short line needs its
  // width measured, and a line narrower than a row needs no walk.
  if (static_cast<int>(line.size()) >= columns_.WrapWidth ||
      DisplayLength(line, columns_) >= columns_.WrapWidth)
    Walk(line);
  else
    rows_.push_back({0, line.size(), rkReturn});
  return rows_;
}

int TWrapWalk::WrapCount(std::string_view line) {
  return static_cast<int>(CutLine(line).size());
}

void TWrapWalk::Walk(std::string_view line) {
  const int width = columns_.WrapWidth;
  const int word_limit = width / 3;         // word break keeps rows wider than this
  const int kinsoku_limit = width / 5 * 4;  // the kinsoku rules keep rows at least this wide
  const int hang_limit = width + 2;         // punctuation hangs while the row is this wide at most
  const bool word_break = option_.WordBreak();
  const bool hang = option_.FollowPunctuation();
  const bool leading = option_.Leading();
  const std::string& punctuation = option_.PunctuationStr();
  const std::string& lead_str = option_.LeadStr();
  const std::string& follow_str = option_.FollowStr();

  TEditorAttributeArray cells{std::string(line), ColumnMap(line, columns_)};
  const int n = cells.CellCount();
  // One character back: a double-byte character is passed as a whole.
  auto step_back = [&cells] {
    cells.PriorCell();
    if (cells.Attr() == kCellLead) cells.PriorCell();
  };
  auto step_forward = [&cells] {
    cells.NextCell();
    if (cells.Attr() == kCellLead) cells.NextCell();
  };

  cells.MoveToCell(width);
  int first_cell = 1;          // the row spans cells first_cell..Pos()
  std::size_t first_byte = 1;  // and bytes first_byte..TextPos()
  while (cells.Attr() != kCellEnd) {
    // The current cell is the row's candidate last cell.
    if (cells.Attr() == kCellLead) {
      cells.PriorCell();
    } else if (word_break && cells.Pos() < n) {
      // A row that reaches the end of its line cuts no word.
      while (cells.Attr() != kCellDelimiter && cells.Attr() != kCellTabFiller &&
             cells.Attr() != kCellTrail && cells.Pos() - first_cell > word_limit)
        step_back();
    }
    if (hang) {
      while (cells.Pos() - first_cell < hang_limit &&
             ContainsChar(cells.NextCellChar(), punctuation))
        step_forward();
    }
    if (leading && cells.Pos() < n) {
      while (cells.Pos() - first_cell >= kinsoku_limit && ContainsChar(cells.CellChar(), lead_str))
        step_back();
      std::string_view next = cells.NextCellChar();
      std::string_view last = cells.CellChar();
      if (ContainsChar(next, follow_str)) {
        while (cells.Pos() - first_cell >= kinsoku_limit &&
               (ContainsChar(last, lead_str) || ContainsChar(next, follow_str))) {
          step_back();
          next = last;
          last = cells.CellChar();
        }
      }
    }
    // A lead byte left alone at the end of a broken line has its trail cell
    // after the last byte.
    const std::size_t last_byte = std::min<std::size_t>(cells.TextPos(), line.size());
    rows_.push_back({first_byte - 1, last_byte - (first_byte - 1), rkWrap});
    first_byte = last_byte + 1;
    // The next row starts at the next byte: the filler columns of a tab that
    // ended this row stay with the tab.
    cells.NextCell();
    while (cells.Attr() == kCellTabFiller) cells.NextCell();
    first_cell = cells.Pos();
    cells.MoveToCell(first_cell + width - 1);
  }
  if (first_cell < cells.Pos()) {
    rows_.push_back({first_byte - 1, line.size() - (first_byte - 1), rkReturn});
  } else if (option_.FollowRetMark()) {
    rows_.back().EndKind = rkReturn;  // the line break stays on the full row
  } else {
    rows_.push_back({line.size(), 0, rkReturn});
  }
}

}  // namespace editor
