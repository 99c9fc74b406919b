#include "platform/qt/control_widget.h"

#include "platform/qt/control_state.h"
#include "platform/qt/control_window.h"

namespace platform {

using control_detail::ControlWindow;

void SetParentWidget(TCustomControl& control, QWidget* parent) {
  auto& st = ControlWindow::StateOf(control);
  st.parent = parent;
  if (ControlWindow* w = ControlWindow::Of(control)) {
    w->Frame()->setParent(parent);
    w->Frame()->setVisible(st.visible);
  } else {
    control.HandleNeeded();
  }
}

QWidget* ControlWidget(const TCustomControl& control) {
  ControlWindow* w = ControlWindow::Of(control);
  return w ? w->Frame() : nullptr;
}

QWidget* ClientWidget(const TCustomControl& control) {
  ControlWindow* w = ControlWindow::Of(control);
  return w ? w->Client() : nullptr;
}

QScrollBar* ControlScrollBar(const TCustomControl& control, int bar) {
  ControlWindow* w = ControlWindow::Of(control);
  return w && (bar == SB_HORZ || bar == SB_VERT) ? w->Bar(bar) : nullptr;
}

void ShowFocusFrame(TCustomControl& control, bool show) {
  ControlWindow::StateOf(control).focus_frame = show;
  if (QWidget* client = ClientWidget(control)) client->update();
}

void PresentAsLog(TCustomControl& control, bool log) {
  ControlWindow::StateOf(control).presented_as_log = log;
}

QImage ControlSurface(const TCustomControl& control) {
  ControlWindow* w = ControlWindow::Of(control);
  if (!w) return QImage();
  w->EndPainter();
  return w->SurfaceOf().Image().copy();
}

}  // namespace platform
