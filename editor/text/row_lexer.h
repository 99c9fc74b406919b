// What the screen-row list needs of a lexer to keep each row's bracket state
// (the region, a block comment say, that is still open where the row starts):
// the head of a row that a wrapped token runs on into, and the state a row
// leaves for the next one. The colouring lexer implements it; the list gets
// one from its first client, so the text itself knows nothing of colouring.
#pragma once

#include <string_view>

namespace editor {

// Bracket states a row can start with; any other is the index of an open region.
inline constexpr int kBracketsUnknown = -2;  // not computed, or regions not recognised
inline constexpr int kNoBracketOpen = -1;

class TRowLexer {
 public:
  virtual ~TRowLexer() = default;

  // Starts over on `text` in `bracket_state`, keeping the lexer's buffers, so
  // that a pass over many rows allocates nothing per row.
  virtual void Reset(std::string_view text, int bracket_state) = 0;
  // Freshly started: the length of the text's head, the bytes before the
  // first token that does not begin at its first byte.
  virtual int HeadLength() = 0;
  // Scans the rest of the text and gives the bracket state after it.
  virtual int EndBracketState() = 0;
};

}  // namespace editor
