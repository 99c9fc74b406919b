// The selection in its two modes: stream (from one text position to another)
// and box (a rectangle of rows and columns). It always runs between an
// anchor and the caret; the caret moves by the placement operations and the
// selection is then recomputed. Also whole-row selection from the left
// margin and the states of dragging the selection to another place.
#include <algorithm>
#include <string>

#include "editor/control/editor.h"
#include "editor/control/selection_text.h"
#include "editor/text/flag_scope.h"
#include "platform/control/virtual_keys.h"

namespace editor {

namespace {

// Holds the caret still while an operation places it in several steps, and
// refreshes it once at the end, also when a step throws.
class TCaretPlacing {
 public:
  TCaretPlacing(TEditor& editor, bool& placing) : editor_(editor), placing_(placing) {
    placing_ = true;
  }
  ~TCaretPlacing() {
    placing_ = false;
    editor_.CaretChanged();
  }
  TCaretPlacing(const TCaretPlacing&) = delete;
  TCaretPlacing& operator=(const TCaretPlacing&) = delete;

 private:
  TEditor& editor_;
  bool& placing_;
};

}  // namespace

// ------------------------------------------------------------ text and length

namespace {

TSelectionExtent ExtentOf(TSelectionMode mode, const TEditorSelRange& bytes,
                          const TEditorSelRange& cols) {
  TSelectionExtent extent;
  extent.StartRow = bytes.StartRow;
  extent.EndRow = bytes.EndRow;
  extent.StartByte = bytes.StartCol;
  extent.EndByte = bytes.EndCol;
  extent.Box = mode == smBox;
  extent.StartCol = cols.StartCol;
  extent.EndCol = cols.EndCol;
  return extent;
}

}  // namespace

int TEditor::GetSelLength() const {
  if (!Selected()) return 0;
  return SelectedLength(*FScreenStrings, ColumnMapSettings(),
                        ExtentOf(SelectionMode(), FSelBytes, FSelCols));
}

std::string TEditor::GetSelText() const {
  if (!Selected()) return {};
  return SelectedText(*FScreenStrings, ColumnMapSettings(),
                      ExtentOf(SelectionMode(), FSelBytes, FSelCols));
}

void TEditor::SetSelLength(int length) {
  if (RowCount() == 0) return;
  SetSelectionMode(smStream);
  if (length <= 0) {
    if (Selected()) {
      SetRow(FSelCols.StartRow);
      SetCol(FSelCols.StartCol);
      ClearSelection();
    }
    return;
  }
  {
    TCaretPlacing placing(*this, FCaretPlacing);
    if (Selected()) {
      SetRow(FSelCols.StartRow);
      SetCol(FSelCols.StartCol);
    }
    StartSelection();
    const TColumnMapSettings settings = ColumnMapSettings();
    int rest = length;
    int skip = CaretByte();  // bytes of the first row before the caret
    int row = FRow;
    for (; row < RowCount(); ++row) {
      const int counted = CountedRowLength(row);
      if (rest < counted - skip || RowEndKind(row) == rkEof) {
        SetRow(row);
        const std::string_view text = FScreenStrings->RowText(row);
        const auto taken = static_cast<std::size_t>(std::min<int>(skip + rest, text.size()));
        SetCol(std::min(DisplayLength(text.substr(0, taken), settings), DisplayLengthOf(row)));
        break;
      }
      rest -= counted - skip;
      skip = 0;
    }
    if (row >= RowCount()) {
      SetRow(RowCount());
      SetCol(DisplayLengthOf(FRow));
    }
  }
  UpdateSelection();
}

void TEditor::SelectAll() {
  TCaretHideGuard caret(*this);
  SetSelStart(0);
  SetSelLength(TextLength(*FScreenStrings));
}

// ---------------------------------------------------------- anchor and caret

void TEditor::StartSelection() {
  if (Selected()) ClearSelection();
  // An anchor never activated goes silently, also when no new one is set.
  FSelectionState = selNone;
  if (RowCount() == 0) return;
  FSelectionState = selAnchored;
  FAnchorRow = FRow;
  FAnchorByte = CaretByte();
  FAnchorCol = SelectionMode() == smBox ? FCol : std::min(FCol, DisplayLengthOf(FRow));
  FSelBytes = {FRow, FRow, FAnchorByte, FAnchorByte};
  FSelCols = {FRow, FRow, FAnchorCol, FAnchorCol};
  FSelDrawn = FSelCols;
}

void TEditor::UpdateSelection() {
  if (FSelectionState == selAnchored)
    ActivateSelection();
  else if (FSelectionState == selActive)
    UpdateSelectionRange();
}

void TEditor::ActivateSelection() {
  if (FSelectionState != selAnchored) return;
  // The caret-row underline stays away as long as a selection is shown.
  UnderlineBeginUpdate();
  FSelectionState = selActive;
  UpdateSelectionRange();
}

void TEditor::UpdateSelectionRange() {
  const int caret_byte = CaretByte();
  FSelBytes.StartRow = std::min(FAnchorRow, FRow);
  FSelBytes.EndRow = std::max(FAnchorRow, FRow);
  if (FAnchorRow < FRow || (FAnchorRow == FRow && FAnchorByte < caret_byte)) {
    FSelBytes.StartCol = FAnchorByte;
    FSelBytes.EndCol = caret_byte - 1;
  } else {
    FSelBytes.StartCol = caret_byte;
    FSelBytes.EndCol = FAnchorByte - 1;
  }

  FSelCols.StartRow = FSelBytes.StartRow;
  FSelCols.EndRow = FSelBytes.EndRow;
  if (SelectionMode() == smBox) {
    FSelCols.StartCol = std::min(FAnchorCol, FCol);
    FSelCols.EndCol = std::max(FAnchorCol, FCol);
  } else if (FAnchorRow == FRow) {
    const int length = DisplayLengthOf(FRow);
    FSelCols.StartCol = std::min({FAnchorCol, FCol, length});
    FSelCols.EndCol = std::min(std::max(FAnchorCol, FCol), length);
  } else if (FAnchorRow < FRow) {
    FSelCols.StartCol = std::min(FAnchorCol, DisplayLengthOf(FAnchorRow));
    FSelCols.EndCol = std::min(FCol, DisplayLengthOf(FRow));
  } else {
    FSelCols.StartCol = std::min(FCol, DisplayLengthOf(FRow));
    FSelCols.EndCol = std::min(FAnchorCol, DisplayLengthOf(FAnchorRow));
  }
  RepaintSelectionChange();
  DoSelectionChange(true);
  if (HandleAllocated() && AccessibilityActive()) {
    int start = 0;
    int end = 0;
    AccessibleSelection(start, end);
    NotifyAccessibleSelection(start, end);
  }
}

void TEditor::ClearSelection() {
  if (!Selected()) return;
  FSelectionState = selNone;
  // The state goes without a window too; only the repaint needs one.
  const bool empty = FSelCols.StartRow == FSelCols.EndRow && FSelCols.StartCol == FSelCols.EndCol;
  const int first = std::max(FSelCols.StartRow, FTopRow);
  const int last = std::min(FSelCols.EndRow, FTopRow + FVisibleRows);
  if (!empty && first <= last && CanDraw()) {
    const int row_height = RowHeight();
    const platform::TRect band{FMargin->Left(), FMargin->Top() + row_height * (first - FTopRow - 1),
                               ClientWidth(), FMargin->Top() + row_height * (last - FTopRow + 1)};
    // The rows repaint their underline pixel row too: the selection covered it.
    FlagScope full_rows(FFullRowPaint);
    InvalidateRect(&band, false);
    Update();
  }
  UnderlineEndUpdate();
  ForgetKeptCol();
  DoSelectionChange(false);
  if (HandleAllocated() && AccessibilityActive()) {
    const int caret = AccessibleCaret();
    NotifyAccessibleSelection(caret, caret);
  }
}

void TEditor::CancelSelection() {
  ClearSelection();
}

void TEditor::SetSelectionMode(TSelectionMode mode) {
  if (mode == SelectionMode() || FSelDragState == 2) return;
  FSelectionMode = mode;
  if (FSelectionState == selAnchored && mode == smStream) {
    // An anchor set in box mode may stand beyond its row's end; in stream
    // mode it is limited like one set there, so that the first repaint
    // starts from what the screen shows.
    FAnchorCol = std::min(FAnchorCol, DisplayLengthOf(FAnchorRow));
    FSelCols = {FAnchorRow, FAnchorRow, FAnchorCol, FAnchorCol};
    FSelDrawn = FSelCols;
  }
  if (Selected()) {
    if (mode == smBox) SetCursor(FCaret->Cursors().DefaultCursor());
    UpdateSelectionRange();
    InvalidateAll();
    Update();
  }
  DoSelectionModeChange();
}

bool TEditor::InSelection(int row, int col) const {
  if (!Selected() || row < FSelCols.StartRow || row > FSelCols.EndRow) return false;
  if (SelectionMode() == smBox) return FSelCols.StartCol <= col && col < FSelCols.EndCol;
  if (row == FSelCols.StartRow && col < FSelCols.StartCol) return false;
  if (row == FSelCols.EndRow && col >= FSelCols.EndCol) return false;
  return true;
}

// ------------------------------------------------------------ whole rows

namespace {

// A row for whole-row selection: inside the text, and the row after a text
// that ends without a line break is its last row.
int WholeRowTarget(const TEditor& editor, int row) {
  const int count = editor.RowCount();
  row = std::clamp(row, 0, count);
  if (row == count && count > 0 && editor.RowEndKind(count - 1) == rkEof) row = count - 1;
  return row;
}

}  // namespace

void TEditor::RowSelectStart(int row) {
  const int r = WholeRowTarget(*this, row);
  if (RowEndKind(r) == rkEof) {
    // The last row has no line break to take: from its end back to its start.
    SetRowCol(r, DisplayLengthOf(r));
    StartSelection();
    SetRowCol(r, 0);
    ActivateSelection();
    FRowSelStart = FRowSelEnd = r;
    FRowSelFromEof = true;
  } else {
    SetRowCol(r, 0);
    StartSelection();
    SetRowCol(r + 1, 0);
    ActivateSelection();
    FRowSelStart = r;
    FRowSelEnd = r + 1;
    FRowSelFromEof = false;
  }
  SetRowCol(r, 0);
  FRowSelecting = true;
}

void TEditor::RowSelectTo(int row) {
  if (!FRowSelecting) return;
  int a = WholeRowTarget(*this, row);
  const int b = FRowSelStart;
  if (a < b) {
    if (b < FRowSelEnd) {
      // The selection ran downward: the anchor moves below the first row.
      FRowSelStart = b + 1;
      SetRowCol(b + 1, 0);
      StartSelection();
    }
    SetRowCol(a, 0);
  } else {
    if (FRowSelEnd < b && !FRowSelFromEof) {
      // The selection ran upward: the anchor moves back to the first row's start.
      FRowSelStart = b - 1;
      SetRowCol(b - 1, 0);
      StartSelection();
    }
    if (RowEndKind(a) != rkEof) {
      ++a;
      SetRowCol(a, 0);
    } else if (FRowSelFromEof) {
      SetRowCol(a, 0);
    } else {
      SetRowCol(a, DisplayLengthOf(a));
    }
  }
  FRowSelEnd = a;
  UpdateSelection();
}

// --------------------------------------------------------------- dragging

bool TEditor::CanDragSelection() const {
  return !FReadOnly && Selected() && SelectionMode() == smStream && FCaret->SelMove();
}

void TEditor::SelDragPress() {
  FSelDragState = 1;
}

void TEditor::SelDragBegin() {
  if (FSelDragState != 1) return;
  FSelDragState = 2;
  SetCursorKind(GetKeyState(platform::VK_CONTROL) < 0 ? 4 : 3);
}

void TEditor::SelDragEnd() {
  if (FSelDragState != 2) return;
  FSelDragState = 0;
  const platform::TPoint point = ScreenToClient(GetCursorPos());
  const bool in_client =
      point.X >= 0 && point.Y >= 0 && point.X < ClientWidth() && point.Y < ClientHeight();
  if (!in_client || InSelection(FRow, FCol)) {
    ClearSelection();
    return;
  }
  if (GetKeyState(platform::VK_CONTROL) < 0) {
    CopySelectionTo(FRow, FCol);
    return;
  }
  MoveSelectionTo(FRow, FCol);
}

void TEditor::SelDragCancel() {
  FSelDragState = 0;
  // Without a pointer move the shape would stay the drag's until the next one.
  SetCursorKind(0);
  if (GetKeyState(platform::VK_ESCAPE) < 0 && FCaret->AutoCursor())
    SetScreenCursor(FCaret->Cursors().DefaultCursor());
  ClearSelection();
}

}  // namespace editor
