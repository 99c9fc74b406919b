// What the screen-row list asks of a control that shows it. The list is
// shared by every control that shows the same text; it tells them about each
// change, keeps their carets and top rows inside the text, and borrows the
// first one's rules (tab width, delimiters, lexer, bracket items) whenever
// rows are cut or coloured. The editor control implements this; tests bring
// small clients of their own.
#pragma once

#include <memory>
#include <string_view>

#include "editor/text/column_map.h"

namespace editor {

class TRowLexer;

class TScreenStringsClient {
 public:
  virtual ~TScreenStringsClient() = default;

  // Called after every change of the rows made outside an update, and once
  // when the outermost update ends. The list's change record is readable here.
  virtual void DoChange() = 0;
  // Around each change of the rows, also inside an update: `count` rows
  // from `row` are about to be replaced, and then `old_count` rows from
  // `row` have become `new_count`. A control that keeps something per row
  // (offsets for a screen reader) brings it up to date here.
  virtual void RowsChanging(int /*row*/, int /*count*/) {}
  virtual void RowsChanged(int /*row*/, int /*old_count*/, int /*new_count*/) {}

  // Selection: whether one is active, and cancelling it.
  virtual bool Selected() const = 0;
  virtual void CancelSelection() = 0;

  // Caret and view position, in rows and columns.
  virtual int Row() const = 0;
  virtual void SetRow(int row) = 0;
  virtual int Col() const = 0;
  virtual void SetCol(int col) = 0;
  virtual int TopRow() const = 0;
  virtual void SetTopRow(int row) = 0;

  // Whether the control has the keyboard focus: caret positions recorded for
  // undo come from the focused control.
  virtual bool Focused() const = 0;
  // True while the control's stored settings are being read; wrapping and
  // bracket states wait for it to finish.
  virtual bool Loading() const = 0;

  // Refreshing: scroll ranges, a full repaint, or one row when it is visible.
  virtual void UpdateScrollBars() = 0;
  virtual void InvalidateAll() = 0;
  virtual void InvalidateRow(int row) = 0;

  // Pixel height of one row, and of the screen the control is shown on: the
  // bracket states below an edit are brought up to date two screens deep.
  virtual int RowHeight() const = 0;
  virtual int ScreenHeight() const = 0;

  // The control's tab width and delimiter set. The list fills in its own
  // word-wrap flag and width.
  virtual TColumnMapSettings ColumnMapSettings() const = 0;

  // Bracket items of the control's appearance settings, and a lexer of the
  // control's lexer class over `text` with the control as its owner, starting
  // in `bracket_state`: the control connects the list to its colouring.
  virtual int BracketCount() const = 0;
  virtual std::unique_ptr<TRowLexer> CreateRowLexer(std::string_view text,
                                                    int bracket_state) const = 0;
};

}  // namespace editor
