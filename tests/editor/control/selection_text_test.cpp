#include "editor/control/selection_text.h"

#include <gtest/gtest.h>

#include "tests/editor/control/rows_fixture.h"

namespace editor {
namespace {

using testing::MakeRows;

// あいう: three double-byte characters over columns 0-5.
constexpr const char* kAiu = "\x82\xa0\x82\xa2\x82\xa4";

TSelectionExtent Stream(int start_row, int start_byte, int end_row, int end_byte) {
  TSelectionExtent s;
  s.StartRow = start_row;
  s.StartByte = start_byte;
  s.EndRow = end_row;
  s.EndByte = end_byte;
  return s;
}

TSelectionExtent Box(int start_row, int end_row, int start_col, int end_col) {
  TSelectionExtent s;
  s.Box = true;
  s.StartRow = start_row;
  s.EndRow = end_row;
  s.StartCol = start_col;
  s.EndCol = end_col;
  return s;
}

void ExpectSelection(const TEditorScreenStrings& rows, const TSelectionExtent& extent,
                     const std::string& text) {
  EXPECT_EQ(SelectedText(rows, {}, extent), text);
  EXPECT_EQ(SelectedLength(rows, {}, extent), static_cast<int>(text.size()));
}

TEST(SelectedText, StreamRunsFromByteToByteWithBreaksAtLineEnds) {
  auto rows = MakeRows({{"ab"}, {"cd", rkEof}});
  ExpectSelection(*rows, Stream(0, 1, 1, 0), "b\r\nc");
  ExpectSelection(*rows, Stream(0, 0, 1, 1), "ab\r\ncd");
  // Nothing of the last row.
  ExpectSelection(*rows, Stream(0, 1, 1, -1), "b\r\n");

  // Wrapped rows of one line join without a break.
  auto wrapped = MakeRows({{"abc", rkWrap}, {"def"}, {"gh"}, {"ij", rkEof}});
  ExpectSelection(*wrapped, Stream(0, 1, 3, 0), "bcdef\r\ngh\r\ni");
  ExpectSelection(*wrapped, Stream(0, 2, 1, 0), "cd");

  // Down to the empty row after a final line break.
  auto ended = MakeRows({{"ab"}});
  ExpectSelection(*ended, Stream(0, 0, 1, -1), "ab\r\n");
}

TEST(SelectedText, OneRowTakesTheBytesThatExist) {
  auto rows = MakeRows({{"abcdefg", rkEof}});
  ExpectSelection(*rows, Stream(0, 3, 0, 4), "de");
  ExpectSelection(*rows, Stream(0, 1, 0, 2), "bc");
  ExpectSelection(*rows, Stream(0, 3, 0, 2), "");
  ExpectSelection(*rows, Stream(0, 5, 0, 40), "fg");
  // A box on one row is the same byte range.
  TSelectionExtent box = Stream(0, 3, 0, 4);
  box.Box = true;
  box.StartCol = 0;
  box.EndCol = 7;
  ExpectSelection(*rows, box, "de");
}

TEST(SelectedText, BoxTakesTheCharactersStartingInsideItsColumns) {
  // い starts at column 2 and is inside; あ starts at 0 and う at 4, outside.
  auto rows = MakeRows({{"abcd"}, {kAiu, rkEof}});
  ExpectSelection(*rows, Box(0, 1, 1, 4), "bcd\r\n\x82\xa2\r\n");

  // Short rows give empty lines; every line ends with a break.
  auto ragged = MakeRows({{"abcdef"}, {"ab"}, {"abcdef", rkEof}});
  ExpectSelection(*ragged, Box(0, 2, 3, 5), "de\r\n\r\nde\r\n");
}

TEST(BoxRowBytes, CutsAtCharacterStarts) {
  TColumnMapSettings settings;
  settings.TabWidth = 8;
  struct Case {
    std::string text;
    int start_col, end_col;
    TByteSpan bytes;
  } const cases[] = {
      {kAiu, 1, 4, {2, 2}},  // only い
      {kAiu, 0, 1, {0, 2}},  // the right edge cuts あ: taken whole
      {kAiu, 1, 2, {0, 0}},  // the left edge cuts あ: left out
      {kAiu, 0, 6, {0, 6}},          {"a\tb", 1, 2, {1, 1}},  // a tab belongs where it starts
      {"a\tb", 2, 9, {2, 1}},                                 // its fillers do not
      {"a\tbc", 8, 10, {2, 2}},      {"abc", 5, 9, {0, 0}},   // beyond the row
      {"abc", 2, 1, {0, 0}},                                  // an empty box
      {"a\x82", 1, 3, {1, 1}},                                // a lone lead byte at the end
      {"ab\x82\xa0", -3, 3, {0, 4}},                          // from before the row
  };
  for (const Case& c : cases) {
    EXPECT_EQ(BoxRowBytes(c.text, settings, c.start_col, c.end_col), c.bytes)
        << c.text << " " << c.start_col << ".." << c.end_col;
  }
}

TEST(TextLength, CountsLineBreaksOnlyAfterLineEnds) {
  EXPECT_EQ(TextLength(*MakeRows({{"ab"}, {"c", rkWrap}, {"d", rkEof}})), 6);
  EXPECT_EQ(TextLength(*MakeRows({{"ab"}})), 4);
  EXPECT_EQ(TextLength(*MakeRows({})), 0);
}

}  // namespace
}  // namespace editor
