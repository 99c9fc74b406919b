#include "editor/text/screen_strings.h"

#include <gtest/gtest.h>

#include "editor/text/wrap_option.h"
#include "tests/editor/text/test_client.h"

namespace editor {
namespace {

using testing::DescribeRows;
using testing::SetRows;
using testing::TestClient;

class ScreenStringsTest : public ::testing::Test {
 protected:
  ScreenStringsTest() {
    client.Watch(&rows);
    rows.AddClient(&client);
  }
  TEditorScreenStrings rows;
  TestClient client;
};

struct ReplaceCase {
  const char* name;
  const char* before;  // compact rows, see DescribeRows
  int index, count;
  const char* text;
  const char* after;
  int change_row, change_old, change_new;
};

TEST_F(ScreenStringsTest, ReplaceRowsWithoutWrap) {
  const ReplaceCase cases[] = {
      {"insert a line into an empty list", "", 0, 0, "x\r\n", "x|", 0, 0, 1},
      {"insert text without a line break", "", 0, 0, "x", "x$", 0, 0, 1},
      {"delete the last line", "a|b$", 1, 1, "", "a|", 1, 1, 0},
      {"delete a middle line", "a|b|c$", 1, 1, "", "a|c$", 1, 1, 0},
      {"delete every line", "a|b|", 0, 2, "", "", 0, 2, 0},
      {"a line without its break joins the next", "a|b|", 0, 1, "x", "xb|", 0, 2, 1},
      {"type into a middle row", "abc|def|ghi$", 1, 1, "dXef\r\n", "abc|dXef|ghi$", 1, 2, 2},
      {"split a row", "abc|def|ghi$", 1, 1, "d\r\nef\r\n", "abc|d|ef|ghi$", 1, 2, 3},
      {"join two rows", "abc|def|ghi$", 0, 2, "abcdef\r\n", "abcdef|ghi$", 0, 3, 2},
      {"insert at the start", "abc|", 0, 0, "x", "xabc|", 0, 1, 1},
      {"insert a line at the start", "abc$", 0, 0, "x\r\n", "x|abc$", 0, 1, 2},
      {"type into the last row", "ab|cd$", 1, 1, "cXd", "ab|cXd$", 1, 1, 1},
      {"the last row gains a line break", "ab|cd$", 1, 1, "cd\r\n", "ab|cd|", 1, 1, 1},
      {"append after a final line break", "ab|", 1, 0, "c", "ab|c$", 1, 0, 1},
      // Text put after a last row without a line break joins that row
      // instead of leaving an rkEof row in the middle.
      {"append after the last row", "ab$", 1, 0, "c", "abc$", 0, 1, 1},
      {"append a line after the last row", "ab$", 1, 0, "\r\nc\r\n", "ab|c|", 0, 1, 2},
      // An empty last row without a line break adds nothing after the text
      // put before it, so the break that text ends with is kept.
      {"a line break before an empty last row stays", "a|$", 0, 1, "x\r\n", "x|", 0, 2, 1},
      // A lone CR at the end of the text is a line break too.
      {"text ending in a lone CR", "", 0, 0, "x\r", "x|", 0, 0, 1},
      {"every line break form", "", 0, 0, "a\rb\nc\n\rd", "a|b|c||d$", 0, 0, 5},
  };
  for (const ReplaceCase& c : cases) {
    SCOPED_TRACE(c.name);
    SetRows(rows, c.before);
    client.changes.clear();
    rows.ReplaceRows(c.index, c.count, c.text);
    EXPECT_EQ(DescribeRows(rows), c.after);
    ASSERT_EQ(client.changes.size(), 1u);
    EXPECT_TRUE(client.changes[0].recorded);
    EXPECT_EQ(client.changes[0].row, c.change_row);
    EXPECT_EQ(client.changes[0].old_count, c.change_old);
    EXPECT_EQ(client.changes[0].new_count, c.change_new);
    EXPECT_FALSE(rows.ChangeRecorded());
    EXPECT_EQ(rows.UndoObj().UndoList().Count(), 1);
    rows.Undo();
    EXPECT_EQ(DescribeRows(rows), c.before);
    rows.Redo();
    EXPECT_EQ(DescribeRows(rows), c.after);
  }
}

TEST_F(ScreenStringsTest, ReplaceRowsOutsideItsPreconditionsDoesNothing) {
  SetRows(rows, "a|b$");
  client.changes.clear();
  rows.ReplaceRows(-1, 0, "x");
  rows.ReplaceRows(1, 2, "x");
  rows.ReplaceRows(3, 0, "x");
  rows.ReplaceRows(0, -1, "x");
  rows.ReplaceRows(1, 0, "");
  EXPECT_EQ(DescribeRows(rows), "a|b$");
  EXPECT_TRUE(client.changes.empty());
  EXPECT_FALSE(rows.CanUndo());
}

TEST_F(ScreenStringsTest, GetRowsTextJoinsRowsAndReportsTheLastKind) {
  SetRows(rows, "ab~cd|ef$");
  TRowEndKind kind;
  int count;
  std::string text;
  rows.GetRowsText(0, -1, kind, count, text);
  EXPECT_EQ(text, "abcd\r\n");
  EXPECT_EQ(kind, rkReturn);
  EXPECT_EQ(count, 2);
  rows.GetRowsText(1, 5, kind, count, text);
  EXPECT_EQ(text, "cd\r\nef");
  EXPECT_EQ(kind, rkEof);
  EXPECT_EQ(count, 2);
  rows.GetRowsText(3, 1, kind, count, text);
  EXPECT_EQ(text, "");
  EXPECT_EQ(kind, rkNone);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(rows.FirstRowOfLine(1), 0);
  EXPECT_EQ(rows.LastRowOfLine(0), 1);
  EXPECT_EQ(rows.LastRowOfLine(2), 2);
  EXPECT_EQ(rows.FirstRowOfLine(7), 7);
  std::string s = "x";
  AppendLineBreak(rows, 1, s);
  AppendLineBreak(rows, 2, s);
  AppendLineBreak(rows, 3, s);
  EXPECT_EQ(s, "x\r\n");
}

TEST_F(ScreenStringsTest, ClientsAreKeptInsideTheText) {
  struct Case {
    const char* rows;
    int expected;
  };
  // After a final line break the caret may stand on the row below it.
  const Case cases[] = {{"a|b|", 2}, {"a|b$", 1}, {"", 0}};
  for (const Case& c : cases) {
    SetRows(rows, c.rows);
    client.row = client.top_row = 9;
    rows.ClampClients();
    EXPECT_EQ(client.row, c.expected) << c.rows;
    EXPECT_EQ(client.top_row, c.expected) << c.rows;
  }
  SetRows(rows, "a|b|c|");
  client.row = 2;
  rows.ReplaceRows(1, 2, "");  // the end of the update clamps
  EXPECT_EQ(client.row, 1);
}

TEST_F(ScreenStringsTest, ClearEmptiesRowsUndoAndCarets) {
  rows.ReplaceRows(0, 0, "a\r\nb\r\n");
  client.row = 2;
  client.col = 3;
  client.selected = true;
  client.changes.clear();
  rows.Clear();
  EXPECT_EQ(rows.GetCount(), 0);
  EXPECT_FALSE(rows.CanUndo());
  EXPECT_EQ(client.row, 0);
  EXPECT_EQ(client.col, 0);
  EXPECT_FALSE(client.selected);
  ASSERT_EQ(client.changes.size(), 1u);
  EXPECT_FALSE(rows.ChangeRecorded());
}

TEST_F(ScreenStringsTest, EveryClientHearsOfAChangeOnceAndTheLastToLeaveFreesTheList) {
  auto* shared = new TEditorScreenStrings;
  TestClient first(shared), second(shared);
  shared->AddClient(&first);
  shared->AddClient(&second);
  second.focused = true;
  second.row = 4;
  shared->ReplaceRows(0, 0, "x\r\n");
  EXPECT_EQ(first.changes.size(), 1u);
  EXPECT_EQ(second.changes.size(), 1u);
  EXPECT_EQ(shared->ActiveClient(), &second);
  EXPECT_EQ(shared->UndoObj().UndoList()[0].CaretRow, 4);  // the focused client's caret
  RemoveClient(shared, &first);
  ASSERT_NE(shared, nullptr);
  EXPECT_EQ(shared->FirstClient(), &second);
  RemoveClient(shared, &second);
  EXPECT_EQ(shared, nullptr);
}

TEST_F(ScreenStringsTest, WrappedRowsAreReWrappedFromTheRowAbove) {
  rows.WrapOption().SetWrapByte(20);
  rows.SetWordWrap(true);
  const std::string line(45, 'a');
  rows.ReplaceRows(0, 0, "top\r\n" + line + "\r\n");
  EXPECT_EQ(DescribeRows(rows), "top|" + std::string(20, 'a') + "~" + std::string(20, 'a') + "~" +
                                    std::string(5, 'a') + "|");
  client.changes.clear();
  // Typing at the start of the third row of the line.
  rows.ReplaceRows(3, 1, "b" + std::string(5, 'a') + "\r\n");
  EXPECT_EQ(DescribeRows(rows), "top|" + std::string(20, 'a') + "~" + std::string(20, 'a') + "~b" +
                                    std::string(5, 'a') + "|");
  ASSERT_EQ(client.changes.size(), 1u);
  EXPECT_EQ(client.changes[0].row, 2);  // the row above; rows 0 and 1 untouched
  EXPECT_EQ(client.changes[0].old_count, 2);
  EXPECT_EQ(client.changes[0].new_count, 2);
  EXPECT_EQ(rows.Get(0), "top");
}

TEST_F(ScreenStringsTest, ABreakPutBeforeTheEmptyRowAfterAFullLastRowStays) {
  rows.WrapOption().SetWrapByte(20);
  rows.SetWordWrap(true);
  const std::string full(20, 'a');
  // A last line exactly as wide as the rows leaves an empty last row.
  rows.ReplaceRows(0, 0, full);
  ASSERT_EQ(DescribeRows(rows), full + "~$");
  rows.ReplaceRows(0, 1, full + "\r\n");
  EXPECT_EQ(DescribeRows(rows), full + "~|");
  rows.Undo();
  EXPECT_EQ(DescribeRows(rows), full + "~$");
  rows.Redo();
  EXPECT_EQ(DescribeRows(rows), full + "~|");

  // Deleting the full row of such a last line leaves no empty line behind.
  SetRows(rows, "top|" + full + "~$");
  rows.ReplaceRows(1, 1, "");
  EXPECT_EQ(DescribeRows(rows), "top|");
  rows.Undo();
  EXPECT_EQ(DescribeRows(rows), "top|" + full + "~$");
}

TEST_F(ScreenStringsTest, TextAddedAfterAWrappedLastLineIsWrappedAsTheWholeLine) {
  rows.WrapOption().SetWrapByte(20);
  rows.WrapOption().SetLeading(true);
  rows.SetWordWrap(true);
  rows.ReplaceRows(0, 0, std::string(20, 'a'));
  ASSERT_EQ(DescribeRows(rows), std::string(20, 'a') + "~$");
  // A closing bracket may not start a row: the letter before it goes along.
  rows.ReplaceRows(2, 0, "\x81\x76");
  EXPECT_EQ(DescribeRows(rows), std::string(19, 'a') + "~a\x81\x76$");
  TEditorStringList fresh;
  rows.WrapText(std::string(20, 'a') + "\x81\x76", fresh);
  EXPECT_EQ(fresh.Get(0), rows.Get(0));
}

TEST_F(ScreenStringsTest, SwitchingWordWrapKeepsTheTextAndEmptiesUndo) {
  rows.WrapOption().SetWrapByte(20);
  rows.ReplaceRows(0, 0, std::string(30, 'a') + "\r\nb\r\n" + std::string(41, 'c'));
  ASSERT_TRUE(rows.CanUndo());
  client.col = 5;
  rows.SetWordWrap(true);
  EXPECT_EQ(DescribeRows(rows), std::string(20, 'a') + "~" + std::string(10, 'a') + "|b|" +
                                    std::string(20, 'c') + "~" + std::string(20, 'c') + "~c$");
  EXPECT_FALSE(rows.CanUndo());
  EXPECT_EQ(client.col, 0);
  rows.ReplaceRows(0, 0, "x");
  rows.SetWordWrap(false);
  EXPECT_EQ(DescribeRows(rows), "x" + std::string(30, 'a') + "|b|" + std::string(41, 'c') + "$");
  EXPECT_FALSE(rows.CanUndo());
}

TEST_F(ScreenStringsTest, AWrapOptionChangeReWrapsOnlyWhileWrapping) {
  rows.ReplaceRows(0, 0, std::string(50, 'a') + "\r\n" + std::string(10, 'b') + "\r\n");
  rows.WrapOption().SetWrapByte(20);
  EXPECT_TRUE(rows.CanUndo());  // not wrapping: nothing re-wrapped, undo kept
  rows.SetWordWrap(true);
  EXPECT_EQ(rows.GetCount(), 4);
  rows.ReplaceRows(0, 0, "x");
  rows.WrapOption().SetWrapByte(25);
  EXPECT_FALSE(rows.CanUndo());
  EXPECT_EQ(DescribeRows(rows), "x" + std::string(24, 'a') + "~" + std::string(25, 'a') + "~a|" +
                                    std::string(10, 'b') + "|");
  // Narrower and wider lines at once, the net row count unchanged.
  rows.WrapOption().SetWrapByte(50);
  EXPECT_EQ(DescribeRows(rows), "x" + std::string(49, 'a') + "~a|" + std::string(10, 'b') + "|");
}

TEST_F(ScreenStringsTest, NothingIsReWrappedWhileTheFirstClientIsLoading) {
  rows.ReplaceRows(0, 0, std::string(50, 'a') + "\r\n");
  client.loading = true;
  rows.WrapOption().SetWrapByte(20);
  rows.SetWordWrap(true);
  EXPECT_TRUE(rows.WordWrap());
  EXPECT_EQ(rows.GetCount(), 1);
  client.loading = false;
  rows.WrapAll();
  EXPECT_EQ(rows.GetCount(), 3);
}

TEST_F(ScreenStringsTest, AnOpenedRegionReachesTwoScreensDownAndTheRestWaitsForPainting) {
  client.AddBrackets("{", "}");
  std::string text;
  for (int i = 0; i < 40; ++i) text += "x\r\n";
  rows.ReplaceRows(0, 0, text);
  rows.UpdateAllBrackets();
  for (int r = 0; r < 40; ++r) ASSERT_EQ(rows.BracketStates(r), -1);
  client.repainted_rows.clear();
  rows.ReplaceRows(5, 1, "{\r\n");
  // Two screens of 160 pixels at 16 pixels a row: 20 rows below the edit.
  EXPECT_EQ(rows.BracketStates(5), -1);
  for (int r = 6; r <= 25; ++r) EXPECT_EQ(rows.BracketStates(r), 0) << r;
  for (int r = 26; r < 40; ++r) EXPECT_EQ(rows.BracketStates(r), -2) << r;
  EXPECT_EQ(client.repainted_rows.front(), 5);
  EXPECT_EQ(client.repainted_rows.back(), 25);
  rows.UpdateBrackets(30, false);  // as painting row 30 asks
  for (int r = 26; r < 40; ++r) EXPECT_EQ(rows.BracketStates(r), 0) << r;
  // Closing the region again: the same two screens, the rest unknown again.
  rows.ReplaceRows(10, 1, "}\r\n");
  EXPECT_EQ(rows.BracketStates(10), 0);
  for (int r = 11; r <= 30; ++r) EXPECT_EQ(rows.BracketStates(r), -1) << r;
  for (int r = 31; r < 40; ++r) EXPECT_EQ(rows.BracketStates(r), -2) << r;
  // An edit whose new states agree with the stored ones below stops at once.
  client.repainted_rows.clear();
  rows.ReplaceRows(12, 1, "y\r\n");
  EXPECT_EQ(client.repainted_rows, (std::vector<int>{12, 13}));  // the two re-wrapped rows
  rows.Undo();
  rows.Undo();
  EXPECT_EQ(rows.BracketStates(30), 0);
}

TEST_F(ScreenStringsTest, ABracketCutByTheWrapIsSeenWhole) {
  client.AddBrackets("/*", "*/");
  rows.WrapOption().SetWrapByte(20);
  rows.SetWordWrap(true);
  rows.ReplaceRows(0, 0, std::string(19, 'a') + "/*bbb\r\nc\r\n");
  ASSERT_EQ(DescribeRows(rows), std::string(19, 'a') + "/~*bbb|c|");
  rows.UpdateAllBrackets();
  EXPECT_EQ(rows.BracketStates(0), -1);
  EXPECT_EQ(rows.BracketStates(1), 0);
  EXPECT_EQ(rows.BracketStates(2), 0);
  EXPECT_EQ(rows.RowHead(1), "*");
}

TEST_F(ScreenStringsTest, RowHeadIsTheFirstTokenWithItsBlanksOrTheLeadingBlanks) {
  struct Case {
    const char* row;
    const char* head;
  };
  const Case cases[] = {{"abc def", "abc "}, {"  abc", "  "}, {"abc", "abc"}, {"", ""}};
  for (const Case& c : cases) {
    SetRows(rows, std::string(c.row) + "|");
    EXPECT_EQ(rows.RowHead(0), c.head) << c.row;
  }
}

TEST_F(ScreenStringsTest, WithoutBracketItemsEveryRowHasNoRegionAndNoLexerRuns) {
  rows.ReplaceRows(0, 0, "{\r\n{\r\n");
  rows.UpdateAllBrackets();
  EXPECT_EQ(rows.BracketStates(0), -1);
  EXPECT_EQ(rows.BracketStates(1), -1);
  EXPECT_EQ(client.parsers_made, 0);
}

TEST(ScreenStringsFactoriesTest, ADescendantsUndoObjectAndWrapOptionsAreTheOnesUsed) {
  struct OwnUndo : TEditorUndoObj {
    using TEditorUndoObj::TEditorUndoObj;
  };
  struct OwnOption : TEditorWrapOption {};
  struct OwnRows : TEditorScreenStrings {
    std::unique_ptr<TEditorUndoObj> CreateUndoObj() override {
      return std::make_unique<OwnUndo>(*this);
    }
    std::unique_ptr<TEditorWrapOption> CreateWrapOption() override {
      auto option = std::make_unique<OwnOption>();
      option->SetOnChange([this](platform::TObject*) { WrapOptionChanged(); });
      return option;
    }
  };
  OwnRows rows;
  rows.ReplaceRows(0, 0, "x\r\n");
  EXPECT_NE(dynamic_cast<OwnUndo*>(&rows.UndoObj()), nullptr);
  EXPECT_NE(dynamic_cast<OwnOption*>(&rows.WrapOption()), nullptr);
  EXPECT_TRUE(rows.CanUndo());
}

}  // namespace
}  // namespace editor
