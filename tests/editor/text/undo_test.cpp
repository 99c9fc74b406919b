#include "editor/text/undo.h"

#include <gtest/gtest.h>

#include "editor/text/screen_strings.h"
#include "editor/text/wrap_option.h"
#include "tests/editor/text/test_client.h"

namespace editor {
namespace {

using testing::DescribeRows;
using testing::SetRows;
using testing::TestClient;

class UndoTest : public ::testing::Test {
 protected:
  UndoTest() {
    client.Watch(&rows);
    rows.AddClient(&client);
  }
  // Types one character at the end of row 0, leaving the caret after it.
  void TypeAtEnd(char c) {
    std::string row = rows.Get(0) + c;
    AppendLineBreak(rows, 0, row);
    rows.ReplaceRows(0, 1, row);
    client.col = static_cast<int>(rows.Get(0).size());
  }
  TEditorScreenStrings rows;
  TestClient client;
};

TEST_F(UndoTest, OnlyTheLastStepsWithinTheLimitCanBeUndone) {
  SetRows(rows, "|");
  for (int i = 0; i < 65; ++i) TypeAtEnd('a');
  EXPECT_EQ(rows.UndoObj().UndoList().Count(), 64);
  while (rows.CanUndo()) rows.Undo();
  EXPECT_EQ(rows.Get(0), "a");  // the first edit is out of reach
  EXPECT_EQ(rows.UndoObj().RedoList().Count(), 64);
}

TEST_F(UndoTest, TheStateNamesATextAgainOnlyWhenUndoOrRedoComesBackToIt) {
  TEditorUndoObj& undo = rows.UndoObj();
  SetRows(rows, "|");
  const std::uint64_t start = undo.State();
  TypeAtEnd('a');
  const std::uint64_t a = undo.State();
  EXPECT_NE(a, start);
  TypeAtEnd('b');
  const std::uint64_t ab = undo.State();
  rows.Undo();
  EXPECT_EQ(undo.State(), a);
  rows.Undo();
  EXPECT_EQ(undo.State(), start);
  rows.Redo();
  rows.Redo();
  EXPECT_EQ(undo.State(), ab);

  // Another edit at the same depth is another text.
  rows.Undo();
  TypeAtEnd('c');
  EXPECT_NE(undo.State(), ab);
  EXPECT_NE(undo.State(), a);

  // Clearing the lists starts a history never seen before.
  const std::uint64_t before_clear = undo.State();
  undo.Clear();
  EXPECT_NE(undo.State(), before_clear);
  EXPECT_NE(undo.State(), start);

  // Past the limit the oldest step goes: undoing all that is left reaches
  // the text after that step, not the text before it.
  SetRows(rows, "|");
  const std::uint64_t fresh = undo.State();
  for (int i = 0; i < TEditorUndoObj::kMinUndoListMax; ++i) TypeAtEnd('x');
  while (rows.CanUndo()) rows.Undo();
  EXPECT_EQ(undo.State(), fresh);  // at the limit exactly, nothing was lost
  while (rows.CanRedo()) rows.Redo();
  TypeAtEnd('y');
  while (rows.CanUndo()) rows.Undo();
  EXPECT_NE(undo.State(), fresh);
  EXPECT_EQ(rows.Get(0), "x");
}

TEST_F(UndoTest, TheLimitCanBeRaisedButNotLoweredBelow64) {
  TEditorUndoObj& undo = rows.UndoObj();
  undo.SetUndoListMax(10);
  EXPECT_EQ(undo.UndoListMax(), 64);
  undo.SetUndoListMax(100);
  EXPECT_EQ(undo.UndoListMax(), 100);
  SetRows(rows, "|");
  for (int i = 0; i < 120; ++i) TypeAtEnd('a');
  EXPECT_EQ(undo.UndoList().Count(), 100);
}

TEST_F(UndoTest, AnInsertionIsUndoneByRemovingItsRowsAndRedoneByPuttingThemBack) {
  SetRows(rows, "a|");
  rows.ReplaceRows(1, 0, "b\r\nc\r\n");
  ASSERT_EQ(DescribeRows(rows), "a|b|c|");
  const TUndoData& step = rows.UndoObj().UndoList()[0];
  EXPECT_EQ(step.EndKind, rkNone);
  EXPECT_EQ(step.FirstRow, 1);
  EXPECT_EQ(step.NewRowCount, 2);
  EXPECT_EQ(step.Text, "");
  rows.Undo();
  EXPECT_EQ(DescribeRows(rows), "a|");
  const TUndoData& redo = rows.UndoObj().RedoList()[0];
  EXPECT_EQ(redo.NewRowCount, 0);
  EXPECT_EQ(redo.EndKind, rkReturn);
  EXPECT_EQ(redo.Text, "b\r\nc\r\n");
  rows.Redo();
  EXPECT_EQ(DescribeRows(rows), "a|b|c|");
  EXPECT_TRUE(rows.CanUndo());
  EXPECT_FALSE(rows.CanRedo());
}

TEST_F(UndoTest, ANewEditVoidsTheRedoSteps) {
  SetRows(rows, "|");
  TypeAtEnd('a');
  TypeAtEnd('b');
  rows.Undo();
  EXPECT_TRUE(rows.CanRedo());
  TypeAtEnd('c');
  EXPECT_FALSE(rows.CanRedo());
  EXPECT_EQ(rows.Get(0), "ac");
}

TEST_F(UndoTest, UndoPutsTheCaretBeforeTheEditAndRedoWhereTheEditLeftIt) {
  SetRows(rows, "abc|def$");
  client.row = 1;
  client.col = 1;
  rows.ReplaceRows(1, 1, "dXef");
  client.col = 2;  // where the control puts the caret after typing
  rows.Undo();
  EXPECT_EQ(DescribeRows(rows), "abc|def$");
  EXPECT_EQ(client.row, 1);
  EXPECT_EQ(client.col, 1);
  rows.Redo();
  EXPECT_EQ(DescribeRows(rows), "abc|dXef$");
  EXPECT_EQ(client.row, 1);
  EXPECT_EQ(client.col, 2);
  rows.Undo();
  EXPECT_EQ(client.col, 1);
}

TEST_F(UndoTest, UndoingAChangeOfTheLastLineRestoresItsEnd) {
  struct Case {
    const char* before;
    int index, count;
    const char* text;
    const char* after;
  };
  const Case cases[] = {
      {"a|b$", 1, 1, "b\r\n", "a|b|"},
      {"a|b|", 1, 1, "b", "a|b$"},
      {"a|b$", 0, 2, "", ""},
      {"a|b$", 1, 0, "x", "a|xb$"},
  };
  for (const Case& c : cases) {
    SetRows(rows, c.before);
    rows.ReplaceRows(c.index, c.count, c.text);
    EXPECT_EQ(DescribeRows(rows), c.after) << c.before;
    rows.Undo();
    EXPECT_EQ(DescribeRows(rows), c.before);
  }
}

TEST_F(UndoTest, UndoAndRedoNotifyOnceWithTheirChange) {
  SetRows(rows, "a|b|");
  rows.ReplaceRows(0, 1, "x\r\ny\r\n");
  client.changes.clear();
  rows.Undo();
  ASSERT_EQ(client.changes.size(), 1u);
  EXPECT_TRUE(client.changes[0].recorded);
  EXPECT_EQ(client.changes[0].row, 0);
  EXPECT_EQ(client.changes[0].old_count, 3);  // x, y and the re-wrapped b
  EXPECT_EQ(client.changes[0].new_count, 2);
}

TEST_F(UndoTest, ReWrappingOrClearingEmptiesBothLists) {
  auto make_steps = [&] {
    SetRows(rows, "|");
    TypeAtEnd('a');
    TypeAtEnd('b');
    rows.Undo();
    ASSERT_TRUE(rows.CanUndo());
    ASSERT_TRUE(rows.CanRedo());
  };
  make_steps();
  rows.SetWordWrap(true);
  EXPECT_FALSE(rows.CanUndo() || rows.CanRedo());
  make_steps();
  rows.WrapOption().SetWrapByte(30);
  EXPECT_FALSE(rows.CanUndo() || rows.CanRedo());
  make_steps();
  rows.SetWordWrap(false);
  EXPECT_FALSE(rows.CanUndo() || rows.CanRedo());
  make_steps();
  rows.Clear();
  EXPECT_FALSE(rows.CanUndo() || rows.CanRedo());
  rows.Undo();  // on empty lists: nothing
  rows.Redo();
  EXPECT_EQ(rows.GetCount(), 0);
}

TEST_F(UndoTest, WrappedRowsComeBackAsTheyWere) {
  rows.WrapOption().SetWrapByte(20);
  rows.SetWordWrap(true);
  rows.ReplaceRows(0, 0, std::string(50, 'a') + "\r\n" + "b");
  const std::string before = DescribeRows(rows);
  rows.ReplaceRows(1, 1, std::string(20, 'a') + "X");  // joins the rest of the line
  EXPECT_NE(DescribeRows(rows), before);
  rows.Undo();
  EXPECT_EQ(DescribeRows(rows), before);
}

TEST_F(UndoTest, UndoPutsBackTheVeryRowsSoOlderStepsStillFindTheirRows) {
  // Cut afresh from its second row, this line's tabs stop elsewhere and the
  // rest of it takes another number of rows than it has now.
  const std::string line = "\t\taaaa\taaa\taaaaaaaaaaaaaaa\taaaaaaaa";
  rows.WrapOption().SetWrapByte(20);
  rows.SetWordWrap(true);
  rows.ReplaceRows(0, 0, line + "\r\nzzz\r\n");
  const std::string before = DescribeRows(rows);
  ASSERT_EQ(before, "\t\taaaa~\taaa\taaaaaaaa~aaaaaaa\taaaaaaaa|zzz|");
  rows.ReplaceRows(3, 1, "zXzz\r\n");
  std::string third = "b" + rows.Get(2);
  AppendLineBreak(rows, 2, third);
  rows.ReplaceRows(2, 1, third);  // re-wraps from the second row of the line
  rows.Undo();
  rows.Undo();
  EXPECT_EQ(DescribeRows(rows), before);
}

}  // namespace
}  // namespace editor
