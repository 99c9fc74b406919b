// The information window the program itself uses, the editor control;
// varnek and the screenshot tool take it from here, so that both show the
// same thing.
#pragma once

#include "app/window/info_window.h"
#include "platform/control/cursors.h"

#include "app/window/teditor/editor_info_window.h"

namespace app {

// Registers the editor control's two cursor images at start-up, in the order
// the layout's cursor settings count on: 1 "RightArrow", 2 "DragSelCopy".
inline void RegisterProgramCursors() {
  platform::RegisterCursorResource("RightArrow");
  platform::RegisterCursorResource("DragSelCopy");
}

inline InfoWindowFactory ProgramInfoWindowFactory() {
  return MakeEditorInfoWindow;
}

}  // namespace app
