// TCustomControl: the windowed control the editor derives from. It owns a
// window on demand, turns the window system's input into messages for its
// handlers, and offers the services a control paints and scrolls with: a
// canvas over its own surface, the system caret, window scrolling and
// invalidation, two scroll bars, the pointer shape, focus, key state and the
// input method. This header is plain C++; the window itself lives behind it.
//
// Message flow: every message, whether the window system produced it or a
// caller sent it with Perform, enters WndProc, which keeps the control state
// (button held, key state) and calls Dispatch. A derived control overrides
// Dispatch to handle its messages and calls the base Dispatch for the rest or
// as its "inherited" step; the base Dispatch fires the framework events
// (OnKeyDown, OnMouseDown, ...) and ends in DefaultHandler, which stands for
// what the window system does with a message (wheel to scroll requests, an
// input-method result to character messages, ...).
//
// Without a window (before HandleNeeded, after DestroyHandle) messages are
// still dispatched, and every operation that needs the window does nothing
// and answers 0 or false.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "platform/control/accessible_text.h"
#include "platform/control/canvas.h"
#include "platform/control/cursors.h"
#include "platform/control/geometry.h"
#include "platform/control/graphics.h"
#include "platform/control/messages.h"
#include "platform/persistent.h"

namespace platform {

namespace control_detail {
class ControlWindow;
}

// Window styles a control asks for when its window is created.
inline constexpr std::uint32_t WS_BORDER = 0x00800000;
inline constexpr std::uint32_t WS_VSCROLL = 0x00200000;
inline constexpr std::uint32_t WS_HSCROLL = 0x00100000;
inline constexpr std::uint32_t WS_EX_CLIENTEDGE = 0x00000200;
// Window-class styles: repaint all on a change of width / height; double clicks.
inline constexpr std::uint32_t CS_VREDRAW = 0x0001;
inline constexpr std::uint32_t CS_HREDRAW = 0x0002;
inline constexpr std::uint32_t CS_DBLCLKS = 0x0008;

struct TCreateParams {
  std::uint32_t Style = 0;
  std::uint32_t ExStyle = 0;
  std::uint32_t WindowClassStyle = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
};

// Scroll bars of a window and their state.
inline constexpr int SB_HORZ = 0;
inline constexpr int SB_VERT = 1;
inline constexpr unsigned SIF_RANGE = 0x01;
inline constexpr unsigned SIF_PAGE = 0x02;
inline constexpr unsigned SIF_POS = 0x04;
inline constexpr unsigned SIF_DISABLENOSCROLL = 0x08;
inline constexpr unsigned SIF_TRACKPOS = 0x10;
inline constexpr unsigned SIF_ALL = SIF_RANGE | SIF_PAGE | SIF_POS | SIF_TRACKPOS;

// The position runs from nMin to nMax - nPage + 1; nTrackPos is where the
// thumb is while the user drags it.
struct TScrollInfo {
  unsigned fMask = 0;
  int nMin = 0;
  int nMax = 0;
  unsigned nPage = 0;
  int nPos = 0;
  int nTrackPos = 0;
};

// Flags of ScrollWindowEx.
inline constexpr unsigned SW_INVALIDATE = 0x0002;  // add the uncovered area to the update region
inline constexpr unsigned SW_ERASE = 0x0004;       // and erase it before painting

// System metrics.
inline constexpr int SM_CXVSCROLL = 2;  // width of a vertical scroll bar
inline constexpr int SM_CYHSCROLL = 3;  // height of a horizontal scroll bar
// Needs the application object; 0 for an unknown index.
int GetSystemMetrics(int index);

// Key and button state of input events, as a set of bits.
using TShiftState = unsigned;
inline constexpr TShiftState ssShift = 0x01;
inline constexpr TShiftState ssAlt = 0x02;
inline constexpr TShiftState ssCtrl = 0x04;
inline constexpr TShiftState ssLeft = 0x08;
inline constexpr TShiftState ssRight = 0x10;
inline constexpr TShiftState ssMiddle = 0x20;
inline constexpr TShiftState ssDouble = 0x40;

enum class TMouseButton { mbLeft, mbRight, mbMiddle };

using TKeyEvent = std::function<void(TObject* sender, std::uint16_t& key, TShiftState shift)>;
using TKeyPressEvent = std::function<void(TObject* sender, char& key)>;
using TMouseEvent =
    std::function<void(TObject* sender, TMouseButton button, TShiftState shift, int x, int y)>;
using TMouseMoveEvent = std::function<void(TObject* sender, TShiftState shift, int x, int y)>;

class TCustomControl : public TObject {
 public:
  TCustomControl();
  ~TCustomControl() override;
  TCustomControl(const TCustomControl&) = delete;
  TCustomControl& operator=(const TCustomControl&) = delete;

