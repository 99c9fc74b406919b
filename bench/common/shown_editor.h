// An editor control shown as a window shows it, with both scroll bars, for
// the benchmarks that time it painting or taking text (under
// QT_QPA_PLATFORM=offscreen).
#pragma once

#include "editor/control/editor.h"
#include "platform/qt/control_widget.h"

namespace bench {

inline void ShowEditor(editor::TEditor& editor, int width, int height) {
  editor.SetScrollBars(editor::ssBoth);
  editor.SetBounds(0, 0, width, height);
  editor.HandleNeeded();
  platform::ControlWidget(editor)->show();
  editor.Loaded();
}

}  // namespace bench
