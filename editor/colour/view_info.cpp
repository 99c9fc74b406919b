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
  AssignFields(*this, source, Fields());
}

}  // namespace editor