  // --- The window ---------------------------------------------------------
  bool HandleAllocated() const;
  // Creates the window (with CreateParams) unless one exists; it then
  // receives WM_CREATE and WM_SIZE.
  void HandleNeeded();
  // Destroys the window; the control keeps its properties. A derived
  // control's destructor calls this first, so that no message reaches it
  // half destroyed.
  void DestroyHandle();
  // Applies CreateParams anew (border, scroll bars, class styles).
  void RecreateWnd();

  // --- Messages -----------------------------------------------------------
  // Sends a message through WndProc at once and answers its result.
  LRESULT Perform(std::uint32_t msg, WPARAM wparam = 0, LPARAM lparam = 0);
  // Queues a message; it arrives from the event loop, after the message being
  // handled, while the window exists.
  void PostMessage(std::uint32_t msg, WPARAM wparam = 0, LPARAM lparam = 0);

  // --- Geometry (outer size, client area inside border and scroll bars) ---
  int Left() const;
  int Top() const;
  int Width() const;
  int Height() const;
  void SetBounds(int left, int top, int width, int height);
  void SetWidth(int width) { SetBounds(Left(), Top(), width, Height()); }
  void SetHeight(int height) { SetBounds(Left(), Top(), Width(), height); }
  int ClientWidth() const;
  int ClientHeight() const;
  TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
  TPoint ClientToScreen(TPoint p) const;
  TPoint ScreenToClient(TPoint p) const;
  // The pointer position on the screen.
  static TPoint GetCursorPos();

  // --- Properties -----------------------------------------------------------
  TColor Color() const;
  void SetColor(TColor color);  // then CM_COLORCHANGED
  const TFont& Font() const;
  void SetFont(const TFont& font);  // then CM_FONTCHANGED
  // The pointer shape over the client area, an index of the cursor table.
  TCursor Cursor() const;
  void SetCursor(TCursor cursor);
  // Shows `cursor` at once without changing Cursor; the control's own shape
  // returns on the first pointer move with no button held, or with SetCursor.
  void SetScreenCursor(TCursor cursor);
  bool Visible() const;
  void SetVisible(bool visible);
  bool Enabled() const;
  void SetEnabled(bool enabled);
  // Whether Tab moves the focus here.
  bool TabStop() const;
  void SetTabStop(bool tab_stop);
  bool Ctl3D() const;
  void SetCtl3D(bool ctl3d);  // then CM_CTL3DCHANGED

  // --- Focus and input state -------------------------------------------------
  bool Focused() const;
  void SetFocus();
  // The state of a key or mouse button as the last input events left it:
  // negative (high bit set) while down.
  std::int16_t GetKeyState(int virtual_key) const;
  // The left button went down on the control and has not come up yet.
  bool LButtonDown() const;

  // --- Painting ------------------------------------------------------------
  TCanvas& Canvas() { return canvas_; }
  // Adds the rectangle (the whole client area for none) to the area to be
  // painted; with erase the background is filled with Color first.
  void InvalidateRect(const TRect* rect, bool erase);
  void Invalidate() { InvalidateRect(nullptr, true); }
  // Paints what is invalid now: WM_ERASEBKGND and WM_PAINT before returning.
  void Update();
  void Repaint() {
    Invalidate();
    Update();
  }
  // Moves the pixels of `scroll` (the client area for none) by (dx, dy),
  // only inside `clip` (the client area for none). The area that no moved
  // pixels cover any more is given in `update`; SW_INVALIDATE adds it to the
  // area to be painted. Parts still to be painted move with the pixels.
  // Answers 1 when something moved, 0 without a window.
  int ScrollWindowEx(int dx, int dy, const TRect* scroll, const TRect* clip, TRect* update,
                     unsigned flags);
  // Whether WM_SETREDRAW has turned painting off.
  bool RedrawSuspended() const;

