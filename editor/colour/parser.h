// The colouring lexer: cuts one row (or one logical line) of CP932 text into
// tokens and gives each a kind. Painting colours the tokens, word movement
// steps over them, and the token under the caret or pointer tells whether it
// is a web or mail address. Bracket regions (a block comment, say) may run
// over rows, so the lexer also tells the bracket state the next row starts
// with.
//
// Use: construct (the first token is then ready), use Token() and call
// NextToken() until it gives tkEnd. Scanning never fails: whatever no rule
// takes becomes a one-byte symbol, and every token but tkEnd holds at least
// one byte.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "editor/colour/parser_owner.h"
#include "editor/colour/token_kind.h"
#include "editor/text/row_lexer.h"

namespace editor {

// The bracket states (kNoBracketOpen, kBracketsUnknown) come with the row
// lexer the screen-row list drives; this lexer is the one it is given.
class TEditorParser : public platform::TObject, public TRowLexer {
 public:
  // A bare lexer: only the rules that need no settings.
  explicit TEditorParser(std::string_view text);
  // A lexer for `editor`, whose view settings add brackets, addresses,
  // comments, strings, hex numbers and control codes. `bracket_state` is
  // the state the text starts in: the index of an open region, kNoBracketOpen,
  // or kBracketsUnknown to leave regions unrecognised.
  TEditorParser(const TEditorParserOwner* editor, std::string_view text, int bracket_state);
  TEditorParser(const TEditorParser&) = delete;
  TEditorParser& operator=(const TEditorParser&) = delete;

  // Starts over on another text with the same owner, keeping the buffer, so
  // that a pass over many rows allocates nothing per row. Reads the owner's
  // settings afresh.
  void Reset(std::string_view text, int bracket_state) override;

  // What the screen-row list asks, see TRowLexer.
  int HeadLength() override;
  int EndBracketState() override;

  // Scans the next token and returns its kind.
  virtual TTokenKind NextToken();

  TTokenKind Token() const { return FToken; }
  // Offset of the current token from the start of the text, from 0.
  int SourcePos() const { return static_cast<int>(FTokenPtr - Start()); }
  int TokenLength() const { return static_cast<int>(FSourcePtr - FTokenPtr); }
  std::string TokenString() const { return std::string(TokenView()); }
  // The current token's bytes, valid until the next Reset.
  std::string_view TokenView() const {
    return {reinterpret_cast<const char*>(FTokenPtr), static_cast<size_t>(TokenLength())};
  }
  // After the last token: the bracket state the next row starts with.
  int BracketState() const { return FBracketState; }
  // The region item of the current tkBracket token.
  int BracketIndex() const { return FBracketIndex; }
  const TEditorParserOwner* Editor() const { return FEditor; }

 protected:
  using Byte = unsigned char;

  // Steps over control bytes and spaces (not NUL, not tab): they belong to
  // no token.
  virtual void SkipBlanks();
  // Rescans from the start of the text. A descendant calls it from its own
  // constructor so that the first token already follows its rules.
  void Restart();

  const Byte* Start() const { return FStart; }
  // The closing NUL after the text.
  const Byte* End() const { return FStart + FLength; }

  const Byte* FSourcePtr = nullptr;  // end of the current token, where the scan goes on
  const Byte* FTokenPtr = nullptr;   // start of the current token
  TTokenKind FToken = tkEnd;
  int FBracketState = kBracketsUnknown;
  int FBracketIndex = kBracketsUnknown;

 private:
  // The owner's settings, read once per text so that the rules cost no
  // lookups per token.
  // A set of byte values, cheap to build per row and to test per token.
  struct ByteMask {
    std::uint64_t bits[4] = {};
    constexpr void Set(Byte b) { bits[b >> 6] |= std::uint64_t{1} << (b & 63); }
    constexpr bool Test(Byte b) const { return (bits[b >> 6] >> (b & 63)) & 1; }
    constexpr void Add(const ByteMask& other) {
      for (int i = 0; i < 4; ++i) bits[i] |= other.bits[i];
    }
  };

  // The owner's settings, read once per text so that the rules cost no
  // lookups per token.
  struct Rules {
    bool mail = false;
    bool url = false;
    bool control_code = false;
    int quote = -1;  // the quote byte, or -1
    std::string_view commenter;
    std::string_view hex_prefix;
    int bracket_count = 0;
    // Left uninitialised beyond bracket_count: a lexer is made per row, and
    // clearing them would cost more than scanning a short row.
    const TEditorBracketItem* brackets[14];
    // The bytes at which any rule but the mail rule can start.
    ByteMask starts;
  };

  void ReadRules();
  void Load(std::string_view text, int bracket_state);
  // The rules that need the owner's settings: the end of the token, or nil
  // when none takes the text.
  const Byte* ScanOwnerRules(const Byte* p, TTokenKind& kind);
  // The end of region `index` from `p`: after its right bracket, or the end
  // of the row, where the region stays open.
  const Byte* ScanRegion(const Byte* p, int index);
  // The end of the mail address that starts at `p`, or nil.
  const Byte* ScanMail(const Byte* p);

  const TEditorParserOwner* FEditor = nullptr;
  // The copy of the text and one NUL after it: in the lexer itself for
  // short rows (most of them), so that making a lexer per row allocates
  // nothing; on the heap, kept across Reset, for longer ones.
  static constexpr std::size_t kInlineBytes = 256;
  Byte FInline[kInlineBytes];
  std::unique_ptr<Byte[]> FHeap;
  std::size_t FHeapBytes = 0;
  const Byte* FStart = FInline;
  std::size_t FLength = 0;
  int FStartBracketState = kBracketsUnknown;
  Rules FRules;
  // The bytes at which a rule of the owner can start in this text: the mail
  // rule only counts in a text that holds an "@". Other bytes go straight to
  // the rules that need no settings.
  ByteMask FStarts;
  // A failed mail scan covers its whole run of address bytes: no later token
  // start before this point can be an address, so the run is not scanned again.
  const Byte* FMailFailEnd = nullptr;
  // The next "@" at or after the last mail scan, or the end of the text.
  const Byte* FNextAt = nullptr;
};

// Makes a lexer of some class for an owner, a text and a start state; the
// control keeps one to colour rows and find tokens.
using TEditorParserClass = std::unique_ptr<TEditorParser> (*)(const TEditorParserOwner* editor,
                                                              std::string_view text,
                                                              int bracket_state);

template <class Parser>
std::unique_ptr<TEditorParser> CreateParser(const TEditorParserOwner* editor, std::string_view text,
                                            int bracket_state) {
  return std::make_unique<Parser>(editor, text, bracket_state);
}

inline constexpr TEditorParserClass kDefaultParserClass = &CreateParser<TEditorParser>;

}  // namespace editor
