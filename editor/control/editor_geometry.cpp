// The character-cell geometry: metrics from the font, the window onto the
// rows and columns, scrolling by whole rows and columns, and client pixels
// turned into cells.
#include <algorithm>

#include "editor/control/editor.h"

namespace editor {

using platform::TRect;

namespace {

bool HasHorizontalBar(TScrollStyle style) {
  return style == ssHorizontal || style == ssBoth;
}

bool HasVerticalBar(TScrollStyle style) {
  return style == ssVertical || style == ssBoth;
}

bool IsItalic(const TEditorColor& color) {
  return color.Style().Contains(platform::fsItalic);
}

}  // namespace

TRect TEditor::TextArea() const {
  return {FMargin->Left(), FMargin->Top(), Width(), Height()};
}

void TEditor::InitMetrics() {
  if (!HandleAllocated()) return;
  platform::TCanvas& canvas = Canvas();
  canvas.Font = Font();
  platform::TTextMetric tm;
  if (!canvas.GetTextMetrics(tm)) return;
  FCharHeight = tm.tmHeight + tm.tmExternalLeading;
  FCharWidth = FMargin->Character() + tm.tmAveCharWidth;
  FCharDx.fill(FCharWidth);
  const int h =
      HasHorizontalBar(FScrollBars) ? platform::GetSystemMetrics(platform::SM_CYHSCROLL) : 0;
  const int w =
      HasVerticalBar(FScrollBars) ? platform::GetSystemMetrics(platform::SM_CXVSCROLL) : 0;
  const int row_height = RowHeight();
  FVisibleRows = row_height > 0 ? (Height() - FMargin->Top() - 5 - h) / row_height : 0;
  FVisibleCols = FCharWidth > 0 ? (Width() - FMargin->Left() - FCharWidth / 2 - w) / FCharWidth : 0;
  FVisibleRows = std::max(FVisibleRows, 0);
  FVisibleCols = std::max(FVisibleCols, 0);

  const TEditorColors& colors = FView->Colors();
  bool italic = Font().Style.Contains(platform::fsItalic);
  for (const TEditorColor* color :
       {&colors.Ank(), &colors.Comment(), &colors.DBCS(), &colors.Int(), &colors.Mail(),
        &colors.Str(), &colors.Symbol(), &colors.Reserve(), &colors.Url()})
    italic = italic || IsItalic(*color);
  const TEditorBracketCollection& brackets = FView->Brackets();
  for (int i = 0; !italic && i < brackets.Count(); ++i)
    italic = IsItalic(brackets.Items(i)->ItemColor());
  FItalicSeen = italic;
}

void TEditor::UpdateScrollBars() {
  if (!HandleAllocated()) return;
  FVScrollMax = std::max(0, RowCount() + FVisibleRows - 2);
  if (FCharWidth > 0) FMaxTopCol = 8000 / FCharWidth;
  // Pulled back without scrolling: the whole view is painted anew.
  if (FTopRow > FVScrollMax || FTopCol > FMaxTopCol) {
    FTopRow = std::min(FTopRow, FVScrollMax);
    FTopCol = std::min(FTopCol, FMaxTopCol);
    FScrollPixels = FTopCol * FCharWidth;
    InvalidateAll();
  }
  if (HasVerticalBar(FScrollBars)) {
    platform::TScrollInfo info;
    info.fMask = platform::SIF_ALL;
    info.nMin = 0;
    info.nMax = std::max(FVisibleRows, FVScrollMax);
    info.nPage = static_cast<unsigned>(FVisibleRows);
    info.nPos = FTopRow;
    SetScrollInfo(platform::SB_VERT, info, true);
  }
  if (HasHorizontalBar(FScrollBars)) {
    platform::TScrollInfo info;
    info.fMask = platform::SIF_ALL;
    info.nMin = 0;
    info.nMax = FMaxTopCol;
    info.nPage = static_cast<unsigned>(FVisibleCols);
    info.nPos = FTopCol;
    SetScrollInfo(platform::SB_HORZ, info, true);
  }
}

void TEditor::UpdateView() {
  InitMetrics();
  UpdateScrollBars();
  // The drawing origin follows TopCol in the current cell width.
  FScrollPixels = FTopCol * FCharWidth;
  InvalidateAll();
}

void TEditor::InvalidateAll() {
  // The margins and the gaps between rows are the window's background.
  if (HandleAllocated()) InvalidateRect(nullptr, true);
}

void TEditor::ScrollView(int dx, int dy, const TRect* scroll, const TRect* clip) {
  if (!HandleAllocated()) return;
  TUnderlineHideGuard underline(*this);
  // What waits to be painted is painted before the pixels move: an area
  // waiting to be erased would otherwise leave old background in the band
  // the scroll uncovers.
  Update();
  FScrollPixels -= dx;
  TRect uncovered;
  ScrollWindowEx(dx, dy, scroll, clip, &uncovered, platform::SW_INVALIDATE);
  if (!uncovered.IsEmpty()) InvalidateRect(&uncovered, false);
  Update();
}

void TEditor::SetTopRow(int row) {
  if (!HandleAllocated()) {
    FTopRow = std::clamp(row, 0, RowCount());
    return;
  }
  TCaretHideGuard caret(*this);
  TUnderlineHideGuard underline(*this);
  const int target = std::clamp(row, 0, RowCount());
  const int d = std::clamp(FTopRow - target, -(FVisibleRows + 1), FVisibleRows + 1);
  FTopRow = target;
  if (d * RowHeight() == 0) return;
  const TRect area = TextArea();
  ScrollView(0, d * RowHeight(), nullptr, &area);
  SetScrollPos(platform::SB_VERT, FTopRow, true);
  if (FKeyRepeating)
    FCaretMovePending = true;
  else
    UpdateImeWindow();
  DoTopRowChange();
}

void TEditor::SetTopCol(int col) {
  if (!HandleAllocated()) {
    FTopCol = std::clamp(col, 0, FMaxTopCol);
    return;
  }
  TCaretHideGuard caret(*this);
  const int target = std::clamp(col, 0, FMaxTopCol);
  const int dx = (FTopCol - target) * FCharWidth;
  FTopCol = target;
  if (dx == 0) return;
  const TRect area = TextArea();
  ScrollView(dx, 0, nullptr, &area);
  SetScrollPos(platform::SB_HORZ, FTopCol, true);
  if (FKeyRepeating)
    FCaretMovePending = true;
  else
    UpdateImeWindow();
  DoTopColChange();
}

void TEditor::ScrollRowsBelow(int row, int count) {
  if (!HandleAllocated()) return;
  row = std::clamp(row, FTopRow, FTopRow + FVisibleRows);
  count = std::clamp(count, -(FVisibleRows + 1), FVisibleRows + 1);
  TCaretHideGuard caret(*this);
  TUnderlineHideGuard underline(*this);
  const TRect area{FMargin->Left(), FMargin->Top() + RowHeight() * (row - FTopRow), Width(),
                   Height()};
  ScrollView(0, count * RowHeight(), nullptr, &area);
}

void TEditor::PageScroll(int delta) {
  if (FTopRow == 0 && delta < 0) {
    SetRow(0);
    return;
  }
  // The row after the text counts as the end of it too.
  if (delta > 0 && RowEndKind(FTopRow) == rkEof) return;
  TCaretHideGuard caret(*this);
  const int old_row = FRow;
  const int old_top = FTopRow;
  SetTopRow(std::clamp(FTopRow + delta, 0, RowCount()));
  SetRow(old_row + FTopRow - old_top);
}

void TEditor::ScrollCaretIntoView() {
  if (!HandleAllocated() || !Focused()) return;
  if (FRow < FTopRow)
    SetTopRow(FRow);
  else if (FRow > FTopRow + FVisibleRows - 1)
    SetTopRow(FRow - FVisibleRows + 1);
  const int quarter = FVisibleCols / 4;
  if (FCol < FTopCol)
    SetTopCol(std::max(0, std::min(FCol, FTopCol - quarter)));
  else if (FCol > FTopCol + FVisibleCols - 1)
    SetTopCol(
        std::min(std::max(FCol - FVisibleCols + 1, FTopCol + quarter), FMaxTopCol + FVisibleCols));
}

void TEditor::PixelToColRow(int x, int y, bool snap, int& col, int& row) const {
  col = 0;
  row = FTopRow;
  if (FCharWidth <= 0 || RowHeight() <= 0) return;
  if (snap) x += FCharWidth / 2 - 1;
  col = std::max(0, (x - FMargin->Left()) / FCharWidth + FTopCol);
  row = (y - FMargin->Top()) / RowHeight() + FTopRow;
}

bool TEditor::PointToRowByte(platform::TPoint point, int& row, int& byte) const {
  row = -1;
  byte = -1;
  if (RowCount() == 0 || FCharWidth == 0) return false;
  if (point.X < FMargin->Left() || point.Y < FMargin->Top()) return false;
  int col = 0;
  int r = 0;
  PixelToColRow(point.X, point.Y, true, col, r);
  // The row after the text holds no character either.
  if (r < 0 || r >= RowCount()) return false;
  row = r;
  const std::string map = ColumnMapOf(r);
  if (col >= static_cast<int>(map.size())) return false;
  if (map[col] == kCellTrail) --col;
  while (col > 0 && map[col] == kCellTabFiller) --col;
  const std::string_view text = FScreenStrings->RowText(r);
  byte = std::min(static_cast<int>(text.size()), ByteIndexOfColumn(map, col));
  return true;
}

}  // namespace editor
