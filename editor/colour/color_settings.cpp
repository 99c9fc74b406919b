#include "editor/colour/color_settings.h"

namespace editor {

void TEditorColor::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
}

TEditorColors::TEditorColors() {
  for (auto& slot : FSlots) {
    slot = std::make_unique<TEditorColor>();
    Adopt(*slot);
  }
  Select().FBkColor = platform::clNavy;
  Select().FColor = platform::clWhite;
}

template <class Write>
void TEditorColors::WriteAllButSelect(Write write) {
  platform::TUpdateGuard update(*this);
  for (int i = 0; i < kEditorColorSlotCount; ++i) {
    if (i != static_cast<int>(TEditorColorSlot::Select)) write(*FSlots[i]);
  }
}

void TEditorColors::SetAllBkColor(platform::TColor color) {
  WriteAllButSelect([color](TEditorColor& slot) { slot.FBkColor = color; });
}

void TEditorColors::SetAllColor(platform::TColor color) {
  WriteAllButSelect([color](TEditorColor& slot) { slot.FColor = color; });
}

void TEditorColors::SetAllStyle(platform::TFontStyles styles) {
  WriteAllButSelect([styles](TEditorColor& slot) { slot.FStyle = styles; });
}

void TEditorColors::Assign(const platform::TPersistent* source) {
  AssignFields(*this, source, Fields());
}

}  // namespace editor
