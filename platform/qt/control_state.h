// What a TCustomControl keeps besides its window: the properties it
// restores when a window is created, and the input state of the last events.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>
#include <memory>
#include <string>

#include "platform/control/custom_control.h"
#include "platform/qt/control_window.h"

namespace platform {

struct TCustomControl::State {
  std::unique_ptr<control_detail::ControlWindow> window;
  QPointer<QWidget> parent;

  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  TColor color = clWindow;
  TFont font;
  TCursor cursor = crDefault;
  bool visible = true;
  bool enabled = true;
  bool tab_stop = false;
  bool ctl3d = true;
  // A frame of the text colour inside the client's edge while focused.
  bool focus_frame = false;
  // Screen readers meet the control as a log the program writes to.
  bool presented_as_log = false;

  // Input state as the last events left it.
  bool shift = false;
  bool ctrl = false;
  bool alt = false;
  Qt::MouseButtons buttons;
  std::array<bool, 256> keys_down{};
  bool lbutton_down = false;  // pressed on the control, not released yet
  bool clicked = false;       // a press that a release inside the client makes a click

  bool ime_enabled = true;
  std::string ime_result;
  std::string preedit;
  int wheel_vertical = 0;
  int wheel_horizontal = 0;
};

}  // namespace platform
