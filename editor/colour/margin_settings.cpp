#include "editor/colour/margin_settings.h"

#include <algorithm>

namespace editor {

void TEditorMargin::SetCharacter(int value) {
  ChangeField(FCharacter, std::clamp(value, 0, 100));
}

void TEditorMargin::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
}

}  // namespace editor
