// The window's keyboard, mouse and focus input: Qt's events become the
// control's messages, with the key and button state they carry.
#include "platform/qt/control_window.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>
#include <algorithm>
#include <string>

#include "platform/lead_byte.h"
#include "platform/qt/control_frame.h"
#include "platform/qt/control_state.h"
#include "platform/qt/key_map.h"
#include "platform/qt/typed_text.h"

namespace platform::control_detail {

namespace {

unsigned MouseKeys(Qt::MouseButtons buttons, bool shift, bool ctrl) {
  unsigned mk = 0;
  if (buttons & Qt::LeftButton) mk |= MK_LBUTTON;
  if (buttons & Qt::RightButton) mk |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) mk |= MK_MBUTTON;
  if (shift) mk |= MK_SHIFT;
  if (ctrl) mk |= MK_CONTROL;
  return mk;
}

bool HasDoubleByteChar(const std::string& bytes) {
  return std::any_of(bytes.begin(), bytes.end(), [](char b) { return IsLeadByte(b); });
}

}  // namespace

void ControlWindow::SetInputState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TCustomControl::State& st = StateOf(*control_);
  st.shift = modifiers & Qt::ShiftModifier;
  st.ctrl = modifiers & Qt::ControlModifier;
  st.alt = modifiers & Qt::AltModifier;
  st.buttons = buttons;
}

void ControlWindow::KeyPress(QKeyEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  TCustomControl::State& st = StateOf(*control_);
  SetInputState(e->modifiers(), st.buttons);
  const int key = e->key();
  // A modifier's own press may still carry the state from before it.
  if (key == Qt::Key_Shift) st.shift = true;
  if (key == Qt::Key_Control) st.ctrl = true;
  if (key == Qt::Key_Alt) st.alt = true;
  const bool system = st.alt && !st.ctrl;
  LPARAM data = 1 | ((static_cast<LPARAM>(e->nativeScanCode()) & 0xFF) << 16);
  if (IsExtendedKey(key, e->modifiers())) data |= KF_EXTENDED;
  if (st.alt) data |= KF_ALTDOWN;
  if (e->isAutoRepeat()) data |= KF_REPEAT;

  if (int vk = VirtualKeyOf(key, e->modifiers())) {
    st.keys_down[vk] = true;
    Send(system ? WM_SYSKEYDOWN : WM_KEYDOWN, static_cast<WPARAM>(vk), data);
    if (!control_) return;
  }
  e->accept();

  // The characters the key types, as the keyboard translation makes them.
  if (key == Qt::Key_Delete) return;
  if (st.ctrl && !st.alt) {
    int code = 0;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
      code = key - Qt::Key_A + 1;
    else if (key == Qt::Key_BracketLeft || key == Qt::Key_Escape)
      code = 0x1B;
    else if (key == Qt::Key_Backslash)
      code = 0x1C;
    else if (key == Qt::Key_BracketRight)
      code = 0x1D;
    else if (key == Qt::Key_Backspace)
      code = 0x7F;
    else if (key == Qt::Key_Return || key == Qt::Key_Enter)
      code = 0x0A;
    else if (key == Qt::Key_Space)
      code = 0x20;
    if (code) Send(WM_CHAR, static_cast<WPARAM>(code), data);
    return;
  }
  QString text = e->text();
  if (key == Qt::Key_Backtab || key == Qt::Key_Tab) text = QStringLiteral("\t");
  if (key == Qt::Key_Return || key == Qt::Key_Enter) text = QStringLiteral("\r");
  if (key == Qt::Key_Backspace) text = QStringLiteral("\b");
  if (key == Qt::Key_Escape) text = QStringLiteral("\x1b");
  text.remove(QChar(0x7F));
  if (!text.isEmpty()) DeliverText(text, data, system);
}

void ControlWindow::DeliverText(const QString& text, LPARAM key_data, bool system) {
  int refused = 0;
  const std::string bytes = TypedCp932(text, refused);
  if (refused > 0) {
    Send(CM_INPUTREFUSED, static_cast<WPARAM>(refused), 0);
    if (!control_) return;
  }
  if (bytes.empty()) return;
  if (HasDoubleByteChar(bytes)) {
    // Japanese characters arrive as a finished composition, as they do from
    // the input method, so that the control inserts them whole, once.
    SendResult(bytes);
    return;
  }
  for (char b : bytes) {
    Send(system ? WM_SYSCHAR : WM_CHAR, static_cast<unsigned char>(b), key_data);
    if (!control_) return;
  }
}

