// What the line view needs of the control that owns it: the rows it shows,
// and the caret, the selection and the screen, which every line operation
// moves, cancels or holds still. The editor control implements this; tests
// bring a small owner of their own.
#pragma once

namespace editor {

class TEditorScreenStrings;

class TEditorStringsOwner {
 public:
  virtual ~TEditorStringsOwner() = default;

  // The screen-row list the owner shows; it may change when the owner starts
  // showing another control's rows, so it is asked for each time.
  virtual TEditorScreenStrings& ScreenStrings() const = 0;

  virtual void CancelSelection() = 0;
  // Puts the caret at the text offset `offset` counted from the start of
  // `row` (a line break counts two bytes).
  virtual void PlaceCaretAtOffset(int row, int offset) = 0;
  virtual void SetCaretRow(int row) = 0;
  virtual void SetCaretCol(int col) = 0;

  // Around a batch of line operations: the owner hides its caret and its
  // caret-row underline and holds its caret placement, and switches its
  // window's redraw off while it is visible. The end undoes all of that and
  // brings the caret up to date.
  virtual void BeginLinesUpdate() = 0;
  virtual void EndLinesUpdate() = 0;
  // Whether the owner is shown: then every client of the rows is refreshed
  // when a batch ends.
  virtual bool Visible() const = 0;
};

}  // namespace editor
