// The messages of a multi-line edit control and the text messages, answered
// over the rows, so that code written for an edit control can drive the
// editor. Offsets count the bytes of the text with CR LF after every row that
// ends its line; packed answers hold two 16-bit halves.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

#include "editor/control/editor.h"
#include "editor/control/selection_text.h"
#include "editor/text/dbcs.h"
#include "platform/control/clipboard.h"

namespace editor {

using platform::LRESULT;
using platform::TMessage;

namespace {

// A signed parameter as the sender wrote it (-1 stays -1).
int SignedParam(std::uintptr_t value) {
  return static_cast<int>(static_cast<std::intptr_t>(value));
}

LRESULT Packed(int low, int high) {
  return platform::MAKELPARAM(low, high);
}

}  // namespace

int TEditor::RowStartOffset(int row) const {
  int offset = 0;
  for (int i = 0; i < row && i < RowCount(); ++i)
    offset += FScreenStrings->RowLength(i) + (RowEndKind(i) == rkReturn ? 2 : 0);
  return offset;
}

int TEditor::RowOfOffset(int first_row, int offset, int& byte) const {
  const int count = RowCount();
  int row = std::max(first_row, 0);
  for (; row < count; ++row) {
    const int share = CountedRowLength(row);
    if (offset < share || RowEndKind(row) == rkEof) break;
    offset -= share;
  }
  byte = offset;
  return row;
}

bool TEditor::EditControlMessage(TMessage& message) {
  switch (message.Msg) {
    case platform::WM_SETTEXT:
      FLines->SetText(message.LParam ? reinterpret_cast<const char*>(message.LParam) : "");
      // An edit control answers TRUE once the text is set.
      message.Result = 1;
      return true;
    case platform::WM_GETTEXT:
      message.Result = CopyTextTo(reinterpret_cast<char*>(message.LParam),
                                  static_cast<std::size_t>(message.WParam));
      return true;
    case platform::WM_GETTEXTLENGTH:
      message.Result = TextLength(*FScreenStrings);
      return true;
    case platform::WM_GETDLGCODE:
      TCustomControl::Dispatch(message);
      message.Result |= platform::DLGC_WANTARROWS | platform::DLGC_WANTCHARS;
      if (FWantTabs)
        message.Result |= platform::DLGC_WANTTAB;
      else
        message.Result &= ~platform::DLGC_WANTTAB;
      if (FWantReturns)
        message.Result |= platform::DLGC_WANTALLKEYS;
      else
        message.Result &= ~platform::DLGC_WANTALLKEYS;
      return true;
    case platform::WM_CUT:
    case platform::WM_COPY:
      if (!Selected())
        platform::PutClipboardText("", false);
      else if (message.Msg == platform::WM_CUT)
        CutToClipboard();
      else
        CopyToClipboard();
      return true;
    case platform::WM_PASTE:
      PasteFromClipboard();
      return true;
    case platform::WM_CONTEXTMENU:
      WMContextMenu(message);
      return true;
    case platform::WM_CLEAR:
      // Like cutting, deleting is the user's edit: a read-only text keeps it.
      if (!FReadOnly) DeleteSelection();
      return true;
    default:
      return EditMessage(message);
  }
}

bool TEditor::EditMessage(TMessage& message) {
  const int wparam = SignedParam(message.WParam);
  switch (message.Msg) {
    case platform::EM_GETSEL: {
      const int start = GetSelStart();
      const int end = start + GetSelLength();
      if (message.WParam) *reinterpret_cast<std::int32_t*>(message.WParam) = start;
      if (message.LParam) *reinterpret_cast<std::int32_t*>(message.LParam) = end;
      message.Result = Packed(start, end);
      return true;
    }
    case platform::EM_SETSEL: {
      const int start = wparam;
      // A negative end stands for the end of the text.
      int end = static_cast<int>(message.LParam);
      if (start == 0 && end == -1) {
        SelectAll();
      } else if (start == -1) {
        ClearSelection();
      } else {
        if (end < 0) end = TextLength(*FScreenStrings);
        SetSelStart(std::min(start, end));
        SetSelLength(std::max(start, end) - std::min(start, end));
      }
      return true;
    }
    case platform::EM_SCROLLCARET:
      if (FRow < FTopRow || FRow > FTopRow + FVisibleRows - 1) SetTopRow(FRow - FVisibleRows / 3);
      if (FCol < FTopCol || FCol > FTopCol + FVisibleCols - 1) SetTopCol(FCol - FVisibleCols / 3);
      return true;
    case platform::EM_GETMODIFY:
      message.Result = FModified ? 1 : 0;
      return true;
    case platform::EM_SETMODIFY:
      FModified = message.WParam != 0;
      return true;
    case platform::EM_GETLINECOUNT:
      message.Result = RowCount();
      return true;
    case platform::EM_LINEINDEX: {
      const int row = wparam == -1 ? FRow : wparam;
      message.Result = row < 0 || row >= RowCount() ? -1 : RowStartOffset(row);
      return true;
    }
    case platform::EM_LINELENGTH:
      message.Result = LineLengthAt(wparam);
      return true;
    case platform::EM_REPLACESEL:
      PasteText(message.LParam ? reinterpret_cast<const char*>(message.LParam) : "");
      return true;
    case platform::EM_GETLINE:
      message.Result = CopyRowTo(wparam, reinterpret_cast<char*>(message.LParam));
      return true;
    case platform::EM_CANUNDO:
      message.Result = CanUndo() ? 1 : 0;
      return true;
    case platform::EM_UNDO:
      message.Result = 0;
      if (CanUndo()) {
        Undo();
        message.Result = 1;
      }
      return true;
    case platform::EM_LINEFROMCHAR:
      if (wparam == -1) {
        message.Result = Selected() ? FSelBytes.StartRow : FRow;
      } else {
        int byte = 0;
        message.Result = RowOfOffset(0, wparam, byte);
      }
      return true;
    case platform::EM_EMPTYUNDOBUFFER:
      FScreenStrings->UndoObj().Clear();
      return true;
    case platform::EM_GETFIRSTVISIBLELINE:
      message.Result = FTopRow;
      return true;
    case platform::EM_SETREADONLY:
      SetReadOnly(message.WParam != 0);
      message.Result = FReadOnly == (message.WParam != 0) ? 1 : 0;
      return true;
    case platform::EM_POSFROMCHAR: {
      const platform::TPoint p = PosFromOffset(wparam);
      message.Result = Packed(p.X, p.Y);
      return true;
    }
    case platform::EM_CHARFROMPOS:
      message.Result = CharFromPos(platform::GET_X_LPARAM(message.LParam),
                                   platform::GET_Y_LPARAM(message.LParam));
      return true;
    default:
      return false;
  }
}

int TEditor::CopyTextTo(char* buffer, std::size_t size) const {
  if (!buffer || size == 0) return 0;
  const std::string text = FLines->Text();
  std::size_t n = std::min(size - 1, text.size());
  // A double-byte character is copied whole or not at all.
  if (n < text.size() && EndsInLoneLeadByte(std::string_view(text).substr(0, n))) --n;
  std::memcpy(buffer, text.data(), n);
  buffer[n] = '\0';
  return static_cast<int>(n);
}

int TEditor::CopyRowTo(int row, char* buffer) const {
  if (!buffer || row < 0 || row >= RowCount()) return 0;
  std::uint16_t size = 0;
  std::memcpy(&size, buffer, sizeof size);
  const std::string_view text = FScreenStrings->RowText(row);
  const std::size_t n = std::min<std::size_t>(size, text.size());
  std::memcpy(buffer, text.data(), n);
  return static_cast<int>(n);
}

int TEditor::LineLengthAt(int offset) const {
  if (offset != -1) {
    int byte = 0;
    const int row = RowOfOffset(0, offset, byte);
    return row < RowCount() ? FScreenStrings->RowLength(row) : 0;
  }
  if (!Selected()) return FRow < RowCount() ? FScreenStrings->RowLength(FRow) : 0;
  // What is left unselected on the rows the selection starts and ends in.
  return FScreenStrings->RowLength(FSelBytes.EndRow) + FSelBytes.StartCol - FSelBytes.EndCol - 1;
}

platform::TPoint TEditor::PosFromOffset(int offset) const {
  int byte = 0;
  const int row = RowOfOffset(0, std::max(offset, 0), byte);
  const std::string_view text = row < RowCount() ? FScreenStrings->RowText(row) : "";
  const auto head = static_cast<std::size_t>(std::clamp<int>(byte, 0, text.size()));
  const int k = DisplayLength(text.substr(0, head), ColumnMapSettings());
  return {FMargin->Left() + (k - FTopCol) * FCharWidth,
          (row - FTopRow) * RowHeight() + FMargin->Top()};
}

LRESULT TEditor::CharFromPos(int x, int y) const {
  if (x < 0 || y < 0 || x >= ClientWidth() || y >= ClientHeight() || RowCount() == 0) return -1;
  int col = 0;
  int row = 0;
  PixelToColRow(x, y, false, col, row);
  // Below the text the nearest character is on the last row.
  row = std::clamp(row, 0, RowCount() - 1);
  const std::string map = ColumnMapOf(row);
  if (col > 0 && col < static_cast<int>(map.size()) && map[col] == kCellTrail) --col;
  const int byte = std::min(FScreenStrings->RowLength(row), ByteIndexOfColumn(map, col));
  return Packed(RowStartOffset(row) + byte, row);
}

// --------------------------------------------------------------- context menu

TEditorPopupMenu& TEditor::PopupMenu() {
  if (!FPopupMenu) FPopupMenu = CreatePopupMenu();
  return *FPopupMenu;
}

std::unique_ptr<TEditorPopupMenu> TEditor::CreatePopupMenu() {
  auto menu = std::make_unique<TEditorPopupMenu>();
  menu->Build();
  menu->SetEditor(this);
  return menu;
}

void TEditor::WMContextMenu(TMessage& message) {
  platform::TPoint at{platform::GET_X_LPARAM(message.LParam),
                      platform::GET_Y_LPARAM(message.LParam)};
  if (message.LParam == -1) {
    // From the keyboard: just below the caret, where the user is looking.
    at = ClientToScreen({CaretPixelPos().X, FMargin->Top() + RowHeight() * (FRow - FTopRow + 1)});
  }
  PopupMenu().Popup(at.X, at.Y);
  message.Result = 0;
}

}  // namespace editor
