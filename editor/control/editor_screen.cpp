// The screen updater and the control's answer to a change of its rows.
#include "editor/control/editor_screen.h"

#include <cstdlib>

#include "editor/control/editor.h"

namespace editor {

void TEditorScreen::Update(int row, int old_count, int new_count) {
  TEditor& editor = Editor();
  if (!editor.HandleAllocated()) return;
  if (std::abs(new_count - old_count) > editor.VisibleRows()) {
    editor.InvalidateAll();
    editor.Update();
    return;
  }
  // Rows inserted or removed: the rows below move by scrolling instead of
  // being painted again.
  if (old_count != new_count) editor.ScrollRowsBelow(row + new_count, new_count - old_count);
  editor.InvalidateRows(row, row + new_count);
}

void TEditor::DoChange() {
  const TEditorScreenStrings& rows = *FScreenStrings;
  if (rows.ChangeRecorded()) {
    FScreen->Update(rows.ChangeRow(), rows.ChangeOldCount(), rows.ChangeNewCount());
  } else {
    // Rows changed without a record of where: every offset is counted anew.
    FAccIndex.InvalidateFrom(0);
    InvalidateAll();
  }
  UpdateScrollBars();
  if (rows.ChangeRecorded()) {
    FModified = true;
    if (OnChange) OnChange(this);
  }
}

}  // namespace editor
