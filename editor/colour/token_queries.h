// What the rest of the editor asks of the lexer: the colour a token is
// painted with, whether a token is a reserved word, the bracket state after
// a row, and the token at a byte offset of a line.
#pragma once

#include <string>
#include <string_view>

#include "editor/colour/parser.h"

namespace editor {

// True when the whole token is in the sorted word list, letter case ignored
// as the user's locale ignores it.
bool IsReserveWord(const platform::TStringList& words, std::string_view token);

// The colour slot the parser's current token is painted with; nil for a tab
// (and for the end), which take the control's own colours, and for a
// bracket token whose region is gone.
const TEditorColor* TokenColor(const TEditorParserOwner& editor, const TEditorParser& parser);

// The bracket state the row after `row` starts with, when `row` starts in
// `start_state`.
int BracketStateAfter(TEditorParserClass parser_class, const TEditorParserOwner* editor,
                      std::string_view row, int start_state);

struct TTokenAt {
  TTokenKind kind = tkEnd;
  std::string text;
  int pos = -1;  // the token's first byte in the line, or -1 for none
};

// The token that holds byte `offset` (from 0) of `line`, a whole logical
// line. Regions are recognised only when `bracket_state` is the state the
// line starts in; kBracketsUnknown leaves them out. Blanks and the end give
// tkEnd with an empty text.
TTokenAt TokenAt(TEditorParserClass parser_class, const TEditorParserOwner* editor,
                 std::string_view line, int offset, int bracket_state = kBracketsUnknown);

}  // namespace editor
