// Words and tokens at a position: the caret's jumps from word to word, the
// indentation a new line takes, and the token under a point or the caret,
// which the main window reads to open web and mail addresses.
#include "editor/control/editor.h"
#include "editor/control/word_motion.h"

namespace editor {

bool TEditor::WordJump(int& row, int& col, int direction) const {
  return ::editor::WordJump(*FScreenStrings, ColumnMapSettings(), row, col, direction);
}

int TEditor::PrevLineIndent(int row) const {
  return ::editor::PrevLineIndent(*FScreenStrings, ColumnMapSettings(), row);
}

namespace {

// The token under a client point of `control`, searched in the whole
// logical line of that row.
TLineToken TokenUnder(const TEditor& control, platform::TPoint point,
                      const TEditorParserOwner* editor, bool use_state) {
  int row = 0;
  int byte = 0;
  if (!control.PointToRowByte(point, row, byte)) return {};
  return TokenAtRowByte(control.ScreenStrings(), row, byte, control.ParserClass(), editor,
                        use_state);
}

// Where the caret stands on screen: the system caret's place, or where it
// would be placed while the control has none (without the focus).
platform::TPoint CaretPoint(const TEditor& control) {
  platform::TPoint point;
  if (control.GetCaretPos(point)) return point;
  return control.CaretPixelPos();
}

}  // namespace

void TEditor::GetTokenAt(platform::TPoint point, const TEditorParserOwner* editor,
                         std::string& text, bool use_state, TTokenKind& kind) const {
  const TLineToken found = TokenUnder(*this, point, editor, use_state);
  text = found.token.text;
  kind = found.token.kind;
}

void TEditor::SelectTokenAt(platform::TPoint point, const TEditorParserOwner* editor,
                            bool use_state) {
  const TLineToken found = TokenUnder(*this, point, editor, use_state);
  if (found.first_row < 0) return;
  // Selecting by length starts from an active selection's start: that
  // selection has to go first.
  ClearSelection();
  SetRowOffset(found.first_row, found.token.pos);
  SetSelLength(static_cast<int>(found.token.text.size()));
}

TTokenKind TEditor::TokenKindFromPos(platform::TPoint point) const {
  std::string text;
  TTokenKind kind = tkEnd;
  GetTokenAt(point, this, text, false, kind);
  return kind;
}

void TEditor::TokenFromPos(platform::TPoint point, std::string& text) const {
  TTokenKind kind = tkEnd;
  GetTokenAt(point, this, text, false, kind);
}

TTokenKind TEditor::TokenKindFromCaret() const {
  return TokenKindFromPos(CaretPoint(*this));
}

void TEditor::TokenFromCaret(std::string& text) const {
  TokenFromPos(CaretPoint(*this), text);
}

void TEditor::SelectTokenFromCaret() {
  SelectTokenFromPos(CaretPoint(*this));
}

void TEditor::SelectTokenFromPos(platform::TPoint point) {
  SelectTokenAt(point, this, false);
}

}  // namespace editor
