#include "platform/control/custom_control.h"

#include <QApplication>
#include <QCursor>
#include <QtDebug>
#include <cstdlib>

#include "platform/control/virtual_keys.h"
#include "platform/qt/control_state.h"
#include "platform/qt/control_window.h"

namespace platform {

using control_detail::ControlWindow;

namespace {

QRect ToQRect(const TRect& r) {
  return QRect(r.Left, r.Top, r.Width(), r.Height());
}
TRect ToTRect(const QRect& r) {
  return r.isEmpty() ? TRect{} : TRect{r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

bool HaveApplication() {
  return qobject_cast<QApplication*>(QCoreApplication::instance());
}

TMouseButton ButtonOf(std::uint32_t msg) {
  switch (msg) {
    case WM_RBUTTONDOWN:
    case WM_RBUTTONUP:
    case WM_RBUTTONDBLCLK:
      return TMouseButton::mbRight;
    case WM_MBUTTONDOWN:
    case WM_MBUTTONUP:
    case WM_MBUTTONDBLCLK:
      return TMouseButton::mbMiddle;
    default:
      return TMouseButton::mbLeft;
  }
}

}  // namespace

TCustomControl::TCustomControl() : state_(std::make_unique<State>()) {}

TCustomControl::~TCustomControl() {
  DestroyHandle();
}

// --- The window -------------------------------------------------------------------

bool TCustomControl::HandleAllocated() const {
  return ControlWindow::Of(*this) != nullptr;
}

void TCustomControl::HandleNeeded() {
  if (HandleAllocated()) return;
  if (!HaveApplication()) {
    qWarning("a control's window needs the application object; it stays without one");
    return;
  }
  // A window whose widgets someone else destroyed is given up first.
  ControlWindow::Retire(std::move(state_->window));
  TCreateParams params;
  CreateParams(params);
  State& st = *state_;
  st.window =
      std::make_unique<ControlWindow>(*this, params, QRect(st.left, st.top, st.width, st.height));
  canvas_.window_ = st.window.get();
  QWidget* client = st.window->Client();
  client->setFocusPolicy(st.tab_stop ? Qt::TabFocus : Qt::NoFocus);
  st.window->Frame()->setEnabled(st.enabled);
  st.window->ApplyCursor();
  if (st.parent) st.window->Frame()->setVisible(st.visible);
  Perform(WM_CREATE);
  if (ControlWindow* w = ControlWindow::Of(*this)) w->SyncGeometry();
}

void TCustomControl::DestroyHandle() {
  if (!state_->window) return;
  if (ControlWindow* w = ControlWindow::Of(*this)) {
    QRect bounds = w->Bounds();
    state_->left = bounds.left();
    state_->top = bounds.top();
    state_->width = bounds.width();
    state_->height = bounds.height();
    Perform(WM_DESTROY);
  }
  canvas_.window_ = nullptr;
  ControlWindow::Retire(std::move(state_->window));
}

void TCustomControl::RecreateWnd() {
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w) return;
  TCreateParams params;
  CreateParams(params);
  w->ApplyParams(params);
}

// --- Messages ---------------------------------------------------------------------

LRESULT TCustomControl::Perform(std::uint32_t msg, WPARAM wparam, LPARAM lparam) {
  TMessage message{msg, wparam, lparam, 0};
  WndProc(message);
  return message.Result;
}

void TCustomControl::PostMessage(std::uint32_t msg, WPARAM wparam, LPARAM lparam) {
  if (ControlWindow* w = ControlWindow::Of(*this)) w->Post(TMessage{msg, wparam, lparam, 0});
}

void TCustomControl::CreateParams(TCreateParams& params) {
  (void)params;
}

void TCustomControl::WndProc(TMessage& message) {
  switch (message.Msg) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      state_->lbutton_down = true;
      break;
    case WM_LBUTTONUP:
      state_->lbutton_down = false;
      break;
    default:
      break;
  }
  Dispatch(message);
}

void TCustomControl::Dispatch(TMessage& m) {
  State& st = *state_;
  const TShiftState keys = (st.shift ? ssShift : 0) | (st.ctrl ? ssCtrl : 0) | (st.alt ? ssAlt : 0);
  auto mouse_shift = [&](TShiftState extra) {
    const unsigned mk = LOWORD(m.WParam);
    return ((mk & MK_SHIFT) ? ssShift : 0) | ((mk & MK_CONTROL) ? ssCtrl : 0) |
           (st.alt ? ssAlt : 0) | ((mk & MK_LBUTTON) ? ssLeft : 0) |
           ((mk & MK_RBUTTON) ? ssRight : 0) | ((mk & MK_MBUTTON) ? ssMiddle : 0) | extra;
  };
  const int x = GET_X_LPARAM(m.LParam);
  const int y = GET_Y_LPARAM(m.LParam);

  switch (m.Msg) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
    case WM_KEYUP:
    case WM_SYSKEYUP: {
      const bool down = m.Msg == WM_KEYDOWN || m.Msg == WM_SYSKEYDOWN;
      if (const TKeyEvent& event = down ? OnKeyDown : OnKeyUp) {
        auto key = static_cast<std::uint16_t>(m.WParam);
        event(this, key, keys);
        m.WParam = key;
        if (key == 0) return;  // the handler took the key
      }
      break;
    }
    case WM_CHAR:
      if (OnKeyPress) {
        char key = static_cast<char>(m.WParam);
        OnKeyPress(this, key);
        m.WParam = static_cast<unsigned char>(key);
        if (key == 0) return;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDBLCLK: {
      const bool dbl =
          m.Msg == WM_LBUTTONDBLCLK || m.Msg == WM_RBUTTONDBLCLK || m.Msg == WM_MBUTTONDBLCLK;
      DefaultHandler(m);
      if (m.Msg == WM_LBUTTONDOWN) st.clicked = true;
      if (m.Msg == WM_LBUTTONDBLCLK && OnDblClick) OnDblClick(this);
      if (OnMouseDown) OnMouseDown(this, ButtonOf(m.Msg), mouse_shift(dbl ? ssDouble : 0), x, y);
      return;
    }
    case WM_LBUTTONUP:
    case WM_RBUTTONUP:
    case WM_MBUTTONUP: {
      DefaultHandler(m);
      if (m.Msg == WM_LBUTTONUP && st.clicked) {
        st.clicked = false;
        if (ClientRect().Contains({x, y}) && OnClick) OnClick(this);
      }
      if (OnMouseUp) OnMouseUp(this, ButtonOf(m.Msg), mouse_shift(0), x, y);
      return;
    }
    case WM_MOUSEMOVE:
      DefaultHandler(m);
      if (OnMouseMove) OnMouseMove(this, mouse_shift(0), x, y);
      return;
    case WM_SETFOCUS:
      DefaultHandler(m);
      if (OnEnter) OnEnter(this);
      return;
    case WM_KILLFOCUS:
      DefaultHandler(m);
      if (OnExit) OnExit(this);
      return;
    case WM_SIZE:
      DefaultHandler(m);
      if (OnResize) OnResize(this);
      return;
    case WM_PAINT:
      Paint();
      m.Result = 0;
      return;
    case CM_COLORCHANGED:
    case CM_FONTCHANGED:
      Invalidate();
      break;
    case CM_CURSORCHANGED:
      if (ControlWindow* w = ControlWindow::Of(*this)) w->ApplyCursor();
      break;
    default:
      break;
  }
  DefaultHandler(m);
}

void TCustomControl::DefaultHandler(TMessage& m) {
  State& st = *state_;
  ControlWindow* w = ControlWindow::Of(*this);
  switch (m.Msg) {
    case WM_ERASEBKGND:
      if (w) w->FillBackground();
      m.Result = 1;
      break;
    case WM_SETREDRAW:
      if (w) w->SetRedraw(m.WParam != 0);
      break;
    case WM_NCHITTEST:
      m.Result = HTCLIENT;
      break;
    case WM_MOUSEWHEEL:
    case WM_MOUSEHWHEEL: {
      // The wheel scrolls, as users expect: the desktop's number of lines a
      // notch, as line requests of the scroll bar it turns. Shift turns the
      // upright wheel sideways.
      const bool tilt = m.Msg == WM_MOUSEHWHEEL;
      const bool sideways = tilt || (GET_KEYSTATE_WPARAM(m.WParam) & MK_SHIFT);
      int& rest = sideways ? st.wheel_horizontal : st.wheel_vertical;
      const int delta = GET_WHEEL_DELTA_WPARAM(m.WParam);
      if ((rest > 0 && delta < 0) || (rest < 0 && delta > 0)) rest = 0;
      rest += delta;
      const int notches = rest / WHEEL_DELTA;
      rest -= notches * WHEEL_DELTA;
      if (notches == 0) break;
      const int lines = HaveApplication() ? QApplication::wheelScrollLines() : 3;
      // Turning the wheel away, or tilting it left, goes up and left.
      const bool back = tilt ? notches < 0 : notches > 0;
      const std::uint32_t msg = sideways ? WM_HSCROLL : WM_VSCROLL;
      for (int i = 0; i < std::abs(notches) * lines; ++i)
        Perform(msg, MAKEWPARAM(back ? SB_LINEUP : SB_LINEDOWN, 0), 0);
      Perform(msg, MAKEWPARAM(SB_ENDSCROLL, 0), 0);
      m.Result = 0;
      break;
    }
    case CM_INPUTREFUSED:
      Beep();
      m.Result = 0;
      break;
    default:
      break;
  }
}

void TCustomControl::Paint() {}

void TCustomControl::Beep() {
  if (HaveApplication()) QApplication::beep();
}

// --- Geometry -----------------------------------------------------------------------

int TCustomControl::Left() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->Bounds().left() : state_->left;
}
int TCustomControl::Top() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->Bounds().top() : state_->top;
}
int TCustomControl::Width() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->Bounds().width() : state_->width;
}
int TCustomControl::Height() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->Bounds().height() : state_->height;
}

