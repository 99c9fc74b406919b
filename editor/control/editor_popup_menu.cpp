#include "editor/control/editor_popup_menu.h"

#include <memory>

#include "editor/control/editor.h"
#include "editor/control/selection_text.h"
#include "platform/control/clipboard.h"
#include "platform/cp932.h"

namespace editor {

using platform::TMenuItem;
using platform::TObject;

void TEditorPopupMenu::Build() {
  CreateMenuItems();
  OnPopup = [this](TObject* sender) { MenuPopup(sender); };
}

TMenuItem* TEditorPopupMenu::AddItem(const char* caption_utf8, const char* shortcut,
                                     THandler handler, bool enabled) {
  auto item = std::make_unique<TMenuItem>();
  item->SetCaption(platform::Utf8ToCp932Lossy(caption_utf8));
  item->SetShortCut(shortcut);
  item->SetEnabled(enabled);
  if (handler) item->OnClick = [this, handler](TObject* sender) { (this->*handler)(sender); };
  return &Add(std::move(item));
}

void TEditorPopupMenu::CreateMenuItems() {
  FUndoItem = AddItem("元に戻す(&U)", "Ctrl+Z", &TEditorPopupMenu::UndoClick, false);
  FRedoItem = AddItem("やり直し(&R)", "Ctrl+A", &TEditorPopupMenu::RedoClick, false);
  AddItem("-", "", nullptr, true);
  FCutItem = AddItem("切り取り(&T)", "Ctrl+X", &TEditorPopupMenu::CutClick, false);
  FCopyItem = AddItem("コピー(&C)", "Ctrl+C", &TEditorPopupMenu::CopyClick, false);
  FPasteItem = AddItem("貼り付け(&P)", "Ctrl+V", &TEditorPopupMenu::PasteClick, false);
  FBoxPasteItem = AddItem("Box貼り付け(&B)", "Ctrl+B", &TEditorPopupMenu::BoxPasteClick, false);
  FDeleteItem = AddItem("削除(&D)", "", &TEditorPopupMenu::DeleteClick, false);
  AddItem("-", "", nullptr, true);
  FSelectAllItem = AddItem("すべて選択(&A)", "", &TEditorPopupMenu::SelectAllClick, false);
  AddItem("-", "", nullptr, true);
  FBoxSelectModeItem =
      AddItem("Box選択モード(&K)", "Ctrl+K", &TEditorPopupMenu::BoxSelectModeClick, true);
}

void TEditorPopupMenu::MenuPopup(TObject*) {
  if (!FEditor) return;
  const bool selected = FEditor->GetSelLength() > 0;
  const bool writable = !FEditor->ReadOnly();
  const bool clipboard_text =
      platform::GetClipboardText().Status != platform::TClipboardStatus::NoText;
  FUndoItem->SetEnabled(FEditor->CanUndo() && writable);
  FRedoItem->SetEnabled(FEditor->CanRedo() && writable);
  FCutItem->SetEnabled(selected && writable);
  FCopyItem->SetEnabled(selected);
  FPasteItem->SetEnabled(clipboard_text && writable);
  FBoxPasteItem->SetEnabled(clipboard_text && writable);
  FDeleteItem->SetEnabled(selected && writable);
  FSelectAllItem->SetEnabled(TextLength(FEditor->ScreenStrings()) > 0);
  FBoxSelectModeItem->SetEnabled(true);
  FBoxSelectModeItem->SetChecked(FEditor->SelectionMode() == smBox);
}

void TEditorPopupMenu::UndoClick(TObject*) {
  if (FEditor) FEditor->Undo();
}

void TEditorPopupMenu::RedoClick(TObject*) {
  if (FEditor) FEditor->Redo();
}

void TEditorPopupMenu::CutClick(TObject*) {
  if (FEditor) FEditor->CutToClipboard();
}

void TEditorPopupMenu::CopyClick(TObject*) {
  if (FEditor) FEditor->CopyToClipboard();
}

void TEditorPopupMenu::PasteClick(TObject*) {
  if (FEditor) FEditor->PasteFromClipboard();
}

void TEditorPopupMenu::BoxPasteClick(TObject*) {
  if (!FEditor) return;
  const platform::TClipboardText clip = platform::GetClipboardText();
  if (clip.Status == platform::TClipboardStatus::Done) FEditor->PasteBox(clip.Text);
}

void TEditorPopupMenu::DeleteClick(TObject*) {
  if (FEditor && !FEditor->ReadOnly()) FEditor->DeleteSelection();
}

void TEditorPopupMenu::SelectAllClick(TObject*) {
  if (FEditor) FEditor->SelectAll();
}

void TEditorPopupMenu::BoxSelectModeClick(TObject*) {
  FBoxSelectModeItem->SetChecked(!FBoxSelectModeItem->Checked());
  if (FEditor) FEditor->SetSelectionMode(FBoxSelectModeItem->Checked() ? smBox : smStream);
}

}  // namespace editor
