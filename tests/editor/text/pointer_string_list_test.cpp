#include "editor/text/pointer_string_list.h"

#include <gtest/gtest.h>

#include <cstring>

namespace editor {
namespace {

TEST(PointerStringListTest, NewRowsAreReturnRowsWithUncomputedBrackets) {
  TEditorStringList rows;
  rows.Add("a");
  rows.Insert(0, "b");
  rows.InsertEmptyRows(1, 2);
  for (int i = 0; i < rows.GetCount(); ++i) {
    EXPECT_EQ(rows.Pointers(i), 0u);
    EXPECT_EQ(rows.EndKinds(i), rkReturn);
    EXPECT_EQ(rows.BracketStates(i), -2);
  }
  EXPECT_EQ(rows.Text(), "b\r\n\r\n\r\na\r\n");
}

TEST(PointerStringListTest, EndKindAndBracketStateShareTheWordWithoutDisturbingEachOther) {
  struct Case {
    std::uint32_t word;
    TRowEndKind kind;
    int state;
    std::uint32_t after_kind;   // (word AND 0xFF0) OR kind
    std::uint32_t after_state;  // (that AND 0xFF0F) OR (state + 2) << 4
  };
  const Case cases[] = {
      {0x0000, rkWrap, -1, 0x0001, 0x0011},
      {0x0072, rkEof, 13, 0x0072, 0x00F2},
      {0xF0F1, rkReturn, 0, 0x00F0, 0x0020},  // bits above 11 fall away on the kind write
      {0x00A2, rkWrap, -2, 0x00A1, 0x0001},
  };
  for (const Case& c : cases) {
    TEditorStringList rows;
    rows.Add("x");
    rows.SetPointers(0, c.word);
    rows.SetEndKinds(0, c.kind);
    EXPECT_EQ(rows.Pointers(0), c.after_kind) << std::hex << c.word;
    rows.SetBracketStates(0, c.state);
    EXPECT_EQ(rows.Pointers(0), c.after_state) << std::hex << c.word;
    EXPECT_EQ(rows.EndKinds(0), c.kind);
    EXPECT_EQ(rows.BracketStates(0), c.state);
  }
}

TEST(PointerStringListTest, BracketStatesBeyondTheFieldAreKeptAsUncomputed) {
  TEditorStringList rows;
  rows.Add("x");
  rows.SetEndKinds(0, rkEof);
  rows.SetBracketStates(0, 14);
  EXPECT_EQ(rows.BracketStates(0), -2);
  rows.SetBracketStates(0, -3);
  EXPECT_EQ(rows.BracketStates(0), -2);
  EXPECT_EQ(rows.EndKinds(0), rkEof);
}

TEST(PointerStringListTest, PutKeepsTheWordAndExchangeCarriesIt) {
  TEditorStringList rows;
  rows.Add("a");
  rows.Add("b");
  rows.SetEndKinds(0, rkWrap);
  rows.SetBracketStates(1, 3);
  rows.Put(0, "long enough to need its own allocation");
  EXPECT_EQ(rows.EndKinds(0), rkWrap);
  rows.Exchange(0, 1);
  EXPECT_EQ(rows.Get(0), "b");
  EXPECT_EQ(rows.BracketStates(0), 3);
  EXPECT_EQ(rows.EndKinds(1), rkWrap);
}

TEST(PointerStringListTest, IndexErrorsAndRefusedSorting) {
  TEditorStringList rows;
  rows.Add("a");
  EXPECT_THROW(rows.Get(1), platform::EListError);
  EXPECT_THROW(rows.Get(-1), platform::EListError);
  EXPECT_THROW(rows.Put(1, "x"), platform::EListError);
  EXPECT_THROW(rows.Delete(1), platform::EListError);
  EXPECT_THROW(rows.Insert(2, "x"), platform::EListError);
  EXPECT_THROW(rows.EndKinds(1), platform::EListError);
  EXPECT_THROW(rows.DeleteRowRange(0, 2), platform::EListError);
  EXPECT_THROW(rows.Sort(), platform::EListError);
  EXPECT_THROW(rows.SetSorted(true), platform::EListError);
  EXPECT_EQ(rows.Get(0), "a");
  EXPECT_EQ(rows.GetObject(0), nullptr);
}

TEST(PointerStringListTest, ChangesNotifyOnlyOutsideAnUpdate) {
  TEditorStringList rows;
  int changes = 0;
  rows.OnChange = [&](platform::TObject*) { ++changes; };
  rows.Add("a");
  rows.Put(0, "b");
  rows.Delete(0);
  EXPECT_EQ(changes, 3);
  {
    platform::TStringsUpdate update(rows);
    rows.Add("a");
    rows.InsertEmptyRows(0, 5);
    rows.DeleteRowRange(1, 2);
    EXPECT_EQ(changes, 3);
  }
  EXPECT_EQ(changes, 4);
  EXPECT_EQ(rows.GetCount(), 4);
}

TEST(PointerStringListTest, RowsPointingIntoABlockLiveUntilClear) {
  TEditorStringList rows;
  char* block = rows.AddTextBlock(8);
  std::memcpy(block, "abcdefgh", 8);
  rows.InsertEmptyRows(0, 3);
  rows.SetEndKinds(1, rkWrap);
  rows.SetSharedRowText(0, block, 3);
  rows.SetSharedRowText(1, block + 3, 5);
  EXPECT_EQ(rows.Get(0), "abc");
  EXPECT_EQ(rows.Get(1), "defgh");
  EXPECT_EQ(rows.EndKinds(1), rkWrap);
  rows.Put(0, "own");  // a shared row replaced by an owned one
  EXPECT_EQ(rows.Text(), "own\r\ndefgh\r\n\r\n");

  TEditorStringList target;
  target.InsertEmptyRows(0, 2);
  target.TakeRow(0, rows, 0);  // owned: handed over
  target.TakeRow(1, rows, 1);  // shared: copied
  EXPECT_EQ(target.Get(0), "own");
  EXPECT_EQ(target.Get(1), "defgh");
  EXPECT_EQ(target.EndKinds(1), rkWrap);
  EXPECT_EQ(rows.Get(0), "");
  rows.Clear();
  EXPECT_EQ(target.Get(1), "defgh");
  EXPECT_EQ(rows.GetCount(), 0);
}

}  // namespace
}  // namespace editor
