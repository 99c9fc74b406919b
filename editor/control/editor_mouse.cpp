// The mouse and the scroll bars: the left button places the caret and
// selects, from the left margin whole rows, inside the selection it drags
// the selection elsewhere; a free pointer chooses the cursor kind; the
// scroll-bar requests move the view by rows and columns.
#include <algorithm>
#include <cstdlib>
#include <optional>

#include "editor/control/editor.h"

namespace editor {

using platform::TMessage;

namespace {

// Whether the pointer has left the press point far enough to mean a drag:
// half a character cell in either direction.
bool BeyondDragThreshold(int x, int y, int down_x, int down_y, int char_width) {
  const int threshold = char_width / 2;
  return std::abs(x - down_x) >= threshold || std::abs(y - down_y) >= threshold;
}

// How far a scroll-bar request moves the first row (or column) at
// `position`, kept so that it stays within 0 .. last; nothing for a code
// that asks for no movement (SB_ENDSCROLL and above).
std::optional<int> ScrollRequestDelta(int code, int position, int page, int last, int thumb) {
  int d = 0;
  switch (code) {
    case platform::SB_LINEUP:
      d = -1;
      break;
    case platform::SB_LINEDOWN:
      d = 1;
      break;
    case platform::SB_PAGEUP:
      d = std::min(-1, -page);
      break;
    case platform::SB_PAGEDOWN:
      d = std::max(1, page);
      break;
    case platform::SB_THUMBPOSITION:
    case platform::SB_THUMBTRACK:
      d = thumb - position;
      break;
    case platform::SB_TOP:
      d = -position;
      break;
    case platform::SB_BOTTOM:
      d = last - position;
      break;
    default:
      return std::nullopt;
  }
  return std::clamp(position + d, 0, std::max(0, last)) - position;
}

}  // namespace

void TEditor::HeldPointToColRow(int x, int y, bool snap, int& col, int& row) const {
  PixelToColRow(x, y, snap, col, row);
  // The row division truncates toward zero: the band just above the text
  // would still give the top row.
  if (y < FMargin->Top()) row = std::max(0, row - 1);
}

// ------------------------------------------------------------------ the button

void TEditor::WMLButtonDown(TMessage& message) {
  const int x = platform::GET_X_LPARAM(message.LParam);
  const int y = platform::GET_Y_LPARAM(message.LParam);
  const unsigned keys = platform::LOWORD(message.WParam);
  int col = 0;
  int row = 0;
  if (keys & platform::MK_SHIFT) {
    // The selection grows from its anchor, or from the caret, to the click.
    if (!Selected()) StartSelection();
    PixelToColRow(x, y, true, col, row);
    SetRowCol(row, col);
    UpdateSelection();
    FMouseSelecting = true;
  } else {
    FMouseDownX = x;
    FMouseDownY = y;
    PixelToColRow(x, y, false, col, row);
    if (CanDragSelection() && x >= FMargin->Left() && InSelection(row, col)) {
      SetRowCol(row, col);
      if (FCaret->SelDragMode() == dmAutomatic) {
        // The press belongs to the drag from here on: the ordinary handling
        // of a held button ends at once.
        Perform(platform::WM_LBUTTONUP,
                message.WParam & ~static_cast<platform::WPARAM>(platform::MK_LBUTTON),
                message.LParam);
        SelDragPress();
      } else {
        // Manual dragging: the press is an ordinary one inside the
        // selection, and moving with the button held extends it.
        FMouseSelecting = true;
      }
    } else {
      PixelToColRow(x, y, true, col, row);
      if (x < FMargin->Left() && FCaret->RowSelect()) {
        RowSelectStart(row);
      } else {
        TCaretHideGuard caret(*this);
        SetRowCol(row, col);
        StartSelection();
      }
      FMouseSelecting = true;
    }
  }
  TCustomControl::Dispatch(message);
}

void TEditor::WMMouseMove(TMessage& message) {
  const int x = platform::GET_X_LPARAM(message.LParam);
  const int y = platform::GET_Y_LPARAM(message.LParam);
  // Held as this move reports it: a release that never reached the control
  // (the pointer grabbed away by a dialog) does not keep selecting.
  const bool held = (platform::LOWORD(message.WParam) & platform::MK_LBUTTON) != 0;
  int col = 0;
  int row = 0;
  if (FMouseSelecting && held) {
    HeldPointToColRow(x, y, true, col, row);
    if (FRowSelecting) {
      RowSelectTo(row);
    } else {
      SetRowCol(row, col);
      if (Selected())
        UpdateSelectionRange();
      else if (FSelectionState == selAnchored &&
               BeyondDragThreshold(x, y, FMouseDownX, FMouseDownY, FCharWidth))
        ActivateSelection();
    }
  } else if (FSelDragState == 1) {
    if (BeyondDragThreshold(x, y, FMouseDownX, FMouseDownY, FCharWidth)) SelDragBegin();
  } else if (FSelDragState == 2) {
    // The caret marks where the selection would land.
    HeldPointToColRow(x, y, false, col, row);
    SetRowCol(row, col);
  } else if (!held) {
    std::uint8_t kind = 0;
    if (x < FMargin->Left()) {
      kind = 1;
    } else if (CanDragSelection()) {
      PixelToColRow(x, y, true, col, row);
      if (InSelection(row, col)) kind = 2;
    }
    SetCursorKind(kind);
  }
  TCustomControl::Dispatch(message);
}

void TEditor::WMLButtonUp(TMessage& message) {
  TCustomControl::Dispatch(message);
  FMouseSelecting = false;
  if (FSelDragState == 2)
    SelDragEnd();
  else if (FSelDragState == 1)
    SelDragCancel();
  else
    RowSelectEnd();
}

// ------------------------------------------------------------- the scroll bars

void TEditor::WMVScroll(TMessage& message) {
  const int code = platform::LOWORD(message.WParam);
  int thumb = platform::HIWORD(message.WParam);
  // The message has room for 16 bits only; the bar, when there is one,
  // knows all of them.
  platform::TScrollInfo info;
  info.fMask = platform::SIF_TRACKPOS;
  if ((FScrollBars == ssVertical || FScrollBars == ssBoth) &&
      GetScrollInfo(platform::SB_VERT, info))
    thumb = info.nTrackPos;
  int last = FVScrollMax;
  if (FWheelScrolling && code == platform::SB_LINEDOWN)
    last = std::max(FTopRow, std::min(FVScrollMax, RowCount() - FVisibleRows));
  const std::optional<int> d = ScrollRequestDelta(code, FTopRow, FVisibleRows, last, thumb);
  if (!d) return;
  message.Result = 0;
  if (*d == 0) return;
  TCaretHideGuard caret(*this);
  SetTopRow(FTopRow + *d);
  // Locked, the caret keeps its place in the view.
  if (FCaret->LockScroll()) SetRow(FRow + *d);
}

void TEditor::WMHScroll(TMessage& message) {
  const int code = platform::LOWORD(message.WParam);
  const int thumb = platform::HIWORD(message.WParam);
  const std::optional<int> d = ScrollRequestDelta(code, FTopCol, FVisibleCols, FMaxTopCol, thumb);
  if (!d) return;
  message.Result = 0;
  if (*d != 0) SetTopCol(FTopCol + *d);
}

}  // namespace editor
