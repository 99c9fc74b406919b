// The marks the editor can draw: the end-of-file mark, the line-break mark
// and the underline of the caret row, each with its colour.
#pragma once

#include <memory>

#include "editor/colour/notify_persistent.h"
#include "platform/colour.h"

namespace editor {

class TEditorMark : public TNotifyPersistent {
 public:
  platform::TColor Color() const { return FColor; }
  bool Visible() const { return FVisible; }
  void SetColor(platform::TColor value) { ChangeField(FColor, value); }
  void SetVisible(bool value) { ChangeField(FVisible, value); }

  void Assign(const platform::TPersistent* source) override;

 private:
  platform::TColor FColor = platform::clGray;
  bool FVisible = false;
};

class TEditorMarks : public TNotifyPersistent {
 public:
  TEditorMarks();

  TEditorMark& EofMark() const { return *FEofMark; }
  TEditorMark& RetMark() const { return *FRetMark; }
  TEditorMark& Underline() const { return *FUnderline; }
  // Writing a mark copies into the one the marks own.
  void SetEofMark(const TEditorMark& value) { FEofMark->Assign(&value); }
  void SetRetMark(const TEditorMark& value) { FRetMark->Assign(&value); }
  void SetUnderline(const TEditorMark& value) { FUnderline->Assign(&value); }

  void Assign(const platform::TPersistent* source) override;

 private:
  std::unique_ptr<TEditorMark> FEofMark;
  std::unique_ptr<TEditorMark> FRetMark;
  std::unique_ptr<TEditorMark> FUnderline;
};

}  // namespace editor
