// The kinds of token the colouring lexer cuts a row into. The numbers are
// fixed: descendant lexers and the colour table use them, and 5, 10 and 13
// are free.
#pragma once

namespace editor {

enum TTokenKind : unsigned char {
  tkEnd = 0,          // nothing left but blanks
  tkSymbol = 1,       // one byte no other rule takes
  tkString = 2,       // a quoted string, or a control code such as #13 or #$0D
  tkInteger = 3,      // decimal digits, or a hex-prefixed number
  tkReal = 4,         // a number with a fraction or an exponent
  tkBracket = 6,      // a bracket region, or its part in this row
  tkComment = 7,      // from the comment start to the end of the row
  tkAnkWord = 8,      // a letter or "_" and the letters, digits and "_" after it
  tkTab = 9,          // one tab byte
  tkDbcsSymbol = 11,  // a full-width symbol, a run of Greek, a run of rules and box parts
  tkWideDigits = 12,  // full-width digits with full-width comma and full stop
  tkWideLetters = 14,
  tkHiragana = 15,
  tkKatakana = 16,
  tkKanji = 17,
  tkHalfPunct = 18,  // one half-width punctuation byte
  tkHalfKana = 19,   // a run of half-width katakana
  tkUrl = 20,
  tkMail = 21,
};

}  // namespace editor