void TCustomControl::SetBounds(int left, int top, int width, int height) {
  State& st = *state_;
  st.left = left;
  st.top = top;
  st.width = std::max(0, width);
  st.height = std::max(0, height);
  if (ControlWindow* w = ControlWindow::Of(*this))
    w->SetBounds(QRect(st.left, st.top, st.width, st.height));
}

int TCustomControl::ClientWidth() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->ClientSize().width() : state_->width;
}
int TCustomControl::ClientHeight() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->ClientSize().height() : state_->height;
}

TPoint TCustomControl::ClientToScreen(TPoint p) const {
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w || !w->Client()) return p;
  QPoint q = w->Client()->mapToGlobal(QPoint(p.X, p.Y));
  return {q.x(), q.y()};
}

TPoint TCustomControl::ScreenToClient(TPoint p) const {
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w || !w->Client()) return p;
  QPoint q = w->Client()->mapFromGlobal(QPoint(p.X, p.Y));
  return {q.x(), q.y()};
}

TPoint TCustomControl::GetCursorPos() {
  if (!HaveApplication()) return {};
  QPoint q = QCursor::pos();
  return {q.x(), q.y()};
}

// --- Properties -----------------------------------------------------------------------

TColor TCustomControl::Color() const {
  return state_->color;
}
void TCustomControl::SetColor(TColor color) {
  if (state_->color == color) return;
  state_->color = color;
  Perform(CM_COLORCHANGED);
}

