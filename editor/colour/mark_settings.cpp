#include "editor/colour/mark_settings.h"

namespace editor {

void TEditorMark::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorMark*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  FColor = other->FColor;
  FVisible = other->FVisible;
  Changed();
}

TEditorMarks::TEditorMarks()
    : FEofMark(std::make_unique<TEditorMark>()),
      FRetMark(std::make_unique<TEditorMark>()),
      FUnderline(std::make_unique<TEditorMark>()) {
  Adopt(*FEofMark);
  Adopt(*FRetMark);
  Adopt(*FUnderline);
}

void TEditorMarks::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorMarks*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  TUpdateGuard update(*this);
  FEofMark->Assign(other->FEofMark.get());
  FRetMark->Assign(other->FRetMark.get());
  FUnderline->Assign(other->FUnderline.get());
}

}  // namespace editor
