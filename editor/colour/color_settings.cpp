#include "editor/colour/color_settings.h"

namespace editor {

void TEditorColor::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorColor*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  FBkColor = other->FBkColor;
  FColor = other->FColor;
  FStyle = other->FStyle;
  Changed();
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
  TUpdateGuard update(*this);
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
  const auto* other = dynamic_cast<const TEditorColors*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  TUpdateGuard update(*this);
  using S = TEditorColorSlot;
  for (S slot : {S::Ank, S::Comment, S::DBCS, S::Int, S::Mail, S::Str, S::Symbol, S::Reserve,
                 S::Url, S::Select}) {
    Slot(slot).Assign(&other->Slot(slot));
  }
}

}  // namespace editor
