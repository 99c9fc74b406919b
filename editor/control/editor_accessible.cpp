// The editor's text for screen readers: offsets in Unicode characters over
// the control's CP932 rows, and the reports of its changes.
#include <algorithm>

#include "editor/control/editor.h"
#include "editor/text/column_map.h"
#include "platform/cp932.h"
#include "platform/lead_byte.h"

namespace editor {

namespace {

// The byte index of the `chars`-th character of CP932 bytes (their size when
// there are fewer).
int ByteOfChar(std::string_view text, int chars) {
  const int size = static_cast<int>(text.size());
  int i = 0;
  for (; i < size && chars > 0; --chars) i += platform::CharLengthAt(text.data(), size, i);
  return std::min(i, size);
}

}  // namespace

int TEditor::AccessibleLength() const {
  return FAccIndex.RowStart(*FScreenStrings, RowCount());
}

std::u16string TEditor::AccessibleTextRange(int start, int end) const {
  const int length = AccessibleLength();
  start = std::clamp(start, 0, length);
  end = std::clamp(end, start, length);
  std::u16string out;
  if (start == end) return out;
  const TEditorScreenStrings& rows = *FScreenStrings;
  int row = FAccIndex.RowOfOffset(rows, start);
  int at = FAccIndex.RowStart(rows, row);
  out.reserve(end - start);
  for (; row < RowCount() && at < end; ++row) {
    std::u16string piece = platform::Cp932ToUtf16Chars(rows.RowText(row));
    if (rows.EndKinds(row) == rkReturn) piece += u'\n';
    const int from = std::max(start - at, 0);
    const int to = std::min(end - at, static_cast<int>(piece.size()));
    if (from < to) out.append(piece, from, to - from);
    at += static_cast<int>(piece.size());
  }
  return out;
}

void TEditor::AccessibleLineAt(int offset, int& start, int& end) const {
  const TEditorScreenStrings& rows = *FScreenStrings;
  const int row = FAccIndex.RowOfOffset(rows, offset);
  if (row >= RowCount()) {
    start = end = AccessibleLength();
    return;
  }
  const int first = rows.FirstRowOfLine(row);
  const int last = rows.LastRowOfLine(row);
  start = FAccIndex.RowStart(rows, first);
  end = FAccIndex.RowStart(rows, last) + platform::Cp932CharCount(rows.RowText(last));
}

int TEditor::AccessibleOffsetOf(int row, int byte) const {
  if (row >= RowCount()) return AccessibleLength();
  row = std::max(row, 0);
  const std::string_view text = FScreenStrings->RowText(row);
  const auto head = static_cast<std::size_t>(std::clamp<int>(byte, 0, text.size()));
  return FAccIndex.RowStart(*FScreenStrings, row) + platform::Cp932CharCount(text.substr(0, head));
}

void TEditor::AccessiblePosition(int offset, int& row, int& byte) const {
  row = FAccIndex.RowOfOffset(*FScreenStrings, offset);
  byte = 0;
  if (row >= RowCount()) return;
  const int chars = std::max(offset, 0) - FAccIndex.RowStart(*FScreenStrings, row);
  byte = ByteOfChar(FScreenStrings->RowText(row), chars);
}

int TEditor::AccessibleCaret() const {
  return AccessibleOffsetOf(FRow, CaretByte());
}

void TEditor::SetAccessibleCaret(int offset) {
  int row = 0;
  int byte = 0;
  AccessiblePosition(offset, row, byte);
  if (Selected()) ClearSelection();
  SetRowOffset(row, byte);
}

bool TEditor::AccessibleSelection(int& start, int& end) const {
  start = end = 0;
  if (!Selected()) return false;
  start = AccessibleOffsetOf(FSelBytes.StartRow, FSelBytes.StartCol);
  end = AccessibleOffsetOf(FSelBytes.EndRow, FSelBytes.EndCol + 1);
  return start < end;
}

void TEditor::SetAccessibleSelection(int start, int end) {
  if (start == end || RowCount() == 0) {
    SetAccessibleCaret(end);
    return;
  }
  const auto byte_offset = [this](int offset) {
    int row = 0;
    int byte = 0;
    AccessiblePosition(offset, row, byte);
    return RowStartOffset(row) + byte;
  };
  const int from = byte_offset(std::min(start, end));
  const int to = byte_offset(std::max(start, end));
  SetSelStart(from);
  SetSelLength(to - from);
}

platform::TRect TEditor::AccessibleCharRect(int offset) const {
  int row = 0;
  int byte = 0;
  AccessiblePosition(offset, row, byte);
  if (row >= RowCount() || offset < 0 || offset >= AccessibleLength() || !CanDraw()) return {};
  const std::string_view text = FScreenStrings->RowText(row);
  const TColumnMapSettings settings = ColumnMapSettings();
  const int col = DisplayLength(text.substr(0, byte), settings);
  int cells = 1;
  if (byte < static_cast<int>(text.size())) {
    const int next =
        byte + platform::CharLengthAt(text.data(), static_cast<int>(text.size()), byte);
    cells = std::max(1, DisplayLength(text.substr(0, next), settings) - col);
  }
  const int x = FMargin->Left() + (col - FTopCol) * FCharWidth;
  const int y = FMargin->Top() + (row - FTopRow) * RowHeight();
  return {x, y, x + cells * FCharWidth, y + RowHeight()};
}

int TEditor::AccessibleOffsetAt(platform::TPoint point) const {
  if (point.X < 0 || point.Y < 0 || point.X >= ClientWidth() || point.Y >= ClientHeight() ||
      RowCount() == 0 || !CanDraw())
    return -1;
  int col = 0;
  int row = 0;
  PixelToColRow(point.X, point.Y, false, col, row);
  row = std::clamp(row, 0, RowCount() - 1);
  const std::string map = ColumnMapOf(row);
  if (col > 0 && col < static_cast<int>(map.size()) && map[col] == kCellTrail) --col;
  const int byte = std::min(FScreenStrings->RowLength(row), ByteIndexOfColumn(map, col));
  return AccessibleOffsetOf(row, byte);
}

void TEditor::AccessibleScrollTo(int offset) {
  int row = 0;
  int byte = 0;
  AccessiblePosition(offset, row, byte);
  if (row < FTopRow || row >= FTopRow + std::max(FVisibleRows, 1))
    SetTopRow(std::max(0, row - FVisibleRows / 2));
}

bool TEditor::AccessibleReplace(int start, int end, const std::u16string& text) {
  if (FReadOnly) return false;
  const auto bytes = platform::Utf16ToCp932(text);
  if (!bytes) {
    Beep();
    return false;
  }
  SetAccessibleSelection(start, end);
  if (bytes->empty()) {
    if (start != end) DeleteSelection();
  } else {
    PasteText(*bytes);
  }
  return true;
}

void TEditor::RowsChanging(int row, int count) {
  FAccPending = false;
  if (!HandleAllocated() || !AccessibilityActive()) return;
  FAccOldRow = row;
  FAccOldStart = FAccIndex.RowStart(*FScreenStrings, row);
  FAccOldText = AccessibleTextRange(FAccOldStart, FAccIndex.RowStart(*FScreenStrings, row + count));
  FAccPending = true;
}

void TEditor::RowsChanged(int row, int /*old_count*/, int new_count) {
  FAccIndex.InvalidateFrom(row);
  if (!FAccPending) return;
  FAccPending = false;
  if (row != FAccOldRow) return;
  const std::u16string now =
      AccessibleTextRange(FAccOldStart, FAccIndex.RowStart(*FScreenStrings, row + new_count));
  const std::u16string& old = FAccOldText;
  // Only what differs is reported: the rows around an edit come back as they were.
  std::size_t head = 0;
  while (head < old.size() && head < now.size() && old[head] == now[head]) ++head;
  std::size_t tail = 0;
  while (tail < old.size() - head && tail < now.size() - head &&
         old[old.size() - 1 - tail] == now[now.size() - 1 - tail])
    ++tail;
  const std::u16string removed = old.substr(head, old.size() - head - tail);
  const std::u16string inserted = now.substr(head, now.size() - head - tail);
  FAccOldText.clear();
  if (removed.empty() && inserted.empty()) return;
  int position = FAccOldStart + static_cast<int>(head);
  // A line added after the last one reads as the last line's break and the
  // new line, ending where the new last line ends: where the caret of a log
  // that follows its end stands, and a screen reader speaks an insertion
  // that ends at the caret. (The same change as the new line and its break
  // after the old last break.)
  if (removed.empty() && inserted.size() > 1 && inserted.back() == u'\n' && position > 0 &&
      position + static_cast<int>(inserted.size()) == AccessibleLength() &&
      AccessibleTextRange(position - 1, position) == u"\n") {
    NotifyAccessibleText(position - 1, removed, u'\n' + inserted.substr(0, inserted.size() - 1));
    return;
  }
  NotifyAccessibleText(position, removed, inserted);
}

}  // namespace editor
