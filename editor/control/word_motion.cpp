#include "editor/control/word_motion.h"

#include <optional>

#include "editor/colour/parser.h"
#include "editor/text/dbcs.h"
#include "editor/text/screen_strings.h"

namespace editor {

TRowEndKind RowEndKindOf(const TEditorScreenStrings& rows, int row) {
  if (row < 0 || row >= rows.GetCount()) return rkEof;
  return rows.EndKinds(row);
}

std::string RowDisplayText(const TEditorScreenStrings& rows, const TColumnMapSettings& settings,
                           int row) {
  if (row < 0 || row >= rows.GetCount()) return {};
  return DisplayText(rows.RowText(row), settings);
}

namespace {

// Word starts: every token but a symbol. Blanks make no token at all. The
// display text is scanned, so a token's offset is its column.
bool IsWordToken(TTokenKind kind) {
  return kind != tkSymbol;
}

// The first word starting after column `col`, if any.
std::optional<int> NextWordStart(const std::string& text, int col) {
  for (TEditorParser parser(text); parser.Token() != tkEnd; parser.NextToken()) {
    if (IsWordToken(parser.Token()) && parser.SourcePos() > col) return parser.SourcePos();
  }
  return std::nullopt;
}

// The last word starting before column `col`, if any.
std::optional<int> PrevWordStart(const std::string& text, int col) {
  std::optional<int> last;
  for (TEditorParser parser(text); parser.Token() != tkEnd; parser.NextToken()) {
    if (!IsWordToken(parser.Token())) continue;
    if (parser.SourcePos() >= col && last && *last < col) break;
    last = parser.SourcePos();
  }
  if (last && *last < col) return last;
  return std::nullopt;
}

void JumpForward(const TEditorScreenStrings& rows, const TColumnMapSettings& settings, int& row,
                 int& col) {
  std::string text = RowDisplayText(rows, settings, row);
  if (col >= static_cast<int>(text.size())) {
    // At the end of the text there is nowhere further to go: the row after
    // an rkEof row is no place for the caret.
    if (RowEndKindOf(rows, row) == rkEof) return;
    ++row;
    col = -1;
    text = RowDisplayText(rows, settings, row);
  }
  if (const std::optional<int> next = NextWordStart(text, col)) {
    col = *next;
  } else if (RowEndKindOf(rows, row) == rkWrap) {
    // A wrapped row's end is no stop of its own: the line goes on below.
    ++row;
    col = 0;
  } else {
    col = static_cast<int>(text.size());
  }
}

void JumpBackward(const TEditorScreenStrings& rows, const TColumnMapSettings& settings, int& row,
                  int& col) {
  if (col == 0) {
    if (row == 0) return;
    --row;
    col = static_cast<int>(RowDisplayText(rows, settings, row).size());
    // The end of the line above is a stop of its own.
    if (RowEndKindOf(rows, row) == rkReturn) return;
  }
  if (const std::optional<int> prev = PrevWordStart(RowDisplayText(rows, settings, row), col)) {
    col = *prev;
  } else if (row <= 0) {
    col = 0;
  } else {
    --row;
    col = static_cast<int>(RowDisplayText(rows, settings, row).size());
  }
}

}  // namespace

bool WordJump(const TEditorScreenStrings& rows, const TColumnMapSettings& settings, int& row,
              int& col, int direction) {
  const int count = rows.GetCount();
  if (row < 0 || row > count) return false;
  // The empty row after a final line break has no words to go forward to,
  // but going back from it reaches the line above.
  if (row == count && (direction == 1 || count == 0)) return false;
  const int old_row = row;
  const int old_col = col;
  if (direction == 1)
    JumpForward(rows, settings, row, col);
  else
    JumpBackward(rows, settings, row, col);
  return row != old_row || col != old_col;
}

int PrevLineIndent(const TEditorScreenStrings& rows, const TColumnMapSettings& settings, int row) {
  int result = 0;
  for (int a = rows.FirstRowOfLine(row) - 1; a >= 0; --a) {
    if (a > 0 && RowEndKindOf(rows, a - 1) != rkReturn) continue;  // not a line's first row
    result = LeadingSpaceWidth(RowDisplayText(rows, settings, a));
    if (result != -1) break;
  }
  return result;
}

TLineToken TokenAtRowByte(const TEditorScreenStrings& rows, int row, int byte,
                          TEditorParserClass parser_class, const TEditorParserOwner* editor,
                          bool use_state) {
  if (row < 0 || row >= rows.GetCount() || byte < 0 || byte >= rows.RowLength(row)) return {};
  const int first = rows.FirstRowOfLine(row);
  const int state = use_state ? rows.BracketStates(first) : kBracketsUnknown;
  int offset = byte;
  for (int r = first; r < row; ++r) offset += rows.RowLength(r);
  TLineToken found;
  found.token = TokenAt(parser_class, editor, rows.GetRowsText(first, -1), offset, state);
  if (found.token.pos >= 0) found.first_row = first;
  return found;
}

}  // namespace editor
