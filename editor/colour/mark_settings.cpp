#include "editor/colour/mark_settings.h"

namespace editor {

void TEditorMark::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
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
  AssignFields(*this, source, Fields());
}

}  // namespace editor
