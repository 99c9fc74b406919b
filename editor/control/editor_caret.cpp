// Caret placement on the grid of rows and display columns, text offsets,
// and the system caret with its hiding counters.
#include <algorithm>
#include <climits>

#include "editor/control/editor.h"

namespace editor {

namespace {

char CodeAt(const std::string& map, int col) {
  return col >= 0 && col < static_cast<int>(map.size()) ? map[col] : kCellEnd;
}

// Restores the caller's placing state and brings the caret up to date when
// a multi-step placement ends, whichever way it ends.
class TPlacingGuard {
 public:
  TPlacingGuard(bool& placing, TEditor& editor)
      : placing_(placing), editor_(editor), was_(placing) {
    placing_ = true;
  }
  ~TPlacingGuard() {
    placing_ = was_;
    if (!was_) editor_.CaretChanged();
  }
  TPlacingGuard(const TPlacingGuard&) = delete;
  TPlacingGuard& operator=(const TPlacingGuard&) = delete;

 private:
  bool& placing_;
  TEditor& editor_;
  bool was_;
};

}  // namespace

// ------------------------------------------------------------------ placement

void TEditor::AdjustCol(bool keep, int direction) {
  const std::string map = ColumnMapOf(FRow);
  const int length = static_cast<int>(map.size());
  if (!keep)
    FKeptColValid = false;
  else if (FKeptColValid)
    FCol = FKeptCol;
  auto remember = [&](int col) {
    if (keep && !FKeptColValid) {
      FKeptCol = col;
      FKeptColValid = true;
    }
  };
  if (!FCaret->FreeCaret() && FCol > length) {
    if (FCaret->KeepCaret()) remember(LButtonDown() ? length : FCol);
    FCol = length;
  }
  if (CodeAt(map, FCol) == kCellTrail) {
    remember(FCol);
    FCol += direction;
  }
  if (!FCaret->InTab() && CodeAt(map, FCol) == kCellTabFiller) {
    remember(FCol);
    while (CodeAt(map, FCol) == kCellTabFiller) FCol += direction;
  }
  if (WordWrap() && FCol >= length) {
    remember(FCol);
    const int wrap_byte = WrapOption().WrapByte();
    if (RowEndKind(FRow) == rkWrap)
      FCol = std::max(0, length - 1);
    else if (FCol >= wrap_byte)
      FCol = std::max(length, wrap_byte - 1);
    if (CodeAt(map, FCol) == kCellTrail) --FCol;
    if (!FCaret->InTab())
      while (FCol > 0 && CodeAt(map, FCol) == kCellTabFiller) --FCol;
  }
  FCol = std::max(FCol, 0);
  if (!FCaretPlacing) CaretChanged();
}

void TEditor::SetRow(int row) {
  if (row == FRow && FRow != RowCount()) return;
  TUnderlineHideGuard underline(*this);
  const int count = RowCount();
  FRow = std::clamp(row, 0, count);
  if (FRow == count && count > 0 && RowEndKind(count - 1) == rkEof) FRow = count - 1;
  AdjustCol(true, -1);
}

void TEditor::SetCol(int col) {
  // Before the first metrics there is no view to limit the column to.
  const int limit = FCharWidth > 0 ? FMaxTopCol + FVisibleCols : INT_MAX / 2;
  const int old = FCol;
  FCol = std::clamp(col, 0, limit);
  AdjustCol(false, FCol > old ? 1 : -1);
}

void TEditor::SetRowCol(int row, int col) {
  if (row == FRow && col == FCol) return;
  TPlacingGuard placing(FCaretPlacing, *this);
  SetRow(row);
  const std::string map = ColumnMapOf(FRow);
  if (CodeAt(map, col) == kCellTrail) --col;
  if (!FCaret->InTab())
    while (col > 0 && CodeAt(map, col) == kCellTabFiller) --col;
  SetCol(col);
}

void TEditor::SetRowOffset(int first_row, int offset) {
  int byte = 0;
  const int row = RowOfOffset(first_row, offset, byte);
  SetRow(row);
  if (row >= RowCount()) {
    SetCol(DisplayLengthOf(FRow));
    return;
  }
  const std::string_view text = FScreenStrings->RowText(row);
  const std::string_view head =
      text.substr(0, static_cast<std::size_t>(std::clamp(byte, 0, static_cast<int>(text.size()))));
  SetCol(std::min(DisplayLength(head, ColumnMapSettings()), DisplayLengthOf(FRow)));
}

void TEditor::SetSelStart(int offset) {
  if (Selected()) ClearSelection();
  if (RowCount() == 0) return;
  if (offset <= 0) {
    SetRow(0);
    SetCol(0);
    return;
  }
  SetRowOffset(0, offset);
}

int TEditor::GetSelStart() const {
  if (RowCount() == 0) return 0;
  int row = FRow;
  int byte = CaretByte();
  if (Selected()) {
    row = FSelBytes.StartRow;
    byte = FSelBytes.StartCol;
  }
  return RowStartOffset(row) + byte;
}

int TEditor::OffsetFromRow(int first_row, int row, int col) const {
  int offset = 0;
  for (int i = std::max(first_row, 0); i < row; ++i) offset += CountedRowLength(i);
  return offset + ByteIndexOfColumn(ColumnMapOf(row), col);
}

int TEditor::CaretByte() const {
  if (FRow < 0 || FRow >= RowCount()) return 0;
  const int length = FScreenStrings->RowLength(FRow);
  return std::min(length, ByteIndexOfColumn(ColumnMapOf(FRow), FCol));
}

// -------------------------------------------------------------------- display

void TEditor::CaretChanged() {
  UpdateCaretShape();
  ScrollCaretIntoView();
  UpdateCaretPos();
  ShowSysCaret();
  if (HandleAllocated() && AccessibilityActive()) NotifyAccessibleCaret(AccessibleCaret());
}

void TEditor::UpdateCaretShape() {
  if (!HandleAllocated() || !Focused()) return;
  int w = FCharWidth - FMargin->Character();
  if (CodeAt(ColumnMapOf(FRow), FCol) == kCellLead) w *= 2;
  int width = 2;
  int height = FCharHeight;
  if (FOverWrite) {
    width = w;
  } else if (FCaret->Style() != csDefault) {
    width = w;
    height = 2;
  }
  HideSysCaret();
  DestroyCaret();
  CreateCaret(std::max(width, 1), std::max(height, 1));
  FCaretShown = false;
}

platform::TPoint TEditor::CaretPixelPos() const {
  int x = FMargin->Left() + (FCol - FTopCol) * FCharWidth;
  int y = FMargin->Top() + RowHeight() * (FRow - FTopRow);
  if (FCaret->Style() != csDefault && !FOverWrite) y += FCharHeight - 2;
  return {x, y};
}

void TEditor::UpdateCaretPos() {
  if (!HandleAllocated() || !Focused()) return;
  const platform::TPoint p = CaretPixelPos();
  SetCaretPos(p.X, p.Y);
  if (FKeyRepeating)
    FCaretMovePending = true;
  else
    UpdateImeWindow();
  DoCaretMoved();
}

void TEditor::UpdateImeWindow() {
  if (!HandleAllocated()) return;
  const int x = FMargin->Left() + (FCol - FTopCol) * FCharWidth;
  const int y = FMargin->Top() + RowHeight() * (FRow - FTopRow);
  SetImeCompositionWindow({x, y}, Font(), FCharWidth, FCharHeight);
  FCaretMovePending = false;
}

void TEditor::ShowSysCaret() {
  // Painting and scrolling hide the caret; it comes back when they end.
  if (!HandleAllocated() || !Focused() || FCaretHideCount > 0) return;
  if (FCaretShown || CaretOutOfView()) return;
  if (ShowCaret()) FCaretShown = true;
}

void TEditor::HideSysCaret() {
  if (!FCaretShown) return;
  HideCaret();
  FCaretShown = false;
}

bool TEditor::CaretOutOfView() const {
  return FRow < FTopRow || FRow > FTopRow + FVisibleRows || FCol < FTopCol ||
         FCol > FTopCol + FVisibleCols;
}

void TEditor::CaretBeginUpdate() {
  if (FCaretHideCount++ == 0) HideSysCaret();
}

void TEditor::CaretEndUpdate() {
  if (FCaretHideCount == 0) return;
  if (--FCaretHideCount == 0) ShowSysCaret();
}

void TEditor::UnderlineBeginUpdate() {
  if (FUnderlineHideCount++ == 0 && FMarks->Underline().Visible() && !Selected())
    EraseUnderline(FRow);
}

void TEditor::UnderlineEndUpdate() {
  if (FUnderlineHideCount == 0) return;
  if (--FUnderlineHideCount == 0 && FMarks->Underline().Visible() && !Selected())
    DrawUnderline(FRow);
}

}  // namespace editor
