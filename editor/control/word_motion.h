// Word movement, indentation and the token at a position, worked out over the
// rows alone. The control hands in its rows and its column rules (tab width,
// wrapping, delimiters), so these are free of any window and tested alone.
#pragma once

#include <string>

#include "editor/colour/token_queries.h"
#include "editor/text/column_map.h"
#include "editor/text/row_end_kind.h"

namespace editor {

class TEditorScreenStrings;

// The end kind of `row` as the control sees it: an index outside the list
// counts as the end of the text.
TRowEndKind RowEndKindOf(const TEditorScreenStrings& rows, int row);

// The tab-expanded text of `row`, empty outside the list.
std::string RowDisplayText(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                           int row);

// Moves (row, col) to the start of the next word (direction +1) or the
// previous one (any other direction), stepping over blanks and symbols and
// across row ends. True when the position changed; the caller places the
// caret there.
bool WordJump(const TEditorScreenStrings& rows, const TColumnMapSettings& settings, int& row,
              int& col, int direction);

// Width of the blanks that start the nearest non-empty line above the line
// holding `row` (a space 1, a full-width space 2); 0 in the first line and
// -1 when every line above is empty.
int PrevLineIndent(const TEditorScreenStrings& rows, const TColumnMapSettings& settings, int row);

// The token holding byte `byte` of `row`, searched in the row's whole
// logical line so that a token broken over wrapped rows is found whole.
struct TLineToken {
  TTokenAt token;      // token.pos counts from the start of the line
  int first_row = -1;  // the line's first row; -1 when nothing was found
};

// With `use_state` the line starts in the bracket state stored for its first
// row; without, regions are not recognised. A row outside the list, a byte
// in blanks or past the row's end find nothing.
TLineToken TokenAtRowByte(const TEditorScreenStrings& rows, int row, int byte,
                          TEditorParserClass parser_class, const TEditorParserOwner* editor,
                          bool use_state);

}  // namespace editor
