// What a control that shows text tells a screen reader. The control keeps
// its text in its own form; here it answers in Unicode: offsets count UTF-16
// code units of the whole text, whose lines are joined by "\n". Coordinates
// are the control's client coordinates.
#pragma once

#include <string>

#include "platform/control/geometry.h"

namespace platform {

class TAccessibleText {
 public:
  virtual ~TAccessibleText() = default;

  // The text.
  virtual int AccessibleLength() const = 0;
  // The characters from `start` to `end` (clamped to the text).
  virtual std::u16string AccessibleTextRange(int start, int end) const = 0;
  // The line that holds `offset`: from its first character to its end, the
  // "\n" after it not included (an offset on that "\n" is in the line).
  virtual void AccessibleLineAt(int offset, int& start, int& end) const = 0;

  // The caret and the selection (start < end while something is selected).
  virtual int AccessibleCaret() const = 0;
  virtual void SetAccessibleCaret(int offset) = 0;
  virtual bool AccessibleSelection(int& start, int& end) const = 0;
  // Selects from `start` to `end`, the caret at `end`; start == end clears.
  virtual void SetAccessibleSelection(int start, int end) = 0;

  // The cell of the character at `offset`; empty when there is none.
  virtual TRect AccessibleCharRect(int offset) const = 0;
  // The offset of the character under a point; -1 for none.
  virtual int AccessibleOffsetAt(TPoint point) const = 0;
  // Brings the character at `offset` into view.
  virtual void AccessibleScrollTo(int offset) = 0;

  // Editing; a read-only control refuses it.
  virtual bool AccessibleReadOnly() const = 0;
  // Replaces the characters from `start` to `end` with `text`; answers
  // whether it did (a character without a form in the control's text is
  // refused as typing refuses it).
  virtual bool AccessibleReplace(int start, int end, const std::u16string& text) = 0;
};

}  // namespace platform
