#include "editor/control/word_motion.h"

#include <gtest/gtest.h>

#include <vector>

#include "editor/colour/parser.h"
#include "editor/colour/view_info.h"
#include "platform/string_list.h"
#include "tests/editor/control/rows_fixture.h"

namespace editor {
namespace {

using testing::MakeRows;

struct Pos {
  int row, col;
  bool operator==(const Pos&) const = default;
};

// Every stop of repeated jumps from `from` until the position no longer changes.
std::vector<Pos> Stops(const TEditorScreenStrings& rows, Pos from, int direction,
                       const TColumnMapSettings& settings = {}) {
  std::vector<Pos> stops;
  int row = from.row, col = from.col;
  while (WordJump(rows, settings, row, col, direction)) {
    stops.push_back({row, col});
    if (stops.size() > 20) break;
  }
  return stops;
}

TEST(WordJump, StopsAtWordStartsAndTheRowEnd) {
  auto rows = MakeRows({{"foo  bar,baz", rkEof}});
  EXPECT_EQ(Stops(*rows, {0, 0}, 1), (std::vector<Pos>{{0, 5}, {0, 9}, {0, 12}}));
  EXPECT_EQ(Stops(*rows, {0, 12}, -1), (std::vector<Pos>{{0, 9}, {0, 5}, {0, 0}}));
  // From inside a word and from the blanks before one.
  EXPECT_EQ(Stops(*rows, {0, 4}, -1).front(), (Pos{0, 0}));
  EXPECT_EQ(Stops(*rows, {0, 1}, 1).front(), (Pos{0, 5}));
}

TEST(WordJump, CountsDisplayColumns) {
  TColumnMapSettings settings;
  settings.TabWidth = 8;
  // "a", a tab to column 8, "b"; あいう takes six columns before " x".
  auto rows = MakeRows({{"a\tb", rkReturn}, {"\x82\xa0\x82\xa2\x82\xa4 x", rkEof}});
  EXPECT_EQ(Stops(*rows, {0, 0}, 1, settings),
            (std::vector<Pos>{{0, 8}, {0, 9}, {1, 0}, {1, 7}, {1, 8}}));
  EXPECT_EQ(Stops(*rows, {1, 8}, -1, settings),
            (std::vector<Pos>{{1, 7}, {1, 0}, {0, 9}, {0, 8}, {0, 0}}));
}

TEST(WordJump, CrossesRowEnds) {
  // "abc de" wrapped before "f ghi"; the next line is "  jk".
  auto rows = MakeRows({{"abc de", rkWrap}, {"f ghi", rkReturn}, {"  jk", rkEof}});
  struct Case {
    Pos from;
    int direction;
    Pos to;
  };
  const Case cases[] = {
      // The last word of a wrapped row goes straight on to the next row.
      {{0, 4}, 1, {1, 0}},
      // The last word of a row that ends its line stops at the row's end
      // first, then at the next line's first word.
      {{1, 2}, 1, {1, 5}},
      {{1, 5}, 1, {2, 2}},
      // Back from column 0 below a line end: the end of that line.
      {{2, 0}, -1, {1, 5}},
      // Back from column 0 below a wrapped row: its last word.
      {{1, 0}, -1, {0, 4}},
      // Back from the blanks before a row's first word: the row above's end.
      {{2, 1}, -1, {1, 5}},
      {{1, 2}, -1, {1, 0}},
  };
  for (const Case& c : cases) {
    int row = c.from.row, col = c.from.col;
    EXPECT_TRUE(WordJump(*rows, {}, row, col, c.direction));
    EXPECT_EQ((Pos{row, col}), c.to) << c.from.row << "," << c.from.col << " dir " << c.direction;
  }
}

TEST(WordJump, StaysInsideTheText) {
  auto rows = MakeRows({{"ab cd", rkEof}});
  int row = 0, col = 5;
  // The end of the text is the last stop forward.
  EXPECT_FALSE(WordJump(*rows, {}, row, col, 1));
  EXPECT_EQ((Pos{row, col}), (Pos{0, 5}));
  row = 0, col = 0;
  EXPECT_FALSE(WordJump(*rows, {}, row, col, -1));
  row = 2, col = 0;
  EXPECT_FALSE(WordJump(*rows, {}, row, col, -1));
  row = -1;
  EXPECT_FALSE(WordJump(*rows, {}, row, col, 1));

  // The empty row after a final line break: nothing ahead, the line above behind.
  auto ended = MakeRows({{"ab cd", rkReturn}});
  row = 1, col = 0;
  EXPECT_FALSE(WordJump(*ended, {}, row, col, 1));
  EXPECT_TRUE(WordJump(*ended, {}, row, col, -1));
  EXPECT_EQ((Pos{row, col}), (Pos{0, 5}));

  auto empty = MakeRows({});
  row = 0, col = 0;
  EXPECT_FALSE(WordJump(*empty, {}, row, col, 1));
  EXPECT_FALSE(WordJump(*empty, {}, row, col, -1));
}

TEST(PrevLineIndent, TakesTheNearestNonEmptyLineAbove) {
  // Two spaces and a full-width space make 4; a tab expands to its stop.
  auto rows = MakeRows({
      {"  \x81\x40x", rkReturn},    // 0: indent 4
      {"", rkReturn},               // 1: empty, skipped
      {"\tab", rkReturn},           // 2: indent 8
      {"  wrapped", rkWrap},        // 3: indent 2
      {"    continued", rkReturn},  // 4: not a line start
      {"z", rkEof},                 // 5
  });
  EXPECT_EQ(PrevLineIndent(*rows, {}, 0), 0);  // the first line
  EXPECT_EQ(PrevLineIndent(*rows, {}, 1), 4);
  EXPECT_EQ(PrevLineIndent(*rows, {}, 2), 4);  // over the empty line
  EXPECT_EQ(PrevLineIndent(*rows, {}, 3), 8);
  EXPECT_EQ(PrevLineIndent(*rows, {}, 4), 8);  // same line as row 3
  EXPECT_EQ(PrevLineIndent(*rows, {}, 5), 2);  // the line's first row counts
  EXPECT_EQ(PrevLineIndent(*rows, {}, 6), 0);  // the row after the text: "z" has no indent

  auto blank = MakeRows({{"", rkReturn}, {"", rkReturn}, {"x", rkEof}});
  EXPECT_EQ(PrevLineIndent(*blank, {}, 2), -1);
}

// A lexer owner with web addresses and one bracket region "{" .. "}".
class Owner : public TEditorParserOwner {
 public:
  Owner() {
    view_.SetUrl(true);
    TEditorBracketItem* item = view_.Brackets().Add();
    item->SetLeftBracket("{");
    item->SetRightBracket("}");
  }
  const TEditorViewInfo& View() const override { return view_; }
  const platform::TStringList& ReserveWordList() const override { return words_; }

