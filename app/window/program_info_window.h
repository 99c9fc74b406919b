// The information window the program itself uses; varnek and the screenshot
// tool take it from here, so that both show the same thing. Built with the
// editor control (PIRUKKO_WITH_TEDITOR) it is the real TEditor; without it,
// a temporary empty panel.
#pragma once

#include "app/window/info_window.h"
#include "platform/qt/cursors.h"

#ifdef PIRUKKO_WITH_TEDITOR
#include "app/window/teditor/editor_info_window.h"
#else
#include "app/window/temporary_info_panel.h"
#endif

namespace app {

// Registers the editor control's two cursor images at start-up, in the order
// the layout's cursor settings count on: 1 "RightArrow", 2 "DragSelCopy".
inline void RegisterProgramCursors() {
  platform::RegisterCursorResource("RightArrow");
  platform::RegisterCursorResource("DragSelCopy");
}

inline InfoWindowFactory ProgramInfoWindowFactory() {
#ifdef PIRUKKO_WITH_TEDITOR
  return MakeEditorInfoWindow;
#else
  return MakeTemporaryInfoPanel;
#endif
}

}  // namespace app
