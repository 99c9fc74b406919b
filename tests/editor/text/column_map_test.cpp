#include "editor/text/column_map.h"

#include <gtest/gtest.h>

#include <string>

#include "editor/text/delimiters.h"

namespace {

using editor::ColumnMap;
using editor::DisplayLength;
using editor::DisplayText;
using editor::TColumnMapSettings;

TColumnMapSettings Settings(int tab, bool wrap = false, int wrapWidth = 80) {
  TColumnMapSettings s;
  s.TabWidth = tab;
  s.WordWrap = wrap;
  s.WrapWidth = wrapWidth;
  return s;
}

TEST(DefaultDelimiters, HoldsPunctuationButNotWordBytes) {
  const auto set = editor::DefaultDelimiters();
  std::string delimiters;
  for (int b = 0; b < 256; ++b)
    if (set.test(static_cast<std::size_t>(b))) delimiters += static_cast<char>(b);
  std::string expected;
  auto add = [&](int from, int to) {
    for (int b = from; b <= to; ++b) expected += static_cast<char>(b);
  };
  add(0, 47), add(58, 64), add(91, 94), add(96, 96), add(123, 128), add(160, 165), add(253, 255);
  EXPECT_EQ(delimiters, expected);
  EXPECT_FALSE(set.test('_'));
  EXPECT_FALSE(set.test(0xA6));
  EXPECT_FALSE(set.test(0xDF));
  EXPECT_TRUE(set.test(0xA1));
}

TEST(ColumnMap, CodesAndTabs) {
  struct Case {
    std::string text;
    TColumnMapSettings settings;
    std::string map, shown;
  } cases[] = {
      {"a\tb", Settings(8), "123333331", "a       b"},
      {"abc_def,ghi", Settings(8), "11111112111", "abc_def,ghi"},
      {"\xA6\xDF\xA1", Settings(8), "112", "\xA6\xDF\xA1"},  // half-width kana are words
      {"x\x93\xFA"
       "y",
       Settings(8), "1451", "x\x93\xFAy"},
      // the user-defined area, led by 0xF0-0xFC, is double-byte too
      {"\xF0\x40\xFC\xFC"
       "a",
       Settings(8), "45451",
       "\xF0\x40\xFC\xFC"
       "a"},
      {"\t", Settings(4), "2333", "    "},
      {"abc\t", Settings(4), "1112", "abc "},  // a tab just before its stop has no filler
      {"\x81\x40\t", Settings(4), "4523", "\x81\x40  "},
      // wrap width 20: a tab at column 18 stops at 20, before the tab stop 24
      {std::string(18, 'a') + "\tb", Settings(8, true, 20), std::string(18, '1') + "231",
       std::string(18, 'a') + "  b"},
      // word wrap off: the wrap width plays no part
      {std::string(18, 'a') + "\tb", Settings(8, false, 20), std::string(18, '1') + "2333331",
       std::string(18, 'a') + "      b"},
      // broken input: a lead byte at the end still takes two columns, also
      // in the display text
      {"a\x82", Settings(8), "145", "a\x82 "},
      {"\t\xFC", Settings(4), "233345", "    \xFC "},
      // a lead byte swallows the byte after it, even a tab
      {"\x82\tb", Settings(8), "451", "\x82\tb"},
      {"", Settings(8), "", ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ColumnMap(c.text, c.settings), c.map) << c.text;
    EXPECT_EQ(DisplayText(c.text, c.settings), c.shown) << c.text;
    EXPECT_EQ(DisplayLength(c.text, c.settings), static_cast<int>(c.map.size())) << c.text;
    // one byte of display text per column
    EXPECT_EQ(DisplayText(c.text, c.settings).size(),
              static_cast<std::size_t>(DisplayLength(c.text, c.settings)))
        << c.text;
  }
}

TEST(ColumnMap, AppendKeepsWhatIsThere) {
  std::string map = "x";
  editor::AppendColumnMap("a\x82\xA0", Settings(8), map);
  EXPECT_EQ(map, "x145");
}

TEST(ColumnMap, ByteIndexOfColumnSkipsFillers) {
  const std::string map = "1233333311";
  EXPECT_EQ(editor::ByteIndexOfColumn(map, 9), 3);
  EXPECT_EQ(editor::ByteIndexOfColumn(map, 1), 1);
  EXPECT_EQ(editor::ByteIndexOfColumn(map, 0), 0);
  // beyond the end of the row the value is not limited
  EXPECT_EQ(editor::ByteIndexOfColumn(map, 14), 8);
}

TEST(ColumnMap, TabFillersStopAtTheNearerStop) {
  struct Case {
    int column, tab;
    bool wrap;
    int wrapWidth, expected;
  } cases[] = {
      {0, 8, false, 80, 7}, {7, 8, false, 80, 0}, {9, 8, false, 80, 6},
      {18, 8, true, 20, 1}, {19, 8, true, 20, 0}, {20, 8, true, 20, 3},
      {78, 8, true, 80, 1}, {79, 8, true, 80, 0}, {5, 2, false, 80, 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(editor::TabFillerCount(c.column, Settings(c.tab, c.wrap, c.wrapWidth)), c.expected)
        << c.column;
  }
}

}  // namespace
