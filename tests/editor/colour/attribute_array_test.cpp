#include "editor/colour/attribute_array.h"

#include <gtest/gtest.h>

#include <string>

namespace editor {
namespace {

// "a", tab, "b", then the hiragana "あ" (0x82 0xA0); tab width 8.
const std::string kText = "a\tb\x82\xA0";
const std::string kMap =
    "1233333314"
    "5";

struct Cell {
  char attr;
  int text_pos;
  std::string chars;
};

// Every cell of the fixture, in order, then the end cell.
const Cell kCells[] = {
    {'1', 1, "a"},  {'2', 2, "\t"},       {'3', 2, "\t"},       {'3', 2, "\t"},
    {'3', 2, "\t"}, {'3', 2, "\t"},       {'3', 2, "\t"},       {'3', 2, "\t"},
    {'1', 3, "b"},  {'4', 4, "\x82\xA0"}, {'5', 5, "\x82\xA0"}, {'0', 6, ""},
};

TEST(AttributeArray, StepsForwardThroughEveryCell) {
  TEditorAttributeArray cells(kText, kMap);
  EXPECT_EQ(cells.CellCount(), 11);
  for (int i = 0; i < 12; ++i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cells.Pos(), i + 1);
    EXPECT_EQ(cells.Attr(), kCells[i].attr);
    EXPECT_EQ(cells.TextPos(), kCells[i].text_pos);
    EXPECT_EQ(cells.CellChar(), kCells[i].chars);
    cells.NextCell();
  }
  // The end cell is the last: further steps do nothing.
  EXPECT_EQ(cells.Pos(), 12);
  EXPECT_EQ(cells.TextPos(), 6);
}

TEST(AttributeArray, StepsBackThroughEveryCellToTheSameBytes) {
  TEditorAttributeArray cells(kText, kMap);
  cells.MoveToCell(100);
  EXPECT_EQ(cells.Attr(), '0');
  for (int i = 11; i >= 0; --i) {
    SCOPED_TRACE(i);
    EXPECT_EQ(cells.Pos(), i + 1);
    EXPECT_EQ(cells.Attr(), kCells[i].attr);
    // Back on the tab's own cell from its first filler, the cell still
    // belongs to the tab.
    EXPECT_EQ(cells.TextPos(), kCells[i].text_pos);
    EXPECT_EQ(cells.CellChar(), kCells[i].chars);
    cells.PriorCell();
  }
  EXPECT_EQ(cells.Pos(), 1);
  EXPECT_EQ(cells.TextPos(), 1);
}

TEST(AttributeArray, MoveToCellStaysInsideTheCells) {
  TEditorAttributeArray cells(kText, kMap);
  cells.MoveToCell(5);
  EXPECT_EQ(cells.Pos(), 5);
  EXPECT_EQ(cells.TextPos(), 2);
  cells.MoveToCell(10);
  EXPECT_EQ(cells.TextPos(), 4);
  cells.MoveToCell(-3);
  EXPECT_EQ(cells.Pos(), 1);
  cells.MoveToCell(12);
  EXPECT_EQ(cells.Attr(), '0');
}

TEST(AttributeArray, NextCellCharLeavesThePositionUnchanged) {
  TEditorAttributeArray cells(kText, kMap);
  cells.MoveToCell(9);
  EXPECT_EQ(cells.NextCellChar(), "\x82\xA0");
  EXPECT_EQ(cells.Pos(), 9);
  EXPECT_EQ(cells.TextPos(), 3);
  cells.MoveToCell(11);
  EXPECT_EQ(cells.NextCellChar(), "");
  EXPECT_EQ(cells.Pos(), 11);
  cells.MoveToCell(12);
  EXPECT_EQ(cells.NextCellChar(), "");
  EXPECT_EQ(cells.Pos(), 12);
  EXPECT_EQ(cells.TextPos(), 6);
}

TEST(AttributeArray, LeadByteAtTheEndOfTheTextGivesOnlyWhatIsThere) {
  TEditorAttributeArray cells("x\x82", "145");
  cells.MoveToCell(2);
  EXPECT_EQ(cells.CellChar(), "\x82");
  cells.NextCell();
  EXPECT_EQ(cells.CellChar(), "\x82");
}

TEST(AttributeArray, EmptyRowIsOnlyTheEndCell) {
  TEditorAttributeArray cells("", "");
  EXPECT_EQ(cells.CellCount(), 0);
  EXPECT_EQ(cells.Attr(), '0');
  EXPECT_EQ(cells.CellChar(), "");
  cells.NextCell();
  cells.PriorCell();
  EXPECT_EQ(cells.Pos(), 1);
}

}  // namespace
}  // namespace editor