 private:
  TEditorViewInfo view_;
  platform::TStringList words_;
};

TEST(TokenAtRowByte, FindsTokensAcrossWrappedRows) {
  const Owner owner;
  auto rows = MakeRows({{"see http://exa", rkWrap}, {"mple.com/x ok", rkReturn}, {"next", rkEof}});
  struct Case {
    int row, byte;
    TTokenKind kind;
    const char* text;
    int pos, first_row;
  };
  const Case cases[] = {
      {0, 0, tkAnkWord, "see", 0, 0},
      {0, 6, tkUrl, "http://example.com/x", 4, 0},
      {1, 2, tkUrl, "http://example.com/x", 4, 0},  // the address's second row
      {1, 11, tkAnkWord, "ok", 25, 0},
      {2, 3, tkAnkWord, "next", 0, 2},
      {0, 3, tkEnd, "", -1, -1},   // a blank
      {1, 13, tkEnd, "", -1, -1},  // after the row's end
      {3, 0, tkEnd, "", -1, -1},   // no such row
  };
  for (const Case& c : cases) {
    const TLineToken found =
        TokenAtRowByte(*rows, c.row, c.byte, kDefaultParserClass, &owner, false);
    EXPECT_EQ(found.token.kind, c.kind) << c.row << "," << c.byte;
    EXPECT_EQ(found.token.text, c.text) << c.row << "," << c.byte;
    EXPECT_EQ(found.token.pos, c.pos) << c.row << "," << c.byte;
    EXPECT_EQ(found.first_row, c.first_row) << c.row << "," << c.byte;
  }
}

TEST(TokenAtRowByte, StartsInTheStoredBracketStateOnlyWhenAsked) {
  const Owner owner;
  // The second line starts inside the region opened above.
  auto rows = MakeRows({{"a {b", rkReturn}, {"c} d", rkEof}});
  rows->SetBracketStates(1, 0);
  EXPECT_EQ(TokenAtRowByte(*rows, 1, 0, kDefaultParserClass, &owner, true).token.kind, tkBracket);
  EXPECT_EQ(TokenAtRowByte(*rows, 1, 0, kDefaultParserClass, &owner, false).token.kind, tkAnkWord);
}

}  // namespace
}  // namespace editor