const TFont& TCustomControl::Font() const {
  return state_->font;
}
void TCustomControl::SetFont(const TFont& font) {
  if (state_->font == font) return;
  state_->font = font;
  Perform(CM_FONTCHANGED);
}

TCursor TCustomControl::Cursor() const {
  return state_->cursor;
}
void TCustomControl::SetCursor(TCursor cursor) {
  const bool changed = state_->cursor != cursor;
  state_->cursor = cursor;
  // Also when unchanged: the control's own shape replaces a screen cursor.
  if (ControlWindow* w = ControlWindow::Of(*this)) w->ApplyCursor();
  if (changed) Perform(CM_CURSORCHANGED);
}

void TCustomControl::SetScreenCursor(TCursor cursor) {
  if (ControlWindow* w = ControlWindow::Of(*this)) w->SetScreenCursor(cursor);
}

bool TCustomControl::Visible() const {
  return state_->visible;
}
void TCustomControl::SetVisible(bool visible) {
  state_->visible = visible;
  if (ControlWindow* w = ControlWindow::Of(*this)) w->Frame()->setVisible(visible);
}

bool TCustomControl::Enabled() const {
  return state_->enabled;
}
void TCustomControl::SetEnabled(bool enabled) {
  state_->enabled = enabled;
  if (ControlWindow* w = ControlWindow::Of(*this)) w->Frame()->setEnabled(enabled);
}

bool TCustomControl::TabStop() const {
  return state_->tab_stop;
}
void TCustomControl::SetTabStop(bool tab_stop) {
  state_->tab_stop = tab_stop;
  // A click focuses the control only when its own handling asks for it,
  // as the button-down default of a control does.
  if (ControlWindow* w = ControlWindow::Of(*this))
    w->Client()->setFocusPolicy(tab_stop ? Qt::TabFocus : Qt::NoFocus);
}

bool TCustomControl::Ctl3D() const {
  return state_->ctl3d;
}
void TCustomControl::SetCtl3D(bool ctl3d) {
  if (state_->ctl3d == ctl3d) return;
  state_->ctl3d = ctl3d;
  Perform(CM_CTL3DCHANGED);
}

// --- Focus and input state --------------------------------------------------------------

bool TCustomControl::Focused() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->Client() && w->Client()->hasFocus();
}

void TCustomControl::SetFocus() {
  if (ControlWindow* w = ControlWindow::Of(*this)) w->Client()->setFocus(Qt::OtherFocusReason);
}

