#include "editor/text/cell_cursor.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/colour/attribute_array.h"
#include "editor/text/column_map.h"

namespace {

using editor::TCellCursor;

TEST(CellCursor, TabCellsBelongToTheTabByte) {
  editor::TColumnMapSettings columns;
  const std::string text = "a\tb";
  const std::string map = editor::ColumnMap(text, columns);  // 1 2 3 3 3 3 3 3 1
  TCellCursor cells(text, map);
  EXPECT_EQ(cells.CellCount(), 9);
  cells.MoveToCell(5);
  EXPECT_EQ(cells.Attr(), editor::kCellTabFiller);
  EXPECT_EQ(cells.TextPos(), 2);
  EXPECT_EQ(cells.CellChar(), "\t");
  cells.MoveToCell(3);
  cells.PriorCell();  // from the first filler onto the tab itself
  EXPECT_EQ(cells.Pos(), 2);
  EXPECT_EQ(cells.TextPos(), 2);
  cells.MoveToCell(100);
  EXPECT_EQ(cells.Attr(), editor::kCellEnd);
  EXPECT_EQ(cells.Pos(), 10);
  EXPECT_EQ(cells.TextPos(), 4);
  EXPECT_EQ(cells.CellChar(), "");
  cells.NextCell();  // nothing past the end cell
  EXPECT_EQ(cells.Pos(), 10);
  cells.MoveToCell(-3);
  EXPECT_EQ(cells.Pos(), 1);
  EXPECT_EQ(cells.TextPos(), 1);
}

TEST(CellCursor, BothHalvesGiveTheWholeCharacter) {
  editor::TColumnMapSettings columns;
  const std::string text = "x\x82\xA0";
  const std::string map = editor::ColumnMap(text, columns);
  TCellCursor cells(text, map);
  EXPECT_EQ(cells.NextCellChar(), "\x82\xA0");
  EXPECT_EQ(cells.Pos(), 1);
  cells.NextCell();
  EXPECT_EQ(cells.CellChar(), "\x82\xA0");
  cells.NextCell();
  EXPECT_EQ(cells.CellChar(), "\x82\xA0");
  EXPECT_EQ(cells.NextCellChar(), "");
}

// The inlined cursor moves exactly as the attribute array does, with and
// without tabs (with a tab it steps, without one it jumps), over broken
// double-byte input too.
TEST(CellCursor, MovesLikeTheAttributeArray) {
  std::mt19937 random(7);
  const std::vector<std::string> pieces = {"a", " ", "\t", "\x82\xA0", "\xB1", "\x81\x40"};
  for (int round = 0; round < 500; ++round) {
    editor::TColumnMapSettings columns;
    columns.TabWidth = 2 * static_cast<int>(1 + random() % 4);
    columns.WordWrap = random() % 2;
    columns.WrapWidth = 20 + static_cast<int>(random() % 30);
    std::string text;
    const int length = static_cast<int>(random() % 40);
    const bool tabs = random() % 2;
    for (int i = 0; i < length; ++i) {
      const std::string& piece = pieces[random() % pieces.size()];
      if (piece != "\t" || tabs) text += piece;
    }
    if (random() % 5 == 0) text += "\x82";
    const std::string map = editor::ColumnMap(text, columns);
    TCellCursor fast(text, map);
    editor::TEditorAttributeArray model(text, map);
    ASSERT_EQ(fast.CellCount(), model.CellCount());
    for (int step = 0; step < 60; ++step) {
      switch (random() % 4) {
        case 0:
          fast.NextCell(), model.NextCell();
          break;
        case 1:
          fast.PriorCell(), model.PriorCell();
          break;
        case 2: {
          const int to = static_cast<int>(random() % (map.size() + 4)) - 1;
          fast.MoveToCell(to), model.MoveToCell(to);
          break;
        }
        case 3:
          ASSERT_EQ(fast.NextCellChar(), model.NextCellChar());
          break;
      }
      ASSERT_EQ(fast.Attr(), model.Attr()) << text;
      ASSERT_EQ(fast.Pos(), model.Pos()) << text;
      ASSERT_EQ(fast.TextPos(), model.TextPos()) << text;
      ASSERT_EQ(fast.CellChar(), model.CellChar()) << text;
    }
  }
}

}  // namespace
