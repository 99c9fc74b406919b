#include "editor/text/wrap_walk.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <utility>
#include <vector>

#include "editor/colour/attribute_array.h"
#include "editor/text/column_map.h"
#include "editor/text/dbcs.h"
#include "editor/text/wrap_option.h"
#include "platform/cp932.h"

namespace {

using editor::rkReturn;
using editor::rkWrap;
using editor::TColumnMapSettings;
using editor::TEditorWrapOption;
using editor::TRowEndKind;
using editor::TWrapWalk;

using Rows = std::vector<std::pair<std::string, TRowEndKind>>;

std::string Sjis(const char* utf8) {
  return platform::Utf8ToCp932(utf8).value();
}
std::string Repeat(const std::string& s, int n) {
  std::string r;
  for (int i = 0; i < n; ++i) r += s;
  return r;
}
std::string A(int n) {
  return std::string(static_cast<std::size_t>(n), 'a');
}

struct Options {
  int wrap_byte = 80;
  bool word_break = false, hang = false, leading = false, follow_ret = false;
  int tab = 8;
};

void Apply(const Options& o, TEditorWrapOption& option) {
  option.SetWrapByte(o.wrap_byte);
  option.SetWordBreak(o.word_break);
  option.SetFollowPunctuation(o.hang);
  option.SetLeading(o.leading);
  option.SetFollowRetMark(o.follow_ret);
}

TColumnMapSettings Columns(int tab) {
  TColumnMapSettings columns;
  columns.TabWidth = tab;
  return columns;
}

Rows Cut(const std::string& line, const Options& o = {}) {
  TEditorWrapOption option;
  Apply(o, option);
  TWrapWalk walk(option, Columns(o.tab));
  Rows rows;
  for (const auto& row : walk.CutLine(line))
    rows.emplace_back(line.substr(row.Start, row.Length), row.EndKind);
  EXPECT_EQ(walk.WrapCount(line), static_cast<int>(rows.size()));
  return rows;
}

struct Case {
  const char* what;
  std::string line;
  Options options;
  Rows rows;
};

void RunCases(const std::vector<Case>& cases) {
  for (const auto& c : cases) EXPECT_EQ(Cut(c.line, c.options), c.rows) << c.what;
}

const std::string kA = Sjis("あ");
const std::string kMaru = Sjis("。");
const std::string kOpen = Sjis("「");
const std::string kClose = Sjis("」");

TEST(WrapWalk, RowWidthAndDoubleByteCharacters) {
  Options retmark;
  retmark.follow_ret = true;
  RunCases({
      {"79 columns fit", A(79), {}, {{A(79), rkReturn}}},
      {"80 columns: full row and an empty row", A(80), {}, {{A(80), rkWrap}, {"", rkReturn}}},
      {"80 columns, break kept on the full row", A(80), retmark, {{A(80), rkReturn}}},
      {"81 columns", A(81), {}, {{A(80), rkWrap}, {"a", rkReturn}}},
      {"a double-byte character over the margin moves down",
       A(79) + kA,
       {},
       {{A(79), rkWrap}, {kA, rkReturn}}},
      {"a double-byte character ending at the margin stays",
       A(78) + kA + "b",
       {},
       {{A(78) + kA, rkWrap}, {"b", rkReturn}}},
      {"several rows", A(200), {}, {{A(80), rkWrap}, {A(80), rkWrap}, {A(40), rkReturn}}},
      {"exactly two full rows", A(160), retmark, {{A(80), rkWrap}, {A(80), rkReturn}}},
      {"wrap width 20",
       Repeat(kA, 15),
       Options{20},
       {{Repeat(kA, 10), rkWrap}, {Repeat(kA, 5), rkReturn}}},
      {"empty line", "", {}, {{"", rkReturn}}},
  });
}

TEST(WrapWalk, WordBreak) {
  Options on;
  on.word_break = true;
  RunCases({
      {"breaks after the space before the cut word",
       A(70) + " " + std::string(20, 'b'),
       on,
       {{A(70) + " ", rkWrap}, {std::string(20, 'b'), rkReturn}}},
      {"a space too far back: cut at 27 columns",
       A(10) + " " + std::string(100, 'b'),
       on,
       {{A(10) + " " + std::string(16, 'b'), rkWrap},
        {std::string(27, 'b'), rkWrap},
        {std::string(57, 'b'), rkReturn}}},
      {"the space 26 columns into the row is still used",
       A(26) + " " + std::string(60, 'b'),
       on,
       {{A(26) + " ", rkWrap}, {std::string(60, 'b'), rkReturn}}},
      {"a double-byte character ends a row like a delimiter",
       A(60) + kA + std::string(30, 'b'),
       on,
       {{A(60) + kA, rkWrap}, {std::string(30, 'b'), rkReturn}}},
      {"a line that just fits is not broken",
       A(70) + " " + A(9),
       on,
       {{A(70) + " " + A(9), rkWrap}, {"", rkReturn}}},
      {"nor is a last row that just fits",
       A(70) + " " + A(80),
       on,
       {{A(70) + " ", rkWrap}, {A(80), rkWrap}, {"", rkReturn}}},
      {"off: cut at the margin",
       A(70) + " " + std::string(20, 'b'),
       {},
       {{A(70) + " " + std::string(9, 'b'), rkWrap}, {std::string(11, 'b'), rkReturn}}},
  });
}

TEST(WrapWalk, HangingPunctuation) {
  Options on;
  on.hang = true;
  RunCases({
      {"a full stop after the margin hangs",
       A(80) + kMaru + "b",
       on,
       {{A(80) + kMaru, rkWrap}, {"b", rkReturn}}},
      {"off: it starts the next row",
       A(80) + kMaru + "b",
       {},
       {{A(80), rkWrap}, {kMaru + "b", rkReturn}}},
      {"at most two more while the row is at most 82 wide",
       A(80) + Repeat(kMaru, 3),
       on,
       {{A(80) + Repeat(kMaru, 2), rkWrap}, {kMaru, rkReturn}}},
      {"single-byte punctuation up to 83 columns",
       A(80) + "....",
       on,
       {{A(80) + "...", rkWrap}, {".", rkReturn}}},
      {"a straddling full stop is pulled back whole",
       A(79) + kMaru + "b",
       on,
       {{A(79) + kMaru, rkWrap}, {"b", rkReturn}}},
      {"hanging to the end of the line leaves the line break its own row",
       A(80) + kMaru,
       on,
       {{A(80) + kMaru, rkWrap}, {"", rkReturn}}},
  });
}

TEST(WrapWalk, CharactersThatMayNotEndOrBeginARow) {
  Options on;
  on.leading = true;
  RunCases({
      {"an opening bracket before the margin moves down",
       A(78) + kOpen + "bb",
       on,
       {{A(78), rkWrap}, {kOpen + "bb", rkReturn}}},
      {"a closing bracket after the margin pulls the character before it down",
       A(78) + kA + kClose + "b",
       on,
       {{A(78), rkWrap}, {kA + kClose + "b", rkReturn}}},
      {"off: no rule",
       A(78) + kA + kClose + "b",
       {},
       {{A(78) + kA, rkWrap}, {kClose + "b", rkReturn}}},
      {"a two-column character before a full stop",
       A(78) + kA + kMaru,
       on,
       {{A(78), rkWrap}, {kA + kMaru, rkReturn}}},
      {"a closing bracket straddling the margin",
       A(79) + kClose + "b",
       on,
       {{A(78), rkWrap}, {"a" + kClose + "b", rkReturn}}},
      {"a single-byte closer as the last character of the line",
       A(80) + ")",
       on,
       {{A(79), rkWrap}, {"a)", rkReturn}}},
      {"opener and closer in a chain",
       A(76) + kOpen + kA + kClose,
       on,
       {{A(76), rkWrap}, {kOpen + kA + kClose, rkReturn}}},
      {"a tab before the margin: rules count columns, not bytes",
       "\t" + A(70) + kOpen + "b",
       on,
       {{"\t" + A(70), rkWrap}, {kOpen + "b", rkReturn}}},
      {"the row keeps at least 64 columns",
       Repeat(kOpen, 50),
       on,
       {{Repeat(kOpen, 32), rkWrap}, {Repeat(kOpen, 18), rkReturn}}},
  });
}

TEST(WrapWalk, HangingThenKinsoku) {
  Options both;
  both.hang = true;
  both.leading = true;
  RunCases({
      // the hung full stop is followed by a closer: both go down with the
      // character before them
      {"hung full stop before a closer",
       A(78) + kA + kMaru + kClose,
       both,
       {{A(78), rkWrap}, {kA + kMaru + kClose, rkReturn}}},
      {"hung full stop",
       A(78) + kA + kMaru + "b",
       both,
       {{A(78) + kA + kMaru, rkWrap}, {"b", rkReturn}}},
  });
}

// Lines made only of characters the rules move: every row still takes at
// least the rules' minimum width, so the walk always reaches the end.
TEST(WrapWalk, RowsOfForbiddenCharactersStillAdvance) {
  for (int width : {20, 21, 80, 250}) {
    Options all;
    all.wrap_byte = width;
    all.word_break = all.hang = all.leading = true;
    for (const std::string& unit : {kClose, kOpen, kMaru, std::string(")"), kOpen + kClose}) {
      const std::string line = Repeat(unit, 400);
      const Rows rows = Cut(line, all);
      std::string joined;
      for (const auto& row : rows) joined += row.first;
      EXPECT_EQ(joined, line) << width;
      EXPECT_LE(rows.size(), line.size() / (width / 5 * 4 - 2) + 2) << width;
    }
  }
}

TEST(WrapWalk, TabsStopAtMultiplesOfTheWrapWidth) {
  Options w30;
  w30.wrap_byte = 30;
  RunCases({
      // at column 27 the tab stop would be 32; the row ends at 30 instead
      {"a tab stops at the wrap width",
       A(27) + "\tb",
       w30,
       {{A(27) + "\t", rkWrap}, {"b", rkReturn}}},
      // counted from the start of the line: the second row's tab stops at 60
      {"and at its multiples",
       A(27) + "\t" + A(27) + "\tb",
       w30,
       {{A(27) + "\t", rkWrap}, {A(27) + "\t", rkWrap}, {"b", rkReturn}}},
      {"a tab at the margin", A(79) + "\tb", {}, {{A(79) + "\t", rkWrap}, {"b", rkReturn}}},
      {"a row of tabs",
       std::string(12, '\t'),
       {},
       {{std::string(10, '\t'), rkWrap}, {std::string(2, '\t'), rkReturn}}},
  });
}

TEST(WrapWalk, ARowNeverStartsInsideATab) {
  // The hung full stop shifts the second row so that it ends on a tab with
  // seven filler columns after it. The third row starts at the byte after the
  // tab; counting the fillers as its first columns would let word break cut
  // it back onto them and leave it without a byte.
  Options o;
  o.wrap_byte = 20;
  o.word_break = true;
  o.hang = true;
  RunCases({
      {"fillers stay with their tab",
       A(19) + " ." + A(19) + "\t" + A(30),
       o,
       {{A(19) + " .", rkWrap},
        {A(19) + "\t", rkWrap},
        {A(7), rkWrap},
        {A(7), rkWrap},
        {A(16), rkReturn}}},
  });
}

TEST(WrapWalk, BrokenDoubleByteInput) {
  Options retmark;
  retmark.follow_ret = true;
  RunCases({
      {"a lone lead byte at the end fits", A(77) + "\x82", {}, {{A(77) + "\x82", rkReturn}}},
      {"a lone lead byte fills the row",
       A(78) + "\x82",
       {},
       {{A(78) + "\x82", rkWrap}, {"", rkReturn}}},
      {"a lone lead byte over the margin",
       A(79) + "\x82",
       {},
       {{A(79), rkWrap}, {"\x82", rkReturn}}},
      {"and with the break kept", A(78) + "\x82", retmark, {{A(78) + "\x82", rkReturn}}},
  });
}

TEST(WrapWalk, WrapTextCutsEveryLine) {
  TEditorWrapOption option;
  TWrapWalk walk(option, Columns(8));
  auto wrap = [&](const std::string& text, bool word_wrap) {
    Rows rows;
    walk.WrapText(text, word_wrap, [&](std::string_view row, TRowEndKind kind) {
      rows.emplace_back(std::string(row), kind);
    });
    return rows;
  };
  EXPECT_EQ(wrap("", true), (Rows{{"", rkReturn}}));
  EXPECT_EQ(wrap("", false), (Rows{{"", rkReturn}}));
  EXPECT_EQ(wrap("a\r\n", true), (Rows{{"a", rkReturn}}));
  EXPECT_EQ(wrap("a\r\nb\rc\n", true), (Rows{{"a", rkReturn}, {"b", rkReturn}, {"c", rkReturn}}));
  EXPECT_EQ(wrap(A(90) + "\r\nb", true),
            (Rows{{A(80), rkWrap}, {A(10), rkReturn}, {"b", rkReturn}}));
  EXPECT_EQ(wrap(A(90) + "\r\nb", false), (Rows{{A(90), rkReturn}, {"b", rkReturn}}));
}

TEST(WrapWalk, FollowsOptionChanges) {
  TEditorWrapOption option;
  TWrapWalk walk(option, Columns(8));
  EXPECT_EQ(walk.WrapCount(A(100)), 2);
  option.SetWrapByte(20);
  EXPECT_EQ(walk.WrapCount(A(100)), 6);
}

// Random lines of the characters the rules care about, under random options:
// every row is cut at a character boundary, the rows give back the line, no
// row but the last is empty, widths stay within their limits, and the walk
// always ends.
TEST(WrapWalk, RandomLinesKeepTheRowRules) {
  std::mt19937 random(20001122);
  const std::vector<std::string> pieces = {
      "a",    "b",        " ",        ",",        ".",        "(",       ")",
      "\t",   "\xB1",     "\xA1",     "\xA2",     kA,         kMaru,     kOpen,
      kClose, Sjis("、"), Sjis("ー"), Sjis("漢"), Sjis("　"), "\x82\x40" /* trail 0x40 */};
  for (int round = 0; round < 3000; ++round) {
    Options o;
    o.wrap_byte = std::uniform_int_distribution<int>(20, 90)(random);
    o.word_break = random() % 2;
    o.hang = random() % 2;
    o.leading = random() % 2;
    o.follow_ret = random() % 2;
    o.tab = 2 * std::uniform_int_distribution<int>(1, 4)(random);
    std::string line;
    const int length = std::uniform_int_distribution<int>(0, 400)(random);
    for (int i = 0; i < length; ++i) line += pieces[random() % pieces.size()];
    if (random() % 10 == 0) line += "\x82";  // broken: a lead byte at the end

    const Rows rows = Cut(line, o);
    ASSERT_FALSE(rows.empty());
    std::string joined;
    TColumnMapSettings columns = Columns(o.tab);
    columns.WordWrap = true;
    columns.WrapWidth = o.wrap_byte;
    const std::string map = editor::ColumnMap(line, columns);
    // the column of every byte: every map cell but a tab filler is one byte
    std::vector<int> column_of_byte;
    for (std::size_t c = 0; c < map.size(); ++c)
      if (map[c] != editor::kCellTabFiller) column_of_byte.push_back(static_cast<int>(c));
    column_of_byte.resize(line.size() + 1, static_cast<int>(map.size()));
    column_of_byte[line.size()] = static_cast<int>(map.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
      const auto& [text, kind] = rows[i];
      const bool last = i + 1 == rows.size();
      EXPECT_EQ(kind, last ? rkReturn : rkWrap);
      if (!last) {
        EXPECT_FALSE(text.empty()) << "row " << i << " of " << line;
      }
      const std::size_t start = joined.size();
      if (!text.empty()) {
        EXPECT_FALSE(editor::IsTrailByteAt(line, static_cast<int>(start) + 1))
            << "row " << i << " starts inside a character: " << line;
        // columns from the row's first byte to its last, a tab counting one
        const int width = column_of_byte[start + text.size() - 1] - column_of_byte[start] + 1;
        EXPECT_LE(width, o.wrap_byte + 4) << line;
        if (!last) {
          EXPECT_GE(width, o.wrap_byte / 3 - 1) << line;
        }
      }
      joined += text;
    }
    ASSERT_EQ(joined, line);

    // The walk over the attribute array cuts the same rows.
    if (map.size() >= static_cast<std::size_t>(o.wrap_byte)) {
      TEditorWrapOption option;
      Apply(o, option);
      editor::TEditorAttributeArray cells(line, map);
      std::vector<editor::TWrappedRow> cut;
      editor::WalkRows(cells, line, option, cut);
      ASSERT_EQ(cut.size(), rows.size()) << line;
      std::size_t start = 0;
      for (std::size_t i = 0; i < cut.size(); ++i) {
        EXPECT_EQ(cut[i].Start, start);
        EXPECT_EQ(line.substr(cut[i].Start, cut[i].Length), rows[i].first);
        EXPECT_EQ(cut[i].EndKind, rows[i].second);
        start += cut[i].Length;
      }
    }
    if (map.size() < static_cast<std::size_t>(o.wrap_byte)) {
      EXPECT_EQ(rows.size(), 1u);
    }
  }
}

}  // namespace
