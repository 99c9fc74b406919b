// How a screen row ends. The values are shared with the control and stored
// in each row's data word, so they must not change.
#pragma once

namespace editor {

enum TRowEndKind : int {
  rkReturn = 0,  // the row ends its logical line; CR LF follows
  rkWrap = 1,    // the logical line goes on in the next row, nothing between
  rkEof = 2,     // the last row of the text, no line break after it
  rkNone = 3,    // a row index outside the list; in an undo step: nothing removed
};

}  // namespace editor
