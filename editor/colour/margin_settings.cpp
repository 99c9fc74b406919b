#include "editor/colour/margin_settings.h"

#include <algorithm>

namespace editor {

void TEditorMargin::SetCharacter(int value) {
  ChangeField(FCharacter, std::clamp(value, 0, 100));
}

void TEditorMargin::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorMargin*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  FCharacter = other->FCharacter;
  FLeft = other->FLeft;
  FLine = other->FLine;
  FTop = other->FTop;
  FUnderlineHeight = other->FUnderlineHeight;
  Changed();
}

}  // namespace editor
