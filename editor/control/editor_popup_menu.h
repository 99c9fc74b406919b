// TEditorPopupMenu: the editor's own context menu. It offers undo, redo,
// the clipboard operations, delete, select all and the switch to box
// selection, and takes the items' enabled states from the editor each time
// it opens; until the first opening only the switch is enabled.
#pragma once

#include "platform/control/popup_menu.h"

namespace editor {

class TEditor;

class TEditorPopupMenu : public platform::TPopupMenu {
 public:
  // Made in two steps, so that a descendant's CreateMenuItems is the one
  // that runs: construct, then Build.
  TEditorPopupMenu() = default;
  // CreateMenuItems, and MenuPopup for every opening.
  void Build();
  TEditor* Editor() const { return FEditor; }
  void SetEditor(TEditor* editor) { FEditor = editor; }

  // The items in menu order; separators sit between undo/redo, the
  // clipboard group, select all and the box switch.
  platform::TMenuItem* UndoItem() const { return FUndoItem; }
  platform::TMenuItem* RedoItem() const { return FRedoItem; }
  platform::TMenuItem* CutItem() const { return FCutItem; }
  platform::TMenuItem* CopyItem() const { return FCopyItem; }
  platform::TMenuItem* PasteItem() const { return FPasteItem; }
  platform::TMenuItem* BoxPasteItem() const { return FBoxPasteItem; }
  platform::TMenuItem* DeleteItem() const { return FDeleteItem; }
  platform::TMenuItem* SelectAllItem() const { return FSelectAllItem; }
  platform::TMenuItem* BoxSelectModeItem() const { return FBoxSelectModeItem; }

 protected:
  virtual void UndoClick(platform::TObject* sender);
  virtual void RedoClick(platform::TObject* sender);
  virtual void CutClick(platform::TObject* sender);
  virtual void CopyClick(platform::TObject* sender);
  virtual void PasteClick(platform::TObject* sender);
  virtual void BoxPasteClick(platform::TObject* sender);
  virtual void DeleteClick(platform::TObject* sender);
  virtual void SelectAllClick(platform::TObject* sender);
  virtual void BoxSelectModeClick(platform::TObject* sender);
  // Sets the enabled states and the check mark from the editor's state.
  virtual void MenuPopup(platform::TObject* sender);
  virtual void CreateMenuItems();

 private:
  using THandler = void (TEditorPopupMenu::*)(platform::TObject*);
  platform::TMenuItem* AddItem(const char* caption_utf8, const char* shortcut, THandler handler,
                               bool enabled);

  TEditor* FEditor = nullptr;  // not owned
  platform::TMenuItem* FUndoItem = nullptr;
  platform::TMenuItem* FRedoItem = nullptr;
  platform::TMenuItem* FCutItem = nullptr;
  platform::TMenuItem* FCopyItem = nullptr;
  platform::TMenuItem* FPasteItem = nullptr;
  platform::TMenuItem* FBoxPasteItem = nullptr;
  platform::TMenuItem* FDeleteItem = nullptr;
  platform::TMenuItem* FSelectAllItem = nullptr;
  platform::TMenuItem* FBoxSelectModeItem = nullptr;
};

}  // namespace editor
