// The marks the editor can draw: the end-of-file mark, the line-break mark
// and the underline of the caret row, each with its colour.
#pragma once

#include <memory>
#include <tuple>

#include "platform/colour.h"
#include "platform/notify_persistent.h"

namespace editor {

class TEditorMark : public platform::TNotifyPersistent {
 public:
  platform::TColor Color() const { return FColor; }
  bool Visible() const { return FVisible; }
  void SetColor(platform::TColor value) { ChangeField(FColor, value); }
  void SetVisible(bool value) { ChangeField(FVisible, value); }

  void Assign(const platform::TPersistent* source) override;

 private:
  platform::TColor FColor = platform::clGray;
  bool FVisible = false;

  static constexpr auto Fields() {
    return std::tuple{&TEditorMark::FColor, &TEditorMark::FVisible};
  }
};

class TEditorMarks : public platform::TNotifyPersistent {
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

  // Each mark copies with its own Assign.
  static constexpr auto Fields() {
    return std::tuple{&TEditorMarks::FEofMark, &TEditorMarks::FRetMark, &TEditorMarks::FUnderline};
  }
};

}  // namespace editor
