// How the caret moves, indents and selects, and which pointer shapes the
// editor shows in its different places.
#pragma once

#include <memory>
#include <tuple>

#include "platform/cursor_index.h"
#include "platform/notify_persistent.h"

namespace editor {

// Where the program's own two cursor images were registered at start-up.
struct TEditorCursorImages {
  platform::TCursor LeftMargin = 1;   // the "RightArrow" image
  platform::TCursor DragSelCopy = 2;  // the "DragSelCopy" image
};

// Five pointer shapes, as indexes into the cursor table. Written directly:
// a change takes effect at the next use and notifies nobody.
class TEditorCursors : public platform::TNotifyPersistent {
 public:
  explicit TEditorCursors(TEditorCursorImages images = {})
      : FDragSelCopyCursor(images.DragSelCopy), FLeftMarginCursor(images.LeftMargin) {}

  platform::TCursor DefaultCursor() const { return FDefaultCursor; }
  platform::TCursor DragSelCursor() const { return FDragSelCursor; }
  platform::TCursor DragSelCopyCursor() const { return FDragSelCopyCursor; }
  platform::TCursor InSelCursor() const { return FInSelCursor; }
  platform::TCursor LeftMarginCursor() const { return FLeftMarginCursor; }
  void SetDefaultCursor(platform::TCursor value) { FDefaultCursor = value; }
  void SetDragSelCursor(platform::TCursor value) { FDragSelCursor = value; }
  void SetDragSelCopyCursor(platform::TCursor value) { FDragSelCopyCursor = value; }
  void SetInSelCursor(platform::TCursor value) { FInSelCursor = value; }
  void SetLeftMarginCursor(platform::TCursor value) { FLeftMarginCursor = value; }

  void Assign(const platform::TPersistent* source) override;

 private:
  platform::TCursor FDefaultCursor = platform::crIBeam;
  platform::TCursor FDragSelCursor = platform::crDrag;
  platform::TCursor FDragSelCopyCursor;
  platform::TCursor FInSelCursor = platform::crDefault;
  platform::TCursor FLeftMarginCursor;

  static constexpr auto Fields() {
    return std::tuple{&TEditorCursors::FDefaultCursor, &TEditorCursors::FDragSelCursor,
                      &TEditorCursors::FDragSelCopyCursor, &TEditorCursors::FInSelCursor,
                      &TEditorCursors::FLeftMarginCursor};
  }
};

enum TDragMode { dmManual, dmAutomatic };
enum TEditorCaretStyle { csDefault, csBrief };

// Caret behaviour. Only Style and TabSpaceCount notify; the other settings
// are read where they are used and take effect at the next use.
class TEditorCaret : public platform::TNotifyPersistent {
 public:
  explicit TEditorCaret(TEditorCursorImages images = {});

  bool AutoCursor() const { return FAutoCursor; }
  bool AutoIndent() const { return FAutoIndent; }
  TEditorCursors& Cursors() const { return *FCursors; }
  bool FreeCaret() const { return FFreeCaret; }
  bool InTab() const { return FInTab; }
  bool KeepCaret() const { return FKeepCaret; }
  bool LockScroll() const { return FLockScroll; }
  bool NextLine() const { return FNextLine; }
  bool PrevSpaceIndent() const { return FPrevSpaceIndent; }
  bool RowSelect() const { return FRowSelect; }
  TDragMode SelDragMode() const { return FSelDragMode; }
  bool SelMove() const { return FSelMove; }
  bool SoftTab() const { return FSoftTab; }
  TEditorCaretStyle Style() const { return FStyle; }
  bool TabIndent() const { return FTabIndent; }
  int TabSpaceCount() const { return FTabSpaceCount; }

  void SetAutoCursor(bool value) { FAutoCursor = value; }
  void SetAutoIndent(bool value) { FAutoIndent = value; }
  // Hands the caret another cursor set, which it then owns; nil is ignored.
  void SetCursors(std::unique_ptr<TEditorCursors> value);
  void SetFreeCaret(bool value) { FFreeCaret = value; }
  void SetInTab(bool value) { FInTab = value; }
  void SetKeepCaret(bool value) { FKeepCaret = value; }
  void SetLockScroll(bool value) { FLockScroll = value; }
  void SetNextLine(bool value) { FNextLine = value; }
  void SetPrevSpaceIndent(bool value) { FPrevSpaceIndent = value; }
  void SetRowSelect(bool value) { FRowSelect = value; }
  void SetSelDragMode(TDragMode value) { FSelDragMode = value; }
  void SetSelMove(bool value) { FSelMove = value; }
  void SetSoftTab(bool value) { FSoftTab = value; }
  void SetStyle(TEditorCaretStyle value) { ChangeField(FStyle, value); }
  void SetTabIndent(bool value) { FTabIndent = value; }
  // Only even widths from 2 to 8: the value is clamped, then an odd one is
  // lowered by one.
  void SetTabSpaceCount(int value);

  void Assign(const platform::TPersistent* source) override;

 private:
  bool FAutoCursor = true;
  bool FAutoIndent = true;
  std::unique_ptr<TEditorCursors> FCursors;
  bool FFreeCaret = true;
  bool FInTab = false;
  bool FKeepCaret = false;
  bool FLockScroll = false;
  bool FNextLine = false;
  bool FPrevSpaceIndent = false;
  bool FRowSelect = true;
  TDragMode FSelDragMode = dmAutomatic;
  bool FSelMove = true;
  bool FSoftTab = false;
  TEditorCaretStyle FStyle = csDefault;
  bool FTabIndent = false;
  int FTabSpaceCount = 8;

  // What Assign copies. The cursors copy with their own Assign; TabSpaceCount
  // is taken as it stands: a value from a stored layout is not clamped again.
  static constexpr auto Fields() {
    using C = TEditorCaret;
    return std::tuple{&C::FAutoCursor,      &C::FAutoIndent, &C::FCursors,     &C::FFreeCaret,
                      &C::FInTab,           &C::FKeepCaret,  &C::FLockScroll,  &C::FNextLine,
                      &C::FPrevSpaceIndent, &C::FRowSelect,  &C::FSelDragMode, &C::FSelMove,
                      &C::FSoftTab,         &C::FStyle,      &C::FTabIndent,   &C::FTabSpaceCount};
  }
};

}  // namespace editor
