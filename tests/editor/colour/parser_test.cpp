#include "editor/colour/parser.h"

#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "editor/colour/token_queries.h"
#include "editor/text/dbcs.h"
#include "platform/user_locale.h"

namespace editor {
namespace {

// The lexer's owner without a control: the view and the reserved words.
struct Owner : TEditorParserOwner {
  Owner() {
    reserve.SetSorted(true);
    reserve.SetDuplicates(platform::dupIgnore);
  }
  const TEditorViewInfo& View() const override { return view; }
  const platform::TStringList& ReserveWordList() const override { return reserve; }

  void AddBrackets(std::initializer_list<std::pair<const char*, const char*>> pairs) {
    for (auto [left, right] : pairs) {
      TEditorBracketItem* item = view.Brackets().Add();
      item->SetLeftBracket(left);
      item->SetRightBracket(right);
    }
  }

  TEditorViewInfo view;
  platform::TStringList reserve;
};

struct Token {
  TTokenKind kind;
  std::string text;
  bool operator==(const Token&) const = default;
};

void PrintTo(const Token& token, std::ostream* os) {
  *os << "{" << int(token.kind) << ", \"";
  for (unsigned char c : token.text) {
    if (c >= 0x20 && c < 0x7F) {
      *os << c;
    } else {
      *os << "\\x" << std::hex << int(c) << std::dec;
    }
  }
  *os << "\"}";
}

std::vector<Token> Scan(TEditorParser& parser) {
  std::vector<Token> tokens;
  for (; parser.Token() != tkEnd; parser.NextToken()) {
    tokens.push_back({parser.Token(), parser.TokenString()});
  }
  return tokens;
}

std::vector<Token> ScanBare(std::string_view text) {
  TEditorParser parser(text);
  return Scan(parser);
}

std::vector<Token> ScanWith(const Owner& owner, std::string_view text, int state = kNoBracketOpen) {
  TEditorParser parser(&owner, text, state);
  return Scan(parser);
}

struct Case {
  const char* name;
  std::string text;
  std::vector<Token> tokens;
};

TEST(Parser, RulesThatNeedNoSettings) {
  const Case cases[] = {
      {"empty row", "", {}},
      {"blanks only", " \x01\x08\x0B\x1F ", {}},
      {"word", "abc_1 _x9", {{tkAnkWord, "abc_1"}, {tkAnkWord, "_x9"}}},
      {"tabs one by one", "\t\t", {{tkTab, "\t"}, {tkTab, "\t"}}},
      {"integer then full stop", "123. ", {{tkInteger, "123"}, {tkSymbol, "."}}},
      {"fraction and exponent", "1.5e+3", {{tkReal, "1.5e+3"}}},
      {"bare exponent", "1e", {{tkReal, "1e"}}},
      {"exponent sign without digits", "1e+", {{tkReal, "1e+"}}},
      {"exponent right after the point", "1.e5", {{tkReal, "1.e5"}}},
      {"exponent with minus", "2E-07x", {{tkReal, "2E-07"}, {tkAnkWord, "x"}}},
      {"fraction", "12.34.5", {{tkReal, "12.34"}, {tkSymbol, "."}, {tkInteger, "5"}}},
      {"no hex letters", "0x1F", {{tkInteger, "0"}, {tkAnkWord, "x1F"}}},
      {"symbols one by one",
       "!\x7F\x80\xA0\xFD\xFF",
       {{tkSymbol, "!"},
        {tkSymbol, "\x7F"},
        {tkSymbol, "\x80"},
        {tkSymbol, "\xA0"},
        {tkSymbol, "\xFD"},
        {tkSymbol, "\xFF"}}},
      {"lead 0x81 is one character, never a run",
       "\x81\x40\x81\x41",
       {{tkDbcsSymbol, "\x81\x40"}, {tkDbcsSymbol, "\x81\x41"}}},
      {"full-width digits with comma and full stop",
       "\x82\x50\x81\x43\x82\x51\x81\x44\x82\x58\x81\x41",
       {{tkWideDigits, "\x82\x50\x81\x43\x82\x51\x81\x44\x82\x58"}, {tkDbcsSymbol, "\x81\x41"}}},
      {"full-width letters",
       "\x82\x60\x82\x9A\x82\x50",
       {{tkWideLetters, "\x82\x60\x82\x9A"}, {tkWideDigits, "\x82\x50"}}},
      {"hiragana runs over the long-vowel sign and full-width minus",
       "\x82\xE7\x81\x5B\x81\x7C\x82\xF1\x83\x4A",
       {{tkHiragana, "\x82\xE7\x81\x5B\x81\x7C\x82\xF1"}, {tkKatakana, "\x83\x4A"}}},
      {"katakana with long-vowel sign",
       "\x83\x4A\x81\x5B\x83\x96",
       {{tkKatakana, "\x83\x4A\x81\x5B\x83\x96"}}},
      {"greek run", "\x83\x9F\x83\xF0", {{tkDbcsSymbol, "\x83\x9F\x83\xF0"}}},
      {"rules and numbered signs run together",
       "\x84\x9F\x87\x40\x88\x9F",
       {{tkDbcsSymbol, "\x84\x9F\x87\x40"}, {tkKanji, "\x88\x9F"}}},
      {"kanji run stops at hiragana",
       "\x8A\xBF\x8E\x9A\xE0\x40\x82\xCD",
       {{tkKanji, "\x8A\xBF\x8E\x9A\xE0\x40"}, {tkHiragana, "\x82\xCD"}}},
      {"half-width punctuation one by one",
       "\xA1\xA5",
       {{tkHalfPunct, "\xA1"}, {tkHalfPunct, "\xA5"}}},
      {"half-width katakana run",
       "\xB1\xB2\xDE\xDF\xA1",
       {{tkHalfKana, "\xB1\xB2\xDE\xDF"}, {tkHalfPunct, "\xA1"}}},
      {"a code without a character stays whole",
       "\x82\x40x\x83\x97",
       {{tkDbcsSymbol, "\x82\x40"}, {tkAnkWord, "x"}, {tkDbcsSymbol, "\x83\x97"}}},
      {"a trail byte that looks like a letter is no word",
       "\x8A\x41\x82\xA0",
       {{tkKanji, "\x8A\x41"}, {tkHiragana, "\x82\xA0"}}},
      {"lead byte at the very end", "a\x82", {{tkAnkWord, "a"}, {tkDbcsSymbol, "\x82"}}},
      {"kanji lead at the very end", "\x88\x9F\x88", {{tkKanji, "\x88\x9F\x88"}}},
      {"line breaks are blanks", "a\r\nb", {{tkAnkWord, "a"}, {tkAnkWord, "b"}}},
      {"NUL ends the scan", std::string("a\0b", 3), {{tkAnkWord, "a"}}},
      {"no settings rules without an owner",
       "'x' // #13 foo@bar.com http:",
       {{tkSymbol, "'"},
        {tkAnkWord, "x"},
        {tkSymbol, "'"},
        {tkSymbol, "/"},
        {tkSymbol, "/"},
        {tkSymbol, "#"},
        {tkInteger, "13"},
        {tkAnkWord, "foo"},
        {tkSymbol, "@"},
        {tkAnkWord, "bar"},
        {tkSymbol, "."},
        {tkAnkWord, "com"},
        {tkAnkWord, "http"},
        {tkSymbol, ":"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanBare(c.text), c.tokens) << c.name;
}

TEST(Parser, SourcePosCountsFromTheStartOfTheText) {
  TEditorParser parser("  ab \x82\xA0");
  EXPECT_EQ(parser.SourcePos(), 2);
  EXPECT_EQ(parser.TokenLength(), 2);
  parser.NextToken();
  EXPECT_EQ(parser.SourcePos(), 5);
  EXPECT_EQ(parser.NextToken(), tkEnd);
  EXPECT_EQ(parser.TokenString(), "");
  EXPECT_EQ(parser.NextToken(), tkEnd);
}

TEST(Parser, AddressRules) {
  Owner owner;
  owner.view.SetMail(true);
  owner.view.SetUrl(true);
  const Case cases[] = {
      {"mail address",
       "to foo.bar@ex-ample.co.jp!",
       {{tkAnkWord, "to"}, {tkMail, "foo.bar@ex-ample.co.jp!"}}},
      {"mail takes a trailing comma", "a@b.c, x", {{tkMail, "a@b.c,"}, {tkAnkWord, "x"}}},
      {"no dot after the at sign",
       "a.b@c d",
       {{tkAnkWord, "a"},
        {tkSymbol, "."},
        {tkAnkWord, "b"},
        {tkSymbol, "@"},
        {tkAnkWord, "c"},
        {tkAnkWord, "d"}}},
      {"at sign first is no address",
       "@a.b",
       {{tkSymbol, "@"}, {tkAnkWord, "a"}, {tkSymbol, "."}, {tkAnkWord, "b"}}},
      {"a plus sign in the name before the at sign",
       "user+tag@example.com",
       {{tkMail, "user+tag@example.com"}}},
      {"a plus sign never starts an address", "+a@b.c", {{tkSymbol, "+"}, {tkMail, "a@b.c"}}},
      {"a plus sign after the at sign ends the address",
       "a@b.c+d@e.f",
       {{tkMail, "a@b.c"}, {tkSymbol, "+"}, {tkMail, "d@e.f"}}},
      {"a plus sign in a failed run leaves the name after the at sign",
       "a@b+c@d.e",
       {{tkAnkWord, "a"}, {tkSymbol, "@"}, {tkMail, "b+c@d.e"}}},
      {"mail ends at a colon", "a:b@c.d", {{tkAnkWord, "a"}, {tkSymbol, ":"}, {tkMail, "b@c.d"}}},
      {"a plus sign without an address",
       "1+2 a+b",
       {{tkInteger, "1"},
        {tkSymbol, "+"},
        {tkInteger, "2"},
        {tkAnkWord, "a"},
        {tkSymbol, "+"},
        {tkAnkWord, "b"}}},
      {"a failed address before a real one",
       "a.b x@y z@w.v",
       {{tkAnkWord, "a"},
        {tkSymbol, "."},
        {tkAnkWord, "b"},
        {tkAnkWord, "x"},
        {tkSymbol, "@"},
        {tkAnkWord, "y"},
        {tkMail, "z@w.v"}}},
      {"an address inside a failed run starts after it", "a.b@c@d.e", {{tkMail, "a.b@c@d.e"}}},
      {"address after double-byte text",
       "\x82\xA0m@n.o",
       {{tkHiragana, "\x82\xA0"}, {tkMail, "m@n.o"}}},
      {"mail is tried before the web", "www.x@y.jp", {{tkMail, "www.x@y.jp"}}},
      {"web address",
       "see http://a.jp/x?y=1&z=%20#top.",
       {{tkAnkWord, "see"}, {tkUrl, "http://a.jp/x?y=1&z=%20#top."}}},
      {"the at sign ends a web address",
       "http://a@b",
       {{tkUrl, "http://a"}, {tkSymbol, "@"}, {tkAnkWord, "b"}}},
      {"prefix alone", "http:", {{tkUrl, "http:"}}},
      {"https after http", "https://a.jp/", {{tkUrl, "https://a.jp/"}}},
      {"ftp and www", "ftp://f.jp www.w.jp", {{tkUrl, "ftp://f.jp"}, {tkUrl, "www.w.jp"}}},
      {"capitals are no prefix",
       "HTTP://A",
       {{tkAnkWord, "HTTP"}, {tkSymbol, ":"}, {tkSymbol, "/"}, {tkSymbol, "/"}, {tkAnkWord, "A"}}},
      {"near misses", "wwwx htt f", {{tkAnkWord, "wwwx"}, {tkAnkWord, "htt"}, {tkAnkWord, "f"}}},
      {"address ends at double-byte text",
       "http://a.jp\x82\xA0",
       {{tkUrl, "http://a.jp"}, {tkHiragana, "\x82\xA0"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanWith(owner, c.text), c.tokens) << c.name;

  owner.view.SetMail(false);
  owner.view.SetUrl(false);
  EXPECT_EQ(ScanWith(owner, "a@b.c http:"), (std::vector<Token>{{tkAnkWord, "a"},
                                                                {tkSymbol, "@"},
                                                                {tkAnkWord, "b"},
                                                                {tkSymbol, "."},
                                                                {tkAnkWord, "c"},
                                                                {tkAnkWord, "http"},
                                                                {tkSymbol, ":"}}));
}

TEST(Parser, AddressByteSets) {
  // Each byte from 0x21 to 0x7E between "a" and "@b.c": the address holds it
  // exactly when the byte is one an address may hold.
  const std::string mail_chars =
      "!$%&*+,-./0123456789;=?@ABCDEFGHIJKLMNOPQRSTUVWXYZ^_abcdefghijklmnopqrstuvwxyz~";
  const std::string url_chars =
      "#%&+-./0123456789:=?ABCDEFGHIJKLMNOPQRSTUVWXYZ_abcdefghijklmnopqrstuvwxyz~";
  Owner mail;
  mail.view.SetMail(true);
  Owner url;
  url.view.SetUrl(true);
  for (int b = 0x21; b <= 0x7E; ++b) {
    const char byte = static_cast<char>(b);
    const std::string address = std::string("a") + byte + "@b.c";
    const bool in_mail = ScanWith(mail, address).front() == Token{tkMail, address};
    EXPECT_EQ(in_mail, mail_chars.find(byte) != std::string::npos) << "mail byte " << b;

    const std::string web = std::string("http:a") + byte + "b";
    const bool in_url = ScanWith(url, web).front() == Token{tkUrl, web};
    EXPECT_EQ(in_url, url_chars.find(byte) != std::string::npos) << "url byte " << b;
  }
}

TEST(Parser, CommentStringHexAndControlCodeRules) {
  Owner owner;
  owner.view.SetMail(true);
  owner.view.SetCommenter("//");
  owner.view.SetQuotation("'");
  owner.view.SetHexPrefix("$");
  owner.view.SetControlCode(true);
  const Case cases[] = {
      {"comment to the end of the row",
       "a // b \x82\xA0",
       {{tkAnkWord, "a"}, {tkComment, "// b \x82\xA0"}}},
      {"comment ends at a line break", "// x\r\ny", {{tkComment, "// x"}, {tkAnkWord, "y"}}},
      {"a comment starting with an address is an address",
       "//a@b.c d",
       {{tkMail, "//a@b.c"}, {tkAnkWord, "d"}}},
      {"string with a doubled quote", "'it''s' x", {{tkString, "'it''s'"}, {tkAnkWord, "x"}}},
      {"unclosed string ends with the row", "'abc", {{tkString, "'abc"}}},
      {"empty string", "''", {{tkString, "''"}}},
      {"the quote is compared byte by byte", "'\x83' b", {{tkString, "'\x83'"}, {tkAnkWord, "b"}}},
      {"hex number",
       "$1Fa $ $G",
       {{tkInteger, "$1Fa"}, {tkInteger, "$"}, {tkInteger, "$"}, {tkAnkWord, "G"}}},
      {"control codes", "#13#$0D#", {{tkString, "#13"}, {tkString, "#$0D"}, {tkString, "#"}}},
      {"control code then word", "#$x", {{tkString, "#$"}, {tkAnkWord, "x"}}},
  };
  for (const Case& c : cases) EXPECT_EQ(ScanWith(owner, c.text), c.tokens) << c.name;

  owner.view.SetControlCode(false);
  EXPECT_EQ(ScanWith(owner, "#13"), (std::vector<Token>{{tkSymbol, "#"}, {tkInteger, "13"}}));
}

TEST(Parser, BracketRegionsInOneRow) {
  Owner owner;
  owner.AddBrackets({{"{", "}"}, {"(*", "*)"}, {"", "x"}, {"<", "@"}});
  const Case cases[] = {
      {"closed region", "a {b c} d", {{tkAnkWord, "a"}, {tkBracket, "{b c}"}, {tkAnkWord, "d"}}},
      {"second item", "(* x *)y", {{tkBracket, "(* x *)"}, {tkAnkWord, "y"}}},
      {"lone parenthesis", "(x)", {{tkSymbol, "("}, {tkAnkWord, "x"}, {tkSymbol, ")"}}},
      {"right bracket never found in a trail byte",
       "<\x81\x40@b",
       {{tkBracket, "<\x81\x40@"}, {tkAnkWord, "b"}}},
  };
  for (const Case& c : cases) {
    TEditorParser parser(&owner, c.text, kNoBracketOpen);
    EXPECT_EQ(Scan(parser), c.tokens) << c.name;
    EXPECT_EQ(parser.BracketState(), kNoBracketOpen) << c.name;
  }

  TEditorParser parser(&owner, "x (* y", kNoBracketOpen);
  parser.NextToken();
  EXPECT_EQ(parser.Token(), tkBracket);
  EXPECT_EQ(parser.BracketIndex(), 1);
  EXPECT_EQ(parser.NextToken(), tkEnd);
  EXPECT_EQ(parser.BracketState(), 1);
}

TEST(Parser, BracketRegionsAcrossRows) {
  Owner owner;
  owner.AddBrackets({{"{", "}"}, {"/*", "*/"}, {"<", ""}});
  struct Row {
    std::string text;
    std::vector<Token> tokens;
    int end_state;
  };
  const Row rows[] = {
      {"a /* b", {{tkAnkWord, "a"}, {tkBracket, "/* b"}}, 1},
      {"", {}, 1},
      {"   c { d", {{tkBracket, "c { d"}}, 1},
      {"  e */ f {g", {{tkBracket, "e */"}, {tkAnkWord, "f"}, {tkBracket, "{g"}}, 0},
      {"}", {{tkBracket, "}"}}, -1},
      {"< never closes", {{tkBracket, "< never closes"}}, 2},
      {"} still open", {{tkBracket, "} still open"}}, 2},
  };
  int state = kNoBracketOpen;
  for (const Row& row : rows) {
    TEditorParser parser(&owner, row.text, state);
    EXPECT_EQ(Scan(parser), row.tokens) << row.text;
    EXPECT_EQ(parser.BracketState(), row.end_state) << row.text;
    EXPECT_EQ(BracketStateAfter(kDefaultParserClass, &owner, row.text, state), row.end_state);
    state = parser.BracketState();
  }
}

TEST(Parser, BracketStatesThatSwitchRegionsOff) {
  Owner owner;
  owner.AddBrackets({{"{", "}"}});
  // Regions not recognised: the brackets are plain symbols.
  TEditorParser off(&owner, "{b}", kBracketsUnknown);
  EXPECT_EQ(Scan(off), (std::vector<Token>{{tkSymbol, "{"}, {tkAnkWord, "b"}, {tkSymbol, "}"}}));
  EXPECT_EQ(off.BracketState(), kBracketsUnknown);

  // A row that starts inside a region that no longer exists starts with
  // none open.
  TEditorParser stale(&owner, "a {b}", 3);
  EXPECT_EQ(Scan(stale), (std::vector<Token>{{tkAnkWord, "a"}, {tkBracket, "{b}"}}));
  EXPECT_EQ(stale.BracketState(), kNoBracketOpen);
}

TEST(Parser, ResetScansAnotherTextWithFreshSettings) {
  Owner owner;
  TEditorParser parser(&owner, "a@b.c", kNoBracketOpen);
  EXPECT_EQ(parser.Token(), tkAnkWord);
  owner.view.SetMail(true);
  owner.AddBrackets({{"{", "}"}});
  parser.Reset("a@b.c {", kNoBracketOpen);
  EXPECT_EQ(Scan(parser), (std::vector<Token>{{tkMail, "a@b.c"}, {tkBracket, "{"}}));
  EXPECT_EQ(parser.BracketState(), 0);
  parser.Reset("x}", 0);
  EXPECT_EQ(Scan(parser), (std::vector<Token>{{tkBracket, "x}"}}));
}

TEST(Parser, LongRowsAndTextsTakenFromTheLexerItself) {
  Owner owner;
  owner.view.SetMail(true);
  std::string row;
  for (int i = 0; i < 200; ++i) row += "word\x8A\xBF ";
  row += "a@b.c";
  TEditorParser parser(&owner, row, kNoBracketOpen);
  std::vector<Token> tokens = Scan(parser);
  ASSERT_EQ(tokens.size(), 401u);
  EXPECT_EQ(tokens.back(), (Token{tkMail, "a@b.c"}));

  // A shorter long row reuses the block; a token of the lexer's own text
  // can be scanned again.
  parser.Reset(std::string_view(row).substr(700), kNoBracketOpen);
  parser.NextToken();
  const std::string expected = parser.TokenString();
  parser.Reset(parser.TokenView(), kNoBracketOpen);
  EXPECT_EQ(parser.TokenString(), expected);
  parser.Reset("x a@b.c", kNoBracketOpen);
  parser.NextToken();
  parser.Reset(parser.TokenView(), kNoBracketOpen);
  EXPECT_EQ(parser.Token(), tkMail);
  EXPECT_EQ(parser.TokenString(), "a@b.c");
  parser.Reset(row + row, kNoBracketOpen);
  EXPECT_EQ(Scan(parser).size(), 801u);
  parser.Reset(std::string_view(row).substr(0, 11), kNoBracketOpen);
  EXPECT_EQ(Scan(parser),
            (std::vector<Token>{{tkAnkWord, "word"}, {tkKanji, "\x8A\xBF"}, {tkAnkWord, "word"}}));
}

// Over any bytes and with every rule on, the tokens follow each other, each
// holds at least one byte, only blanks lie between them, and none starts in
// the middle of a double-byte character.
TEST(Parser, TokensTileAnyTextAtCharacterStarts) {
  Owner owner;
  owner.view.SetMail(true);
  owner.view.SetUrl(true);
  owner.view.SetCommenter("--");
  owner.view.SetQuotation("\"");
  owner.view.SetHexPrefix("0x");
  owner.view.SetControlCode(true);
  owner.AddBrackets({{"{", "}"}, {"\x81\x75", "\x81\x76"}, {"<", ""}});
  const std::string alphabet =
      "ab1_.@:/-\"{}<#$x \t\x01\x81\x82\x83\x88\xE0\x40\x5B\x75\x76\x9F\xA1\xB1\xFD";
  std::mt19937 random(20001122);
  for (int round = 0; round < 3000; ++round) {
    std::string text(random() % 40, ' ');
    for (char& c : text) c = alphabet[random() % alphabet.size()];
    const int state = static_cast<int>(random() % 5) - 2;
    TEditorParser parser(&owner, text, state);
    int end = 0;
    for (; parser.Token() != tkEnd; parser.NextToken()) {
      ASSERT_GE(parser.SourcePos(), end) << text;
      ASSERT_GT(parser.TokenLength(), 0) << text;
      for (int i = end; i < parser.SourcePos(); ++i) {
        const unsigned char blank = text[i];
        ASSERT_TRUE(blank != 0 && blank != '\t' && blank <= 0x20) << text;
      }
      ASSERT_FALSE(IsTrailByteAt(text, parser.SourcePos() + 1)) << text;
      end = parser.SourcePos() + parser.TokenLength();
      ASSERT_LE(end, static_cast<int>(text.size())) << text;
    }
    EXPECT_GE(parser.BracketState(), state < 0 ? state : -1);
  }
}

TEST(TokenColor, EachKindPaintsWithItsSlot) {
  platform::ScopedUserLocale locale("ja_JP");
  Owner owner;
  owner.view.SetMail(true);
  owner.view.SetUrl(true);
  owner.view.SetCommenter("//");
  owner.view.SetQuotation("'");
  owner.AddBrackets({{"{", "}"}});
  const TEditorColors& colors = owner.view.Colors();
  struct ColorCase {
    std::string text;
    const TEditorColor* slot;
  };
  const ColorCase cases[] = {
      {"+", &colors.Symbol()},
      {"'s'", &colors.Str()},
      {"12", &colors.Int()},
      {"1.5", &colors.Int()},
      {"{r}", &owner.view.Brackets().Items(0)->ItemColor()},
      {"// c", &colors.Comment()},
      {"word", &colors.Ank()},
      {"\x81\x40", &colors.DBCS()},
      {"\x8A\xBF", &colors.DBCS()},
      {"\xB1", &colors.DBCS()},
      {"\xA1", &colors.DBCS()},
      {"http://a", &colors.Url()},
      {"a@b.c", &colors.Mail()},
      {"\t", nullptr},
      {"", nullptr},
  };
  for (const ColorCase& c : cases) {
    TEditorParser parser(&owner, c.text, kNoBracketOpen);
    EXPECT_EQ(TokenColor(owner, parser), c.slot) << c.text;
  }
}

TEST(TokenColor, ReservedWordsInAnyCaseButNeverInStringsOrComments) {
  platform::ScopedUserLocale locale("ja_JP");
  Owner owner;
  owner.view.SetUrl(true);
  owner.view.SetCommenter("begin");
  owner.view.SetQuotation("'");
  for (const char* word : {"End", "begin", "\x8A\xBF\x8E\x9A", "+", "http:"}) {
    owner.reserve.Add(word);
  }
  const TEditorColor* reserve = &owner.view.Colors().Reserve();
  struct ColorCase {
    std::string text;
    bool reserved;
  };
  const ColorCase cases[] = {
      {"END", true},
      {"end", true},
      {"eNd", true},
      {"ends", false},
      {"\x8A\xBF\x8E\x9A", true},
      {"\x8A\xBF", false},
      {"+", true},
      {"http:", true},
      {"HTTP", false},
      {"'end'", false},
      {"begin", false},  // the comment start comes first
  };
  for (const ColorCase& c : cases) {
    TEditorParser parser(&owner, c.text, kBracketsUnknown);
    EXPECT_EQ(TokenColor(owner, parser) == reserve, c.reserved) << c.text;
  }
  EXPECT_TRUE(IsReserveWord(owner.reserve, "BEGIN"));
  EXPECT_TRUE(IsReserveWord(owner.reserve, "Begin"));
  EXPECT_FALSE(IsReserveWord(platform::TStringList(), "begin"));
}

TEST(TokenAt, FindsTheTokenHoldingAnOffset) {
  Owner owner;
  owner.view.SetMail(true);
  owner.view.SetUrl(true);
  owner.AddBrackets({{"{", "}"}});
  const std::string line = "see http://a.jp/ or a@b.jp {x}";
  struct At {
    int offset;
    TTokenKind kind;
    std::string text;
  };
  const At cases[] = {
      {0, tkAnkWord, "see"},
      {2, tkAnkWord, "see"},
      {3, tkEnd, ""},
      {4, tkUrl, "http://a.jp/"},
      {15, tkUrl, "http://a.jp/"},
      {20, tkMail, "a@b.jp"},
      {27, tkSymbol, "{"},
      {30, tkEnd, ""},
      {-1, tkEnd, ""},
      {500, tkEnd, ""},
  };
  for (const At& c : cases) {
    const TTokenAt at = TokenAt(kDefaultParserClass, &owner, line, c.offset);
    EXPECT_EQ(at.kind, c.kind) << c.offset;
    EXPECT_EQ(at.text, c.text) << c.offset;
  }
  // Asked with the line's start state, regions count.
  const TTokenAt region = TokenAt(kDefaultParserClass, &owner, line, 28, kNoBracketOpen);
  EXPECT_EQ(region.kind, tkBracket);
  EXPECT_EQ(region.text, "{x}");
  EXPECT_EQ(region.pos, 27);
}

// A lexer with its own blanks: the first token already follows its rules.
class UnderscoreBlanksParser : public TEditorParser {
 public:
  UnderscoreBlanksParser(const TEditorParserOwner* editor, std::string_view text, int state)
      : TEditorParser(editor, text, state) {
    Restart();
  }

 protected:
  void SkipBlanks() override {
    TEditorParser::SkipBlanks();
    while (*FSourcePtr == '_') {
      ++FSourcePtr;
      TEditorParser::SkipBlanks();
    }
  }
};

TEST(Parser, DescendantRulesApplyFromTheFirstToken) {
  Owner owner;
  TEditorParserClass parser_class = &CreateParser<UnderscoreBlanksParser>;
  std::unique_ptr<TEditorParser> parser = parser_class(&owner, "__a __b", kNoBracketOpen);
  EXPECT_EQ(Scan(*parser), (std::vector<Token>{{tkAnkWord, "a"}, {tkAnkWord, "b"}}));
  EXPECT_EQ(TokenAt(parser_class, &owner, "__a __b", 6).text, "b");
}

}  // namespace
}  // namespace editor
