#include "editor/colour/caret_settings.h"

#include <algorithm>

namespace editor {

void TEditorCursors::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorCursors*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  FDefaultCursor = other->FDefaultCursor;
  FDragSelCursor = other->FDragSelCursor;
  FDragSelCopyCursor = other->FDragSelCopyCursor;
  FInSelCursor = other->FInSelCursor;
  FLeftMarginCursor = other->FLeftMarginCursor;
  Changed();
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
  const auto* other = dynamic_cast<const TEditorCaret*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  TUpdateGuard update(*this);
  FAutoCursor = other->FAutoCursor;
  FAutoIndent = other->FAutoIndent;
  FCursors->Assign(other->FCursors.get());
  FFreeCaret = other->FFreeCaret;
  FInTab = other->FInTab;
  FKeepCaret = other->FKeepCaret;
  FLockScroll = other->FLockScroll;
  FNextLine = other->FNextLine;
  FPrevSpaceIndent = other->FPrevSpaceIndent;
  FRowSelect = other->FRowSelect;
  FSelDragMode = other->FSelDragMode;
  FSelMove = other->FSelMove;
  FSoftTab = other->FSoftTab;
  FStyle = other->FStyle;
  FTabIndent = other->FTabIndent;
  // Taken as it stands: a value from a stored layout is not clamped again.
  FTabSpaceCount = other->FTabSpaceCount;
}

}  // namespace editor