void ControlWindow::KeyRelease(QKeyEvent* e) {
  Busy busy(*this);
  if (!control_ || e->isAutoRepeat()) return;
  TCustomControl::State& st = StateOf(*control_);
  const bool system = (st.alt || e->key() == Qt::Key_Alt) && !st.ctrl;
  SetInputState(e->modifiers(), st.buttons);
  if (e->key() == Qt::Key_Shift) st.shift = false;
  if (e->key() == Qt::Key_Control) st.ctrl = false;
  if (e->key() == Qt::Key_Alt) st.alt = false;
  LPARAM data = 1 | ((static_cast<LPARAM>(e->nativeScanCode()) & 0xFF) << 16) | KF_REPEAT | KF_UP;
  if (IsExtendedKey(e->key(), e->modifiers())) data |= KF_EXTENDED;
  if (int vk = VirtualKeyOf(e->key(), e->modifiers())) {
    st.keys_down[vk] = false;
    Send(system ? WM_SYSKEYUP : WM_KEYUP, static_cast<WPARAM>(vk), data);
  }
  e->accept();
}

void ControlWindow::MouseEvent(QMouseEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  SetInputState(e->modifiers(), e->buttons());
  const TCustomControl::State& st = StateOf(*control_);
  const QPoint p = e->position().toPoint();
  const WPARAM keys = MouseKeys(e->buttons(), st.shift, st.ctrl);
  const LPARAM pos = MAKELPARAM(p.x(), p.y());
  auto pick = [&](std::uint32_t left, std::uint32_t right, std::uint32_t middle) {
    switch (e->button()) {
      case Qt::LeftButton:
        return left;
      case Qt::RightButton:
        return right;
      case Qt::MiddleButton:
        return middle;
      default:
        return WM_NULL;
    }
  };
  std::uint32_t msg = WM_NULL;
  switch (e->type()) {
    case QEvent::MouseMove:
      if (screen_cursor_ && e->buttons() == Qt::NoButton) ApplyCursor();
      msg = WM_MOUSEMOVE;
      break;
    case QEvent::MouseButtonPress:
      // The second press of a double click comes as the double click itself.
      if (e->flags() & Qt::MouseEventCreatedDoubleClick) return;
      msg = pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
      break;
    case QEvent::MouseButtonDblClick:
      msg = (params_.WindowClassStyle & CS_DBLCLKS)
                ? pick(WM_LBUTTONDBLCLK, WM_RBUTTONDBLCLK, WM_MBUTTONDBLCLK)
                : pick(WM_LBUTTONDOWN, WM_RBUTTONDOWN, WM_MBUTTONDOWN);
      break;
    case QEvent::MouseButtonRelease:
      msg = pick(WM_LBUTTONUP, WM_RBUTTONUP, WM_MBUTTONUP);
      break;
    default:
      break;
  }
  e->accept();
  if (msg != WM_NULL) Send(msg, keys, pos);
}

void ControlWindow::Wheel(QWheelEvent* e) {
  Busy busy(*this);
  if (!control_) return;
  SetInputState(e->modifiers(), e->buttons());
  const TCustomControl::State& st = StateOf(*control_);
  const int keys = static_cast<int>(MouseKeys(e->buttons(), st.shift, st.ctrl));
  const QPoint global = e->globalPosition().toPoint();
  const QPoint delta = e->angleDelta();
  e->accept();
  if (delta.y() != 0)
    Send(WM_MOUSEWHEEL, MAKEWPARAM(keys, delta.y()), MAKELPARAM(global.x(), global.y()));
  // Qt counts a turn to the left as positive, the messages a turn to the right.
  if (delta.x() != 0 && control_)
    Send(WM_MOUSEHWHEEL, MAKEWPARAM(keys, -delta.x()), MAKELPARAM(global.x(), global.y()));
}

void ControlWindow::Focus(bool in) {
  Busy busy(*this);
  if (!control_) return;
  if (!in) {
    // Keys released while another window has the keyboard are never seen.
    TCustomControl::State& st = StateOf(*control_);
    st.keys_down.fill(false);
    st.shift = st.ctrl = st.alt = false;
  }
  if (StateOf(*control_).focus_frame && client_) client_->update();
  Send(in ? WM_SETFOCUS : WM_KILLFOCUS, 0, 0);
}

void ControlWindow::Hover(bool entered) {
  Send(entered ? CM_MOUSEENTER : CM_MOUSELEAVE, 0, 0);
}

void ControlWindow::ContextMenu(const QPoint& global, bool by_keyboard) {
  Send(WM_CONTEXTMENU, 0, by_keyboard ? LPARAM(-1) : MAKELPARAM(global.x(), global.y()));
}

bool ControlWindow::WantsTab() {
  return Send(WM_GETDLGCODE, 0, 0) & (DLGC_WANTTAB | DLGC_WANTALLKEYS);
}

}  // namespace platform::control_detail
