#include "editor/colour/token_queries.h"

#include <memory>

namespace editor {

bool IsReserveWord(const platform::TStringList& words, std::string_view token) {
  if (words.Count() == 0) return false;
  int index = 0;
  return words.Find(token, index);
}

const TEditorColor* TokenColor(const TEditorParserOwner& editor, const TEditorParser& parser) {
  const TEditorColors& colors = editor.View().Colors();
  // Kinds whose text may be a reserved word, with the slot they take otherwise.
  auto unless_reserved = [&](TEditorColor& slot) -> const TEditorColor* {
    return IsReserveWord(editor.ReserveWordList(), parser.TokenView()) ? &colors.Reserve() : &slot;
  };
  switch (parser.Token()) {
    case tkSymbol:
      return unless_reserved(colors.Symbol());
    case tkString:
      return &colors.Str();
    case tkInteger:
    case tkReal:
      return &colors.Int();
    case tkBracket: {
      const TEditorBracketCollection& brackets = editor.View().Brackets();
      const int index = parser.BracketIndex();
      if (index < 0 || index >= brackets.Count()) return nullptr;
      return &brackets.Items(index)->ItemColor();
    }
    case tkComment:
      return &colors.Comment();
    case tkAnkWord:
      return unless_reserved(colors.Ank());
    case tkDbcsSymbol:
    case tkWideDigits:
    case tkWideLetters:
    case tkHiragana:
    case tkKatakana:
    case tkKanji:
    case tkHalfPunct:
    case tkHalfKana:
      return unless_reserved(colors.DBCS());
    case tkUrl:
      return unless_reserved(colors.Url());
    case tkMail:
      return unless_reserved(colors.Mail());
    case tkTab:
    case tkEnd:
      break;
  }
  return nullptr;
}

int BracketStateAfter(TEditorParserClass parser_class, const TEditorParserOwner* editor,
                      std::string_view row, int start_state) {
  std::unique_ptr<TEditorParser> parser = parser_class(editor, row, start_state);
  while (parser->Token() != tkEnd) parser->NextToken();
  return parser->BracketState();
}

TTokenAt TokenAt(TEditorParserClass parser_class, const TEditorParserOwner* editor,
                 std::string_view line, int offset, int bracket_state) {
  std::unique_ptr<TEditorParser> parser = parser_class(editor, line, bracket_state);
  for (; parser->Token() != tkEnd; parser->NextToken()) {
    const int pos = parser->SourcePos();
    if (pos > offset) break;  // the offset lies in blanks before this token
    if (offset < pos + parser->TokenLength()) {
      return {parser->Token(), parser->TokenString(), pos};
    }
  }
  return {};
}

}  // namespace editor