std::int16_t TCustomControl::GetKeyState(int virtual_key) const {
  const State& st = *state_;
  bool down;
  switch (virtual_key) {
    case VK_SHIFT:
      down = st.shift;
      break;
    case VK_CONTROL:
      down = st.ctrl;
      break;
    case VK_MENU:
      down = st.alt;
      break;
    case VK_LBUTTON:
      down = st.buttons & Qt::LeftButton;
      break;
    case VK_RBUTTON:
      down = st.buttons & Qt::RightButton;
      break;
    case VK_MBUTTON:
      down = st.buttons & Qt::MiddleButton;
      break;
    default:
      down = st.keys_down[static_cast<unsigned>(virtual_key) & 0xFF];
      break;
  }
  return down ? static_cast<std::int16_t>(-0x8000) : 0;
}

bool TCustomControl::LButtonDown() const {
  return state_->lbutton_down;
}

// --- Painting ------------------------------------------------------------------------------

void TCustomControl::InvalidateRect(const TRect* rect, bool erase) {
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w) return;
  if (rect) {
    QRect r = ToQRect(*rect);
    w->Invalidate(&r, erase);
  } else {
    w->Invalidate(nullptr, erase);
  }
}

void TCustomControl::Update() {
  if (ControlWindow* w = ControlWindow::Of(*this)) w->UpdateNow();
}

int TCustomControl::ScrollWindowEx(int dx, int dy, const TRect* scroll, const TRect* clip,
                                   TRect* update, unsigned flags) {
  if (update) *update = TRect{};
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w) return 0;
  QRect s = scroll ? ToQRect(*scroll) : QRect();
  QRect c = clip ? ToQRect(*clip) : QRect();
  QRect uncovered;
  w->Scroll(dx, dy, scroll ? &s : nullptr, clip ? &c : nullptr, &uncovered, flags);
  if (update) *update = ToTRect(uncovered);
  return 1;
}

bool TCustomControl::RedrawSuspended() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->RedrawSuspended();
}

// --- The system caret ----------------------------------------------------------------------

bool TCustomControl::CreateCaret(int width, int height) {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->CreateCaret(width, height);
}
bool TCustomControl::DestroyCaret() {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->DestroyCaret();
}
bool TCustomControl::ShowCaret() {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->ShowCaret();
}
bool TCustomControl::HideCaret() {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->HideCaret();
}
bool TCustomControl::SetCaretPos(int x, int y) {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->SetCaretPos(x, y);
}
bool TCustomControl::GetCaretPos(TPoint& p) const {
  ControlWindow* w = ControlWindow::Of(*this);
  QPoint q;
  if (!w || !w->GetCaretPos(q)) return false;
  p = {q.x(), q.y()};
  return true;
}
bool TCustomControl::CaretExists() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->CaretExists();
}
bool TCustomControl::CaretVisible() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w && w->CaretVisible();
}

// --- Scroll bars ------------------------------------------------------------------------------

int TCustomControl::SetScrollInfo(int bar, const TScrollInfo& info, bool redraw) {
  (void)redraw;  // the bar shows its new state with the next screen update either way
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return 0;
  return w->SetScrollInfo(bar, info);
}

bool TCustomControl::GetScrollInfo(int bar, TScrollInfo& info) const {
  ControlWindow* w = ControlWindow::Of(*this);
  if (!w || (bar != SB_HORZ && bar != SB_VERT)) return false;
  w->GetScrollInfo(bar, info);
  return true;
}

int TCustomControl::SetScrollPos(int bar, int pos, bool redraw) {
  const int previous = GetScrollPos(bar);
  TScrollInfo info;
  info.fMask = SIF_POS;
  info.nPos = pos;
  SetScrollInfo(bar, info, redraw);
  return previous;
}

int TCustomControl::GetScrollPos(int bar) const {
  TScrollInfo info;
  info.fMask = SIF_POS;
  return GetScrollInfo(bar, info) ? info.nPos : 0;
}

// --- The input method ---------------------------------------------------------------------------

void TCustomControl::SetImeCompositionWindow(TPoint client_point, const TFont& font, int cell_width,
                                             int row_height) {
  if (ControlWindow* w = ControlWindow::Of(*this))
    w->SetImeCompositionWindow(QPoint(client_point.X, client_point.Y), font, cell_width,
                               row_height);
}

void TCustomControl::SetImeEnabled(bool enabled) {
  if (state_->ime_enabled == enabled) return;
  state_->ime_enabled = enabled;
  if (ControlWindow* w = ControlWindow::Of(*this)) w->ApplyImeEnabled();
}

bool TCustomControl::ImeEnabled() const {
  return state_->ime_enabled;
}

int TCustomControl::ImePreeditCells() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->PreeditCells() : 0;
}

int TCustomControl::ImePreeditCursorCells() const {
  ControlWindow* w = ControlWindow::Of(*this);
  return w ? w->PreeditCursorCells() : 0;
}

const std::string& TCustomControl::ImeResultString() const {
  return state_->ime_result;
}
const std::string& TCustomControl::ImePreeditText() const {
  return state_->preedit;
}

}  // namespace platform
