// The editor's main window: the real TEditor control as its text area, with
// all of the control's own keys, mouse, wheel, scroll bars, input method,
// context menu, clipboard and dragging; a menu bar (ファイル, 編集, 表示) and a
// status line around it; and the file commands that open a Shift-JIS file
// and give it back byte for byte.
#pragma once

#include <QMainWindow>
#include <QString>
#include <memory>
#include <string>
#include <vector>

#include "editapp/document/text_document.h"
#include "editapp/window/edit_prompts.h"

class QAction;
class QLabel;
class QMenu;

namespace editor {
class TEditor;
}
namespace platform {
class TMenuItem;
}

namespace editapp {

class EditWindow : public QMainWindow {
 public:
  explicit EditWindow(std::unique_ptr<EditPrompts> prompts = std::make_unique<DialogPrompts>());
  ~EditWindow() override;

  // ---- file commands; each answers whether it did its work --------------------
  // A new, empty text, after the unsaved-changes question.
  bool NewFile();
  // The file (its name as the file system spells it), after the
  // unsaved-changes question. A file that cannot be opened leaves the text
  // as it was.
  bool OpenFile(const std::string& native_path);
  // The file dialog, then OpenFile.
  bool OpenWithDialog();
  // To the text's own file; a new text asks for a name.
  bool Save();
  // To a file chosen in the dialog, which the text then names.
  bool SaveAs();
  // The file named on the command line: opened when it exists, else a new
  // text that will be saved under that name.
  void Start(const std::string& native_path);

  // ---- edit commands beyond the control's own -----------------------------------
  void Find();
  // Again, forward or backward, with the last text found.
  void FindAgain(bool forward);
  void GoToLine();

  editor::TEditor& Editor() const { return *editor_; }
  const TTextDocument& Document() const { return document_; }
  // The text of the status line's fields, in order, separated by " | ".
  QString StatusText() const;
  // The text's name in the title and the questions.
  QString DisplayName() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  // A file dropped from a file manager is opened, after the unsaved-changes
  // question; anything else is refused.
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dropEvent(QDropEvent* event) override;
  // Keeps the control's widget as large as the window's text area.
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildMenus();
  void BuildFileMenu();
  void BuildEditMenu();
  void BuildViewMenu();
  void BuildStatusLine();
  // The control's own context-menu items, taken into the edit menu: the same
  // captions, shortcuts, enabled states and actions.
  void MirrorControlItems(QMenu* menu);
  void RefreshEditMenu();

  // True to go on: no changes, saved, or the user chose not to save.
  bool KeepChangesAnswered();
  bool LoadFile(const std::string& native_path);
  bool SaveTo(const std::string& native_path);
  void TextReplaced();
  // Where the undo history stands: the same number when undo or redo comes
  // back to the same text.
  std::uint64_t UndoState() const;
  // The text is saved (or fresh) as it stands in the undo history now.
  void MarkSaved();
  // Re-wrapping clears the undo history but not the text: an unchanged text
  // stays at the saved point.
  void Rewrapped();
  void UpdateTitle();
  void UpdateStatus();
  // The logical line of the caret, from 1.
  int CaretLine() const;

  std::unique_ptr<EditPrompts> prompts_;
  std::unique_ptr<editor::TEditor> editor_;
  TTextDocument document_;
  bool after_mark_answered_ = false;
  std::uint64_t saved_state_ = 0;
  QString last_find_;

  QMenu* edit_menu_ = nullptr;
  QAction* overwrite_action_ = nullptr;
  QAction* wrap_action_ = nullptr;
  struct MirroredItem {
    platform::TMenuItem* item;
    QAction* action;
  };
  std::vector<MirroredItem> mirrored_;
  QLabel* position_label_ = nullptr;
  QLabel* selection_label_ = nullptr;
  QLabel* overwrite_label_ = nullptr;
  QLabel* line_end_label_ = nullptr;
  QLabel* note_label_ = nullptr;
};

}  // namespace editapp
