#include "editor/colour/parser.h"

#include <algorithm>
#include <cstring>

#include "editor/text/dbcs.h"

namespace editor {

namespace {

using Byte = unsigned char;
using ByteSet = std::array<bool, 256>;

constexpr ByteSet MakeSet(std::initializer_list<std::pair<int, int>> ranges) {
  ByteSet set{};
  for (auto [from, to] : ranges) {
    for (int b = from; b <= to; ++b) set[b] = true;
  }
  return set;
}

// Control bytes but NUL and tab, and the space.
constexpr ByteSet kBlanks = MakeSet({{0x01, 0x08}, {0x0A, 0x20}});
constexpr ByteSet kLineEnds = MakeSet({{0x00, 0x00}, {0x0A, 0x0A}, {0x0D, 0x0D}});
constexpr ByteSet kDigits = MakeSet({{'0', '9'}});
constexpr ByteSet kHexDigits = MakeSet({{'0', '9'}, {'A', 'F'}, {'a', 'f'}});
constexpr ByteSet kWordStarts = MakeSet({{'A', 'Z'}, {'a', 'z'}, {'_', '_'}});
constexpr ByteSet kWordBytes = MakeSet({{'A', 'Z'}, {'a', 'z'}, {'_', '_'}, {'0', '9'}});

// What a mail address may hold: no number sign, quotes, parentheses,
// colon, angle or square brackets, backslash, back quote, braces or
// vertical bar. A plus sign belongs only to the part before the "@"
// (user+tag@example.com); it never starts an address (see ScanMail).
constexpr ByteSet kMailChars = MakeSet({{0x21, 0x21},
                                        {0x24, 0x26},
                                        {0x2A, 0x2A},
                                        {0x2C, 0x39},
                                        {0x3B, 0x3B},
                                        {0x3D, 0x3D},
                                        {0x3F, 0x5A},
                                        {0x5E, 0x5F},
                                        {0x61, 0x7A},
                                        {0x7E, 0x7E}});
// What a web address may hold after its prefix; no "@".
constexpr ByteSet kUrlChars = MakeSet({{0x23, 0x23},
                                       {0x25, 0x26},
                                       {0x2B, 0x2B},
                                       {0x2D, 0x3A},
                                       {0x3D, 0x3D},
                                       {0x3F, 0x3F},
                                       {0x41, 0x5A},
                                       {0x5F, 0x5F},
                                       {0x61, 0x7A},
                                       {0x7E, 0x7E}});

constexpr bool InRange(Byte b, Byte from, Byte to) {
  return b >= from && b <= to;
}

// True when `pattern` stands at `p`, byte for byte. The text's closing NUL
// never matches, so a match never reaches past the end.
bool MatchAt(const Byte* p, std::string_view pattern) {
  for (size_t i = 0; i < pattern.size(); ++i) {
    if (p[i] == 0 || p[i] != static_cast<Byte>(pattern[i])) return false;
  }
  return true;
}

// One double-byte character; a lead byte that ends the text is taken alone.
void StepDoubleByte(const Byte*& p) {
  p += p[1] != 0 ? 2 : 1;
}

// One character of either width.
void StepChar(const Byte*& p) {
  if (IsLeadByte(*p)) {
    StepDoubleByte(p);
  } else {
    ++p;
  }
}

bool IsWideDigit(const Byte* p) {
  return (p[0] == 0x82 && InRange(p[1], 0x4F, 0x58)) ||
         (p[0] == 0x81 && (p[1] == 0x43 || p[1] == 0x44));  // full-width comma, full stop
}
bool IsWideLetter(const Byte* p) {
  return p[0] == 0x82 && InRange(p[1], 0x60, 0x9A);
}
// The long-vowel sign and the full-width minus, which run on with kana.
bool IsKanaMark(const Byte* p) {
  return p[0] == 0x81 && (p[1] == 0x5B || p[1] == 0x7C);
}
bool IsHiragana(const Byte* p) {
  return (p[0] == 0x82 && InRange(p[1], 0x9F, 0xF1)) || IsKanaMark(p);
}
bool IsKatakana(const Byte* p) {
  return (p[0] == 0x83 && InRange(p[1], 0x40, 0x96)) || IsKanaMark(p);
}
bool IsGreek(const Byte* p) {
  return p[0] == 0x83 && InRange(p[1], 0x9F, 0xF0);
}
constexpr bool IsRuleLead(Byte b) {
  return InRange(b, 0x84, 0x87);
}
constexpr bool IsKanjiLead(Byte b) {
  return InRange(b, 0x88, 0x9F) || InRange(b, 0xE0, 0xFC);
}

// A run of double-byte characters that `belongs` accepts, the first included.
template <class Belongs>
void StepRun(const Byte*& p, Belongs belongs) {
  do {
    StepDoubleByte(p);
  } while (*p != 0 && belongs(p));
}

// "E" or "e", then a sign and any digits, or digits, or nothing more.
void StepExponent(const Byte*& p) {
  ++p;
  if (*p == '+' || *p == '-') ++p;
  while (kDigits[*p]) ++p;
}

// What the first byte of a token decides when no setting takes it.
enum FirstByteClass : Byte {
  kSymbolByte,
  kTabByte,
  kDigitByte,
  kWordStartByte,
  kLead81,
  kLead82,
  kLead83,
  kRuleLeadByte,
  kKanjiLeadByte,
  kHalfPunctByte,
  kHalfKanaByte,
};

constexpr std::array<FirstByteClass, 256> MakeFirstByteClasses() {
  std::array<FirstByteClass, 256> classes{};
  for (int b = 0; b < 256; ++b) {
    const auto c = static_cast<Byte>(b);
    FirstByteClass k = kSymbolByte;
    if (c == 0x09) {
      k = kTabByte;
    } else if (kDigits[c]) {
      k = kDigitByte;
    } else if (kWordStarts[c]) {
      k = kWordStartByte;
    } else if (c == 0x81) {
      k = kLead81;
    } else if (c == 0x82) {
      k = kLead82;
    } else if (c == 0x83) {
      k = kLead83;
    } else if (IsRuleLead(c)) {
      k = kRuleLeadByte;
    } else if (IsKanjiLead(c)) {
      k = kKanjiLeadByte;
    } else if (InRange(c, 0xA1, 0xA5)) {
      k = kHalfPunctByte;
    } else if (InRange(c, 0xA6, 0xDF)) {
      k = kHalfKanaByte;
    }
    classes[b] = k;
  }
  return classes;
}
constexpr std::array<FirstByteClass, 256> kFirstByteClasses = MakeFirstByteClasses();

TTokenKind ScanNumber(const Byte*& p) {
  while (kDigits[*p]) ++p;
  if (*p == '.') {
    if (kDigits[p[1]]) {
      ++p;
      while (kDigits[*p]) ++p;
      if (*p == 'E' || *p == 'e') StepExponent(p);
      return tkReal;
    }
    if (p[1] == 'E' || p[1] == 'e') {
      ++p;
      StepExponent(p);
      return tkReal;
    }
    return tkInteger;  // the full stop is the next token's
  }
  if (*p == 'E' || *p == 'e') {
    StepExponent(p);
    return tkReal;
  }
  return tkInteger;
}

// The rules that need no settings, decided by the first byte.
TTokenKind ScanPlain(const Byte*& p) {
  switch (kFirstByteClasses[*p]) {
    case kTabByte:
      ++p;
      return tkTab;
    case kDigitByte:
      return ScanNumber(p);
    case kWordStartByte:
      ++p;
      while (kWordBytes[*p]) ++p;
      return tkAnkWord;
    case kLead81:
      StepDoubleByte(p);
      return tkDbcsSymbol;
    case kLead82:
      if (IsWideDigit(p)) {
        StepRun(p, IsWideDigit);
        return tkWideDigits;
      }
      if (IsWideLetter(p)) {
        StepRun(p, IsWideLetter);
        return tkWideLetters;
      }
      if (IsHiragana(p)) {
        StepRun(p, IsHiragana);
        return tkHiragana;
      }
      // A code with no character behind it: kept whole, so that no token
      // starts inside a character.
      StepDoubleByte(p);
      return tkDbcsSymbol;
    case kLead83:
      if (IsKatakana(p)) {
        StepRun(p, IsKatakana);
        return tkKatakana;
      }
      if (IsGreek(p)) {
        StepRun(p, IsGreek);
        return tkDbcsSymbol;
      }
      StepDoubleByte(p);
      return tkDbcsSymbol;
    case kRuleLeadByte:
      StepRun(p, [](const Byte* q) { return IsRuleLead(*q); });
      return tkDbcsSymbol;
    case kKanjiLeadByte:
      StepRun(p, [](const Byte* q) { return IsKanjiLead(*q); });
      return tkKanji;
    case kHalfPunctByte:
      ++p;
      return tkHalfPunct;
    case kHalfKanaByte:
      ++p;
      while (InRange(*p, 0xA6, 0xDF)) ++p;
      return tkHalfKana;
    case kSymbolByte:
      break;
  }
  ++p;
  return tkSymbol;
}

}  // namespace

TEditorParser::TEditorParser(std::string_view text) {
  Load(text, kBracketsUnknown);
}

TEditorParser::TEditorParser(const TEditorParserOwner* editor, std::string_view text,
                             int bracket_state)
    : FEditor(editor) {
  ReadRules();
  Load(text, bracket_state);
}

int TEditorParser::HeadLength() {
  if (SourcePos() == 0) NextToken();
  return SourcePos();
}

int TEditorParser::EndBracketState() {
  while (Token() != tkEnd) NextToken();
  return BracketState();
}

void TEditorParser::Reset(std::string_view text, int bracket_state) {
  ReadRules();
  Load(text, bracket_state);
}

void TEditorParser::ReadRules() {
  if (!FEditor) return;
  const TEditorViewInfo& view = FEditor->View();
  Rules& rules = FRules;
  rules.mail = view.Mail();
  rules.url = view.Url();
  rules.control_code = view.ControlCode();
  rules.quote = view.Quotation().empty() ? -1 : static_cast<Byte>(view.Quotation()[0]);
  rules.commenter = view.Commenter();
  rules.hex_prefix = view.HexPrefix();

  ByteMask& starts = rules.starts;
  starts = {};
  auto add_first = [&starts](std::string_view pattern) {
    if (!pattern.empty()) starts.Set(static_cast<Byte>(pattern[0]));
  };
  if (rules.url) {
    for (Byte b : {'f', 'h', 'w'}) starts.Set(b);
  }
  add_first(rules.commenter);
  if (rules.quote >= 0) starts.Set(static_cast<Byte>(rules.quote));
  add_first(rules.hex_prefix);
  if (rules.control_code) starts.Set('#');
  const TEditorBracketCollection& brackets = view.Brackets();
  rules.bracket_count = std::min<int>(brackets.Count(), std::size(rules.brackets));
  for (int i = 0; i < rules.bracket_count; ++i) {
    rules.brackets[i] = brackets.Items(i);
    add_first(rules.brackets[i]->LeftBracket());
  }
}

void TEditorParser::Load(std::string_view text, int bracket_state) {
  const std::size_t need = text.size() + 1;
  Byte* copy = FInline;
  if (need > kInlineBytes) {
    if (FHeapBytes < need) {
      // The text may lie in the old block: copy before letting it go.
      auto block = std::make_unique_for_overwrite<Byte[]>(need);
      std::memcpy(block.get(), text.data(), text.size());
      FHeap = std::move(block);
      FHeapBytes = need;
    } else {
      std::memmove(FHeap.get(), text.data(), text.size());
    }
    copy = FHeap.get();
  } else {
    // The text may be a token of this very lexer.
    std::memmove(copy, text.data(), text.size());
  }
  copy[text.size()] = 0;
  FStart = copy;
  FLength = text.size();
  if (FEditor) {
    static constexpr ByteMask kMailStarts = [] {
      ByteMask mask;
      for (int b = 0; b < 256; ++b) {
        if (kMailChars[b] && b != '@') mask.Set(static_cast<Byte>(b));
      }
      return mask;
    }();
    FStarts = FRules.starts;
    if (FRules.mail && std::memchr(copy, '@', FLength)) FStarts.Add(kMailStarts);
  }
  FStartBracketState = bracket_state;
  Restart();
}

void TEditorParser::Restart() {
  FSourcePtr = FTokenPtr = Start();
  FBracketState = FStartBracketState;
  FBracketIndex = kBracketsUnknown;
  FMailFailEnd = nullptr;
  FNextAt = nullptr;
  NextToken();
}

void TEditorParser::SkipBlanks() {
  const Byte* p = FSourcePtr;
  while (kBlanks[*p]) ++p;
  FSourcePtr = p;
}

TTokenKind TEditorParser::NextToken() {
  SkipBlanks();
  FTokenPtr = FSourcePtr;
  const Byte* p = FSourcePtr;
  TTokenKind kind = tkEnd;
  if (!kLineEnds[*p]) {
    const bool owner_rules = FEditor && (FBracketState >= 0 || FStarts.Test(*p));
    const Byte* end = owner_rules ? ScanOwnerRules(p, kind) : nullptr;
    if (end) {
      p = end;
    } else {
      kind = ScanPlain(p);
    }
  }
  FToken = kind;
  FSourcePtr = p;
  return kind;
}

const TEditorParser::Byte* TEditorParser::ScanOwnerRules(const Byte* p, TTokenKind& kind) {
  const Byte c = *p;

  if (FBracketState >= 0) {
    if (FBracketState < FRules.bracket_count) {
      FBracketIndex = FBracketState;
      p = ScanRegion(p, FBracketState);
      kind = tkBracket;
      return p;
    }
    // A state left from regions that are gone: nothing is open any more.
    FBracketState = kNoBracketOpen;
  }

  if (FBracketState == kNoBracketOpen) {
    for (int i = 0; i < FRules.bracket_count; ++i) {
      const std::string_view left = FRules.brackets[i]->LeftBracket();
      if (left.empty() || !MatchAt(p, left)) continue;
      p += left.size();
      FBracketState = FBracketIndex = i;
      p = ScanRegion(p, i);
      kind = tkBracket;
      return p;
    }
  }

  if (FRules.mail && kMailChars[c] && c != '@') {
    if (const Byte* end = ScanMail(p)) {
      kind = tkMail;
      return end;
    }
  }

  if (FRules.url) {
    size_t prefix = 0;
    if (c == 'f') {
      if (MatchAt(p, "ftp:")) prefix = 4;
    } else if (c == 'h') {
      if (MatchAt(p, "http:")) {
        prefix = 5;
      } else if (MatchAt(p, "https:")) {
        prefix = 6;
      }
    } else if (c == 'w') {
      if (MatchAt(p, "www.")) prefix = 4;
    }
    if (prefix > 0) {
      p += prefix;
      while (kUrlChars[*p]) ++p;
      kind = tkUrl;
      return p;
    }
  }

  if (!FRules.commenter.empty() && MatchAt(p, FRules.commenter)) {
    while (!kLineEnds[*p]) ++p;
    kind = tkComment;
    return p;
  }

  if (FRules.quote == c) {
    // Bytes, not characters: a trail byte equal to the quote ends the string.
    ++p;
    while (!kLineEnds[*p]) {
      if (*p == c) {
        if (p[1] == c) {
          p += 2;  // a doubled quote stands for one quote
          continue;
        }
        ++p;
        break;
      }
      ++p;
    }
    kind = tkString;
    return p;
  }

  if (!FRules.hex_prefix.empty() && MatchAt(p, FRules.hex_prefix)) {
    p += FRules.hex_prefix.size();
    while (kHexDigits[*p]) ++p;
    kind = tkInteger;
    return p;
  }

  if (c == '#' && FRules.control_code) {
    ++p;
    if (*p == '$') {
      ++p;
      while (kHexDigits[*p]) ++p;
    } else {
      while (kDigits[*p]) ++p;
    }
    kind = tkString;
    return p;
  }

  return nullptr;
}

const TEditorParser::Byte* TEditorParser::ScanRegion(const Byte* p, int index) {
  const std::string_view right = FRules.brackets[index]->RightBracket();
  while (!kLineEnds[*p]) {
    // A right bracket only counts where a character starts.
    if (!right.empty() && *p == static_cast<Byte>(right[0]) && MatchAt(p, right)) {
      p += right.size();
      FBracketState = kNoBracketOpen;
      return p;
    }
    StepChar(p);
  }
  // The region goes on in the next row.
  return p;
}

const TEditorParser::Byte* TEditorParser::ScanMail(const Byte* p) {
  if (p < FMailFailEnd) return nullptr;
  // Most rows hold no "@" at all: one search per row spares scanning every
  // word as a possible address.
  if (FNextAt <= p) {
    const Byte* end = End();
    FNextAt = static_cast<const Byte*>(std::memchr(p + 1, '@', end - (p + 1)));
    if (!FNextAt) FNextAt = end;
  }
  if (*FNextAt != '@') return nullptr;
  const Byte* q = p + 1;
  const Byte* last_at = nullptr;
  bool dot_after_at = false;
  for (; kMailChars[*q] || (*q == '+' && !last_at); ++q) {
    if (*q == '@') {
      last_at = q;
    } else if (*q == '.' && last_at) {
      dot_after_at = true;
    }
  }
  if (!dot_after_at) {
    // Every later start up to here runs into the same end and fails too,
    // except past the last "@" when a plus sign stopped the run: from there
    // the plus can belong to another address's own name.
    FMailFailEnd = *q == '+' && last_at ? last_at : q;
    return nullptr;
  }
  return q;
}

}  // namespace editor
