// The Qt side of a TCustomControl, for the code that places controls among
// Qt widgets (app/) and for tests that drive them with Qt events.
#pragma once

#include <QImage>
#include <QScrollBar>
#include <QWidget>
#include <functional>

class QAccessibleEvent;

#include "platform/control/custom_control.h"

namespace platform {

// Makes `parent` the control's parent widget and creates the window there
// when none exists. The control's widget then follows `parent` (shown with
// it, deleted with it: the control is then without a window).
void SetParentWidget(TCustomControl& control, QWidget* parent);

// The control's outer widget (border, client, scroll bars); null without a window.
QWidget* ControlWidget(const TCustomControl& control);
// The widget of the client area, which takes the input.
QWidget* ClientWidget(const TCustomControl& control);
// The scroll bar SB_HORZ or SB_VERT.
QScrollBar* ControlScrollBar(const TCustomControl& control, int bar);
// A copy of the client area's pixels as the control drew them (without the
// caret); null without a window.
QImage ControlSurface(const TCustomControl& control);

// While the control has the focus, a one-pixel frame of its text colour
// runs along the client area's edge: where a read-only log's thin caret
// alone hardly shows that the keyboard is there.
void ShowFocusFrame(TCustomControl& control, bool show);

// Screen readers meet the control as a log the program writes to (AT-SPI's
// terminal role) instead of a plain text: they speak the lines added to it
// while it has the focus, as they do a terminal's output.
void PresentAsLog(TCustomControl& control, bool log);

// Hands every accessibility event of the controls (text, caret, selection)
// also to `listener`, and has them made while it is set even where no
// assistive tool listens or the platform has no accessibility bridge
// (offscreen), where Qt delivers nothing: for tests. None to stop.
void SetAccessibilityListener(std::function<void(QAccessibleEvent*)> listener);

}  // namespace platform
