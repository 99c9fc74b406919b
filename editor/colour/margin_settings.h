// The blank space the editor leaves around its text, and room under each
// row for the underline of the caret row.
#pragma once

#include <tuple>

#include "platform/notify_persistent.h"

namespace editor {

class TEditorMargin : public platform::TNotifyPersistent {
 public:
  // Extra pixels between characters, at most 100.
  int Character() const { return FCharacter; }
  int Left() const { return FLeft; }
  // Extra pixels between rows.
  int Line() const { return FLine; }
  int Top() const { return FTop; }
  // Set by the control to 1 while the underline is shown, else 0; it is
  // part of the row height. Written without a notification: the control sets
  // it while it handles one.
  int UnderlineHeight() const { return FUnderlineHeight; }

  void SetCharacter(int value);
  void SetLeft(int value) { ChangeField(FLeft, value); }
  void SetLine(int value) { ChangeField(FLine, value); }
  void SetTop(int value) { ChangeField(FTop, value); }
  void SetUnderlineHeight(int value) { FUnderlineHeight = value; }

  void Assign(const platform::TPersistent* source) override;

 private:
  int FCharacter = 0;
  int FLeft = 19;
  int FLine = 0;
  int FTop = 2;
  int FUnderlineHeight = 0;

  // What Assign copies, as it stands: a stored layout is taken whole.
  static constexpr auto Fields() {
    return std::tuple{&TEditorMargin::FCharacter, &TEditorMargin::FLeft, &TEditorMargin::FLine,
                      &TEditorMargin::FTop, &TEditorMargin::FUnderlineHeight};
  }
};

}  // namespace editor