  // --- The system caret ------------------------------------------------------
  // One caret per control, drawn over the surface in the inverse colours,
  // blinking at the desktop's flash rate. It is created hidden: ShowCaret
  // and HideCaret count, and it shows when every HideCaret (and the
  // creation) has been answered by a ShowCaret.
  bool CreateCaret(int width, int height);
  bool DestroyCaret();
  bool ShowCaret();
  bool HideCaret();
  bool SetCaretPos(int x, int y);
  bool GetCaretPos(TPoint& p) const;
  bool CaretExists() const;
  bool CaretVisible() const;

  // --- Scroll bars -----------------------------------------------------------
  // A bar is present when CreateParams asked for it; when its range leaves
  // nothing to scroll it is disabled. The user's actions arrive as
  // WM_HSCROLL / WM_VSCROLL with the SB_ request in the low word (and the
  // position, 16 bits, in the high word for SB_THUMBPOSITION / SB_THUMBTRACK);
  // the bar moves only when the handler sets its position.
  int SetScrollInfo(int bar, const TScrollInfo& info, bool redraw);  // answers the position
  bool GetScrollInfo(int bar, TScrollInfo& info) const;
  int SetScrollPos(int bar, int pos, bool redraw);  // answers the previous position
  int GetScrollPos(int bar) const;

  // --- The input method ---------------------------------------------------------
  // Where compositions appear (the top-left of the text at the caret) and
  // in which font. A control that draws on a grid of character cells also
  // gives the cell width and the row height: the composition is then laid
  // on the same grid (a character takes the cells of its CP932 bytes) and
  // pushes the rest of the row right while it is drawn, without entering
  // the text. With a cell width of 0 the font's own advances are used.
  void SetImeCompositionWindow(TPoint client_point, const TFont& font, int cell_width = 0,
                               int row_height = 0);
  // The result string of the WM_IME_COMPOSITION being handled (CP932 bytes);
  // empty at other times.
  const std::string& ImeResultString() const;
  // The text being composed (UTF-8), drawn at the composition point.
  const std::string& ImePreeditText() const;
  // The grid cells the composition takes, and those before its cursor.
  int ImePreeditCells() const;
  int ImePreeditCursorCells() const;
  // Whether the input method composes for the control at all: a control
  // that takes no text (read-only) turns it off, as a read-only line edit
  // does, so that nothing is composed only to be dropped.
  void SetImeEnabled(bool enabled);
  bool ImeEnabled() const;

  // --- Accessibility -----------------------------------------------------------
  // The control's text for screen readers; none for a control without text.
  virtual TAccessibleText* AccessibleText() { return nullptr; }
  // Whether an assistive tool listens: the reports below cost something
  // only then, so a control makes them only then.
  static bool AccessibilityActive();
  // Reports, in the offsets of AccessibleText: the caret moved; the
  // selection is now start..end (equal for none); `removed` at `position`
  // became `inserted`.
  void NotifyAccessibleCaret(int offset);
  void NotifyAccessibleSelection(int start, int end);
  void NotifyAccessibleText(int position, const std::u16string& removed,
                            const std::u16string& inserted);

  // --- Framework events, fired by the base Dispatch ------------------------------
  TNotifyEvent OnClick;
  TNotifyEvent OnDblClick;
  TNotifyEvent OnEnter;
  TNotifyEvent OnExit;
  TNotifyEvent OnResize;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;
  TKeyPressEvent OnKeyPress;
  TMouseEvent OnMouseDown;
  TMouseEvent OnMouseUp;
  TMouseMoveEvent OnMouseMove;

 protected:
  // The window's styles. The base asks for nothing beyond the class styles
  // CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS.
  virtual void CreateParams(TCreateParams& params);
  virtual void WndProc(TMessage& message);
  virtual void Dispatch(TMessage& message);
  virtual void DefaultHandler(TMessage& message);
  // Paints Canvas.ClipRect(); runs for WM_PAINT. The base does nothing.
  virtual void Paint();
  // The audible refusal of input (CM_INPUTREFUSED): the desktop's beep.
  virtual void Beep();

 private:
  friend class control_detail::ControlWindow;
  struct State;

  std::unique_ptr<State> state_;
  TCanvas canvas_;
};

}  // namespace platform
