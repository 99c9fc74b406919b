#include "editor/colour/caret_settings.h"

#include <algorithm>

namespace editor {

void TEditorCursors::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
}

TEditorCaret::TEditorCaret(TEditorCursorImages images)
    : FCursors(std::make_unique<TEditorCursors>(images)) {}

void TEditorCaret::SetCursors(std::unique_ptr<TEditorCursors> value) {
  if (value) FCursors = std::move(value);
}

void TEditorCaret::SetTabSpaceCount(int value) {
  value = std::clamp(value, 2, 8);
  if (value % 2 != 0) --value;
  ChangeField(FTabSpaceCount, value);
}

void TEditorCaret::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
}

}  // namespace editor
