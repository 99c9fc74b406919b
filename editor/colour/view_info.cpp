#include "editor/colour/view_info.h"

namespace editor {

TEditorViewInfo::TEditorViewInfo(platform::TObject* editor)
    : FBrackets(std::make_unique<TEditorBracketCollection>()),
      FColors(std::make_unique<TEditorColors>()),
      FEditor(editor) {
  FBrackets->SetOnChange([this](platform::TObject* sender) { ChildChanged(sender); });
  Adopt(*FColors);
}

void TEditorViewInfo::SetQuotation(std::string value) {
  if (value.size() > 1) value.resize(1);
  ChangeField(FQuotation, std::move(value));
}

void TEditorViewInfo::Assign(const platform::TPersistent* source) {
  const auto* other = dynamic_cast<const TEditorViewInfo*>(source);
  if (!other) {
    TNotifyPersistent::Assign(source);
    return;
  }
  TUpdateGuard update(*this);
  FBrackets->Assign(other->FBrackets.get());
  FColors->Assign(other->FColors.get());
  FCommenter = other->FCommenter;
  FControlCode = other->FControlCode;
  FHexPrefix = other->FHexPrefix;
  FMail = other->FMail;
  // As it stands: a stored layout is taken whole.
  FQuotation = other->FQuotation;
  FUrl = other->FUrl;
}

}  // namespace editor
