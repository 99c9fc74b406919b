// The row walk over one line at least WrapByte columns wide. It moves a cell
// cursor (TEditorAttributeArray or its inlined twin TCellCursor) over the
// line's column map: each pass takes the cell WrapByte columns on as the
// row's candidate last cell, moves it by the line-breaking rules and stores
// the row. Kept apart as a template so that both cursors run the same walk.
#pragma once

#include <algorithm>
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text/column_map.h"
#include "editor/text/dbcs.h"
#include "editor/text/row_end_kind.h"
#include "editor/text/wrap_option.h"

namespace editor {

// One row cut from a line: its bytes are line[Start, Start + Length).
struct TWrappedRow {
  std::size_t Start;
  std::size_t Length;
  TRowEndKind EndKind;
};

// Appends the rows of `line` to `rows`; `cells` stands on the first cell of
// the line's map, which has at least option.WrapByte() cells.
template <class Cursor>
void WalkRows(Cursor& cells, std::string_view line, const TEditorWrapOption& option,
              std::vector<TWrappedRow>& rows) {
  const int width = option.WrapByte();
  const int word_limit = width / 3;         // word break keeps rows wider than this
  const int kinsoku_limit = width / 5 * 4;  // the kinsoku rules keep rows at least this wide
  const int hang_limit = width + 2;         // punctuation hangs while the row is this wide at most
  const bool word_break = option.WordBreak();
  const bool hang = option.FollowPunctuation();
  const bool leading = option.Leading();
  const std::string& punctuation = option.PunctuationStr();
  const std::string& lead_str = option.LeadStr();
  const std::string& follow_str = option.FollowStr();
  const int n = cells.CellCount();

  // One character back or forward: a double-byte character moves whole.
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
    const std::size_t last_byte =
        std::min<std::size_t>(static_cast<std::size_t>(cells.TextPos()), line.size());
    rows.push_back({first_byte - 1, last_byte - (first_byte - 1), rkWrap});
    first_byte = last_byte + 1;
    // The next row starts at the next byte: the filler columns of a tab that
    // ended this row stay with the tab.
    cells.NextCell();
    while (cells.Attr() == kCellTabFiller) cells.NextCell();
    first_cell = cells.Pos();
    cells.MoveToCell(first_cell + width - 1);
  }
  if (first_cell < cells.Pos()) {
    rows.push_back({first_byte - 1, line.size() - (first_byte - 1), rkReturn});
  } else if (option.FollowRetMark()) {
    rows.back().EndKind = rkReturn;  // the line break stays on the full row
  } else {
    rows.push_back({line.size(), 0, rkReturn});
  }
}

}  // namespace editor
