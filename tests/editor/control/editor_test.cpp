// The editor control's state, geometry, scrolling and caret placement.
#include <gtest/gtest.h>

#include "platform/control/virtual_keys.h"
#include "tests/editor/control/editor_test_support.h"

namespace editor {
namespace {

using testing::ShownEditor;
using testing::Sjis;

TEST(EditorStateTest, DefaultsAfterConstruction) {
  testing::App();
  TEditor editor;
  EXPECT_EQ(editor.Color(), platform::clWindow);
  EXPECT_EQ(editor.Font().Name, "FixedSys");
  EXPECT_EQ(editor.Font().Color, platform::clWindowText);
  EXPECT_EQ(editor.Width(), 185);
  EXPECT_EQ(editor.Height(), 89);
  EXPECT_EQ(editor.Cursor(), platform::crIBeam);
  EXPECT_TRUE(editor.TabStop());
  EXPECT_TRUE(editor.WantTabs());
  EXPECT_TRUE(editor.WantReturns());
  EXPECT_EQ(editor.BorderStyle(), bsSingle);
  EXPECT_EQ(editor.ScrollBars(), ssNone);
  EXPECT_EQ(editor.Row(), 0);
  EXPECT_EQ(editor.Col(), 0);
  EXPECT_EQ(editor.SelectionMode(), smStream);
  EXPECT_FALSE(editor.Selected());
  // No window yet: no metrics.
  EXPECT_EQ(editor.CharWidth(), 0);
  editor.SetUndoListMax(10);
  EXPECT_EQ(editor.UndoListMax(), 64);
  editor.SetUndoListMax(100);
  EXPECT_EQ(editor.UndoListMax(), 100);
}

TEST(EditorStateTest, TextWorksWithoutAWindow) {
  testing::App();
  TEditor editor;
  editor.Lines().SetTextStr("ab\r\ncd");
  editor.SetSelStart(4);
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 0);
  EXPECT_EQ(editor.GetSelStart(), 4);
}

TEST(EditorStateTest, WordsAndDelimitersOfTheColumnMap) {
  testing::App();
  TEditor editor;
  // abc_def,ghi: the underscore is part of the word, the comma is not;
  // half-width katakana make words, the half-width full stop does not.
  editor.Lines().SetTextStr("abc_def,ghi\r\n\xB1\xB2\xA1\xB3");
  EXPECT_EQ(editor.ColumnMapOf(0), "11111112111");
  EXPECT_EQ(editor.ColumnMapOf(1), "1121");
}

// A control whose window styles can be read.
class StyledEditor : public TEditor {
 public:
  platform::TCreateParams Params() {
    platform::TCreateParams params;
    CreateParams(params);
    return params;
  }
};

TEST(EditorStateTest, WindowStylesFollowBorderAndScrollBars) {
  testing::App();
  StyledEditor editor;
  struct Case {
    TBorderStyle border;
    bool ctl3d;
    TScrollStyle bars;
    std::uint32_t style;
    std::uint32_t ex_style;
  } cases[] = {
      {bsSingle, false, ssNone, platform::WS_BORDER, 0},
      {bsSingle, true, ssNone, 0, platform::WS_EX_CLIENTEDGE},
      {bsNone, true, ssNone, 0, 0},
      {bsNone, false, ssBoth, platform::WS_HSCROLL | platform::WS_VSCROLL, 0},
      {bsNone, false, ssVertical, platform::WS_VSCROLL, 0},
      {bsNone, false, ssHorizontal, platform::WS_HSCROLL, 0},
  };
  for (const Case& c : cases) {
    editor.SetBorderStyle(c.border);
    editor.SetCtl3D(c.ctl3d);
    editor.SetScrollBars(c.bars);
    const platform::TCreateParams params = editor.Params();
    const std::uint32_t mask = platform::WS_BORDER | platform::WS_HSCROLL | platform::WS_VSCROLL;
    EXPECT_EQ(params.Style & mask, c.style);
    EXPECT_EQ(params.ExStyle & platform::WS_EX_CLIENTEDGE, c.ex_style);
    // A resize paints only what it uncovers.
    EXPECT_EQ(params.WindowClassStyle & (platform::CS_HREDRAW | platform::CS_VREDRAW), 0u);
  }
}

TEST(EditorStateTest, HeldLeftButtonSwallowsTypingAndFurtherClicks) {
  auto editor = ShownEditor(300, 200);
  int keys = 0;
  int clicks = 0;
  editor->OnKeyPress = [&](platform::TObject*, char&) { ++keys; };
  editor->OnDblClick = [&](platform::TObject*) { ++clicks; };
  const platform::LPARAM point = platform::MAKELPARAM(30, 10);
  editor->Perform(platform::WM_LBUTTONDOWN, platform::MK_LBUTTON, point);
  ASSERT_TRUE(editor->LButtonDown());
  editor->Perform(platform::WM_CHAR, 'a');
  editor->Perform(platform::WM_LBUTTONDBLCLK, platform::MK_LBUTTON, point);
  EXPECT_EQ(keys, 0);
  EXPECT_EQ(clicks, 0);
  editor->Perform(platform::WM_LBUTTONUP, 0, point);
  editor->Perform(platform::WM_CHAR, 'a');
  EXPECT_EQ(keys, 1);
}

TEST(EditorStateTest, KeysDuringASelectionDrag) {
  auto editor = ShownEditor(300, 200);
  editor->Lines().SetTextStr("some words to drag");
  editor->SetRowCol(0, 5);
  editor->StartSelection();
  editor->SetRowCol(0, 10);
  editor->UpdateSelection();
  ASSERT_TRUE(editor->Selected());
  int keys = 0;
  editor->OnKeyDown = [&](platform::TObject*, std::uint16_t&, platform::TShiftState) { ++keys; };
  // Pressed in the selection, not yet dragging: keys are swallowed.
  editor->SelDragPress();
  editor->Perform(platform::WM_KEYDOWN, 'A');
  EXPECT_EQ(keys, 0);
  editor->SelDragBegin();
  ASSERT_EQ(editor->SelDragState(), 2);
  EXPECT_EQ(editor->CursorKind(), 3);
  // Dragging: Ctrl turns the move into a copy and back; the keys go on.
  editor->Perform(platform::WM_KEYDOWN, platform::VK_CONTROL);
  EXPECT_EQ(editor->CursorKind(), 4);
  editor->Perform(platform::WM_KEYUP, platform::VK_CONTROL);
  EXPECT_EQ(editor->CursorKind(), 3);
  EXPECT_EQ(keys, 1);
  // Read-only cannot change while the selection is dragged.
  editor->SetReadOnly(true);
  EXPECT_FALSE(editor->ReadOnly());
  // Escape ends the drag and drops the selection.
  editor->Perform(platform::WM_KEYDOWN, platform::VK_ESCAPE);
  EXPECT_EQ(editor->SelDragState(), 0);
  EXPECT_FALSE(editor->Selected());
}

TEST(EditorStateTest, AResizeMeasuresAndPaintsTheView) {
  auto editor = ShownEditor(300, 120);
  editor->Lines().SetTextStr(std::string(40, 'x') + "\r\n" + std::string(60, 'y') +
                             "\r\nz\r\nz\r\nz\r\nz\r\nz\r\nz\r\nz\r\nz\r\nz");
  const int rows = editor->VisibleRows();
  const int cols = editor->VisibleCols();
  editor->SetBounds(0, 0, 500, 220);
  EXPECT_GT(editor->VisibleRows(), rows);
  EXPECT_GT(editor->VisibleCols(), cols);
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
}

TEST(EditorStateTest, APressGivesTheFocus) {
  auto editor = ShownEditor(300, 200);
  QWidget other(platform::ControlWidget(*editor));
  other.setFocusPolicy(Qt::StrongFocus);
  other.show();
  other.setFocus();
  ASSERT_FALSE(editor->Focused());
  editor->Perform(platform::WM_NCLBUTTONDOWN, 2, 0);  // not on the client area
  EXPECT_FALSE(editor->Focused());
  editor->Perform(platform::WM_RBUTTONDOWN, 0, platform::MAKELPARAM(10, 10));
  EXPECT_TRUE(editor->Focused());
}

TEST(EditorStateTest, CursorKindsSetThePointerOnlyWithAutoCursor) {
  auto editor = ShownEditor(300, 200);
  const TEditorCursors& cursors = editor->Caret().Cursors();
  editor->SetCursorKind(1);
  EXPECT_EQ(editor->Cursor(), cursors.LeftMarginCursor());
  editor->SetCursorKind(2);
  EXPECT_EQ(editor->Cursor(), cursors.InSelCursor());
  editor->SetCursorKind(0);
  EXPECT_EQ(editor->Cursor(), cursors.DefaultCursor());
  editor->Caret().SetAutoCursor(false);
  editor->SetCursorKind(1);
  EXPECT_EQ(editor->CursorKind(), 1);
  EXPECT_EQ(editor->Cursor(), cursors.DefaultCursor());
}

TEST(EditorStateTest, ReadOnlyAndReservedWords) {
  testing::App();
  TEditor editor;
  editor.SetReadOnly(true);
  EXPECT_TRUE(editor.ReadOnly());
  platform::TStringList words;
  words.Add("while");
  words.Add("begin");
  words.Add("begin");
  editor.SetReserveWordList(words);
  // Sorted, without duplicates.
  ASSERT_EQ(editor.ReserveWordList().Count(), 2);
  EXPECT_EQ(editor.ReserveWordList().Get(0), "begin");
}

TEST(EditorStateTest, SharedRowsOutliveTheControlThatMadeThem) {
  auto first = ShownEditor(300, 200);
  auto second = ShownEditor(300, 200);
  first->Lines().SetTextStr("one\r\ntwo\r\nthree");
  second->ShareRowsOf(*first);
  EXPECT_EQ(&second->ScreenStrings(), &first->ScreenStrings());
  EXPECT_EQ(second->RowCount(), 3);
  int changes = 0;
  second->OnChange = [&](platform::TObject*) { ++changes; };
  first->ScreenStrings().ReplaceRows(1, 1, "TWO\r\n");
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(testing::Surface(*second), testing::FullRepaint(*second));
  first.reset();
  EXPECT_EQ(second->Lines().Get(1), "TWO");
  second->Lines().Add("four");
  EXPECT_EQ(second->RowCount(), 4);
}

TEST(EditorGeometryTest, VisibleRowsAndColumnsFollowTheFontAndMargins) {
  for (TScrollStyle bars : {ssNone, ssBoth}) {
    auto editor = ShownEditor(300, 200);
    editor->SetScrollBars(bars);
    ASSERT_GT(editor->CharWidth(), 0);
    const int h = bars == ssBoth ? platform::GetSystemMetrics(platform::SM_CYHSCROLL) : 0;
    const int w = bars == ssBoth ? platform::GetSystemMetrics(platform::SM_CXVSCROLL) : 0;
    EXPECT_EQ(editor->VisibleRows(),
              (editor->Height() - editor->Margin().Top() - 5 - h) / editor->RowHeight());
    EXPECT_EQ(editor->VisibleCols(),
              (editor->Width() - editor->Margin().Left() - editor->CharWidth() / 2 - w) /
                  editor->CharWidth());
  }
}

TEST(EditorGeometryTest, UnderlineAddsAPixelRowToEveryRow) {
  auto editor = ShownEditor(300, 200);
  const int plain = editor->RowHeight();
  EXPECT_EQ(plain, editor->CharHeight() + editor->Margin().Line());
  editor->Marks().Underline().SetVisible(true);
  EXPECT_EQ(editor->RowHeight(), plain + 1);
  EXPECT_EQ(editor->Margin().UnderlineHeight(), 1);
}

TEST(EditorGeometryTest, PixelsToCells) {
  auto editor = ShownEditor(300, 200);
  const int cw = editor->CharWidth();
  const int ml = editor->Margin().Left();
  const int mt = editor->Margin().Top();
  const int rh = editor->RowHeight();
  struct Case {
    int x, y;
    bool snap;
    int col, row;
  } cases[] = {
      {ml + cw / 2, mt, true, 0, 0},      // nearer the left edge of column 0
      {ml + cw / 2 + 1, mt, true, 1, 0},  // past the middle: column 1
      {ml + cw - 1, mt, false, 0, 0},     // without snap: the cell itself
      {ml + 3 * cw, mt + 2 * rh, false, 3, 2},
      {ml - 3 * cw, mt, false, 0, 0},  // left of the text: column 0
  };
  for (const Case& c : cases) {
    int col = -1;
    int row = -1;
    editor->PixelToColRow(c.x, c.y, c.snap, col, row);
    EXPECT_EQ(col, c.col) << c.x;
    EXPECT_EQ(row, c.row) << c.y;
  }
}

TEST(EditorGeometryTest, PointToRowByteFindsTheCharacterUnderThePoint) {
  auto editor = ShownEditor(400, 200);
  editor->Lines().SetTextStr(Sjis("a\tbあい"));
  const int cw = editor->CharWidth();
  const int ml = editor->Margin().Left();
  const int y = editor->Margin().Top() + 1;
  int row = 0;
  int byte = 0;
  // Columns: a 0, tab 1..7, b 8, あ 9-10, い 11-12.
  struct Case {
    int col;
    bool found;
    int byte;
  } cases[] = {{0, true, 0},  {4, true, 1},    {8, true, 2},   {9, true, 3},
               {11, true, 5}, {13, false, -1}, {20, false, -1}};
  for (const Case& c : cases) {
    EXPECT_EQ(editor->PointToRowByte({ml + c.col * cw + 1, y}, row, byte), c.found) << c.col;
    EXPECT_EQ(byte, c.byte) << c.col;
  }
  // The right half of the last character: nearer the end of the row.
  EXPECT_FALSE(editor->PointToRowByte({ml + 12 * cw + cw / 2 + 1, y}, row, byte));
  EXPECT_FALSE(editor->PointToRowByte({ml - 1, y}, row, byte));
  EXPECT_FALSE(editor->PointToRowByte({ml + 1, y + 5 * editor->RowHeight()}, row, byte));
}

TEST(EditorScrollTest, TopRowFarAwayScrollsEverythingOut) {
  auto editor = ShownEditor(300, 200);
  const std::string text = testing::NumberedRows(1000);
  editor->Lines().SetTextStr(text);
  editor->UpdateView();
  int top_changes = 0;
  editor->OnTopRowChange = [&](platform::TObject*) { ++top_changes; };
  editor->SetTopRow(500);
  EXPECT_EQ(editor->TopRow(), 500);
  EXPECT_EQ(top_changes, 1);
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
  editor->SetTopRow(500);
  EXPECT_EQ(top_changes, 1);  // no scroll, no event
  editor->SetTopRow(5000);
  EXPECT_EQ(editor->TopRow(), editor->RowCount());
  editor->SetTopRow(-3);
  EXPECT_EQ(editor->TopRow(), 0);
}

TEST(EditorScrollTest, ScrollBarsFollowTheView) {
  auto editor = ShownEditor(300, 200);
  editor->SetScrollBars(ssBoth);
  std::string text;
  for (int i = 0; i < 100; ++i) text += "row\r\n";
  editor->Lines().SetTextStr(text);
  platform::TScrollInfo info;
  info.fMask = platform::SIF_ALL;
  ASSERT_TRUE(editor->GetScrollInfo(platform::SB_VERT, info));
  EXPECT_EQ(info.nMin, 0);
  EXPECT_EQ(info.nMax, editor->RowCount() + editor->VisibleRows() - 2);
  EXPECT_EQ(static_cast<int>(info.nPage), editor->VisibleRows());
  EXPECT_EQ(info.nPos, 0);
  editor->SetTopRow(30);
  EXPECT_EQ(editor->GetScrollPos(platform::SB_VERT), 30);
  ASSERT_TRUE(editor->GetScrollInfo(platform::SB_HORZ, info));
  EXPECT_EQ(info.nMax, 8000 / editor->CharWidth());
  EXPECT_EQ(static_cast<int>(info.nPage), editor->VisibleCols());
  editor->SetTopCol(7);
  EXPECT_EQ(editor->GetScrollPos(platform::SB_HORZ), 7);
  EXPECT_EQ(platform::ControlScrollBar(*editor, platform::SB_VERT)->value(), 30);
}

TEST(EditorScrollTest, ShrinkingTextPullsTopRowBackWithoutScrolling) {
  auto editor = ShownEditor(300, 200);
  std::string text;
  for (int i = 0; i < 100; ++i) text += "x\r\n";
  editor->Lines().SetTextStr(text);
  editor->UpdateView();
  editor->SetTopRow(90);
  editor->Lines().SetTextStr("a\r\nb\r\n");
  editor->UpdateScrollBars();
  EXPECT_LE(editor->TopRow(), std::max(0, editor->RowCount() + editor->VisibleRows() - 2));
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
}

TEST(EditorScrollTest, PageScrollKeepsTheCaretOnItsScreenRow) {
  auto editor = ShownEditor(300, 200);
  std::string text;
  for (int i = 0; i < 100; ++i) text += "line\r\n";
  editor->Lines().SetTextStr(text);
  editor->UpdateView();
  editor->SetRowCol(2, 0);
  editor->PageScroll(10);
  EXPECT_EQ(editor->TopRow(), 10);
  EXPECT_EQ(editor->Row(), 12);
  editor->PageScroll(-20);
  EXPECT_EQ(editor->TopRow(), 0);
  EXPECT_EQ(editor->Row(), 2);
  editor->PageScroll(-5);  // at the top: the caret goes to row 0
  EXPECT_EQ(editor->Row(), 0);
  // A view whose top row is the last row of the text does not page on.
  editor->Lines().SetTextStr("one\r\ntwo");
  editor->UpdateView();
  editor->SetTopRow(1);
  editor->PageScroll(5);
  EXPECT_EQ(editor->TopRow(), 1);
}

TEST(EditorScrollTest, CaretPastTheRightEdgeScrollsByAQuarterView) {
  auto editor = ShownEditor(300, 200);
  editor->Lines().SetTextStr(std::string(500, 'x'));
  editor->UpdateView();
  ASSERT_TRUE(editor->Focused());
  const int cols = editor->VisibleCols();
  editor->SetRowCol(0, cols - 1);
  EXPECT_EQ(editor->TopCol(), 0);
  editor->SetCol(cols);
  EXPECT_EQ(editor->TopCol(), cols / 4);
  editor->SetCol(0);
  EXPECT_EQ(editor->TopCol(), 0);
  // The caret column never passes the view's limit.
  editor->SetCol(100000);
  EXPECT_LE(editor->Col(), 8000 / editor->CharWidth() + cols);
}

// ------------------------------------------------------------------ caret

TEST(EditorCaretTest, NeverInsideADoubleByteCharacterOrATab) {
  auto editor = ShownEditor(400, 200);
  editor->Lines().SetTextStr(Sjis("あいう\r\na\tb"));
  editor->Caret().SetFreeCaret(false);
  struct Case {
    int row, from, to, expect;
    bool row_col;  // SetRowCol instead of SetCol
  } cases[] = {
      {0, 0, 3, 4, false},                       // moving right over the trail byte of い
      {0, 6, 3, 2, false},                       // moving left
      {0, 0, 5, 6, false}, {1, 0, 5, 8, false},  // moving right over the tab's filler: to b
      {1, 8, 5, 1, false},                       // moving left: onto the tab itself
      {1, 8, 5, 1, true},                        // a placement snaps to the tab's own column
      {0, 0, 3, 2, true},                        // and to the start of the character
  };
  for (const Case& c : cases) {
    editor->SetRowCol(c.row, c.from);
    ASSERT_EQ(editor->Col(), c.from);
    if (c.row_col)
      editor->SetRowCol(c.row, c.to);
    else
      editor->SetCol(c.to);
    EXPECT_EQ(editor->Col(), c.expect) << c.row << ": " << c.from << " to " << c.to;
  }
  editor->Caret().SetInTab(true);
  editor->SetRowCol(1, 5);
  EXPECT_EQ(editor->Col(), 5);
}

TEST(EditorCaretTest, VerticalMovesRememberTheColumn) {
  auto editor = ShownEditor(400, 200);
  editor->Lines().SetTextStr("0123456789abcdef\r\nabc\r\n0123456789abcdef");
  editor->Caret().SetFreeCaret(false);
  editor->Caret().SetKeepCaret(true);
  editor->SetRowCol(0, 10);
  editor->SetRow(1);
  EXPECT_EQ(editor->Col(), 3);
  editor->SetRow(2);
  EXPECT_EQ(editor->Col(), 10);
  // Without KeepCaret the short row wins.
  editor->Caret().SetKeepCaret(false);
  editor->SetRowCol(0, 10);
  editor->SetRow(1);
  editor->SetRow(2);
  EXPECT_EQ(editor->Col(), 3);
  // A free caret stays where it is.
  editor->Caret().SetFreeCaret(true);
  editor->SetRowCol(0, 10);
  editor->SetRow(1);
  EXPECT_EQ(editor->Col(), 10);
  editor->SetCol(30);
  EXPECT_EQ(editor->Col(), 30);
}

TEST(EditorCaretTest, NotAfterTheLastCharacterOfAWrappedRow) {
  auto editor = ShownEditor(400, 200);
  editor->SetWordWrap(true);
  editor->WrapOption().SetWrapByte(20);
  editor->Lines().SetTextStr(std::string(30, 'a'));
  ASSERT_EQ(editor->RowEndKind(0), rkWrap);
  ASSERT_EQ(editor->DisplayLengthOf(0), 20);
  editor->SetRowCol(0, 25);
  EXPECT_EQ(editor->Col(), 19);
  // On the line's last row the free caret stops before the wrap width.
  editor->SetRowCol(1, 25);
  EXPECT_EQ(editor->Col(), 19);
  editor->SetRowCol(1, 15);
  EXPECT_EQ(editor->Col(), 15);
}

TEST(EditorCaretTest, TextOffsets) {
  auto editor = ShownEditor(400, 200);
  editor->Lines().SetTextStr("ab\r\ncd");
  struct Case {
    int offset, row, col;
  } cases[] = {{0, 0, 0}, {1, 0, 1}, {3, 0, 2}, {4, 1, 0},
               {5, 1, 1}, {6, 1, 2}, {99, 2, 0}};  // lines set as a whole all end in a break
  for (const Case& c : cases) {
    editor->SetSelStart(c.offset);
    EXPECT_EQ(editor->Row(), c.row) << c.offset;
    EXPECT_EQ(editor->Col(), c.col) << c.offset;
  }
  editor->SetRowCol(1, 1);
  EXPECT_EQ(editor->GetSelStart(), 5);
  EXPECT_EQ(editor->OffsetFromRow(0, 1, 1), 5);
  EXPECT_EQ(editor->OffsetFromRow(1, 1, 5), 5);  // virtual columns past the end count

  editor->Lines().SetTextStr(Sjis("x\tあい"));
  editor->SetSelStart(4);  // before い: after the tab and あ
  EXPECT_EQ(editor->Col(), 10);
  EXPECT_EQ(editor->CaretByte(), 4);
  EXPECT_EQ(editor->GetSelStart(), 4);
}

TEST(EditorCaretTest, SystemCaretFollowsTheCaret) {
  auto editor = ShownEditor(400, 200);
  editor->Lines().SetTextStr(Sjis("abc\r\nあい"));
  ASSERT_TRUE(editor->Focused());
  int moved = 0;
  editor->OnCaretMoved = [&](platform::TObject*) { ++moved; };
  editor->SetRowCol(1, 2);
  EXPECT_EQ(moved, 1);
  platform::TPoint p;
  ASSERT_TRUE(editor->GetCaretPos(p));
  EXPECT_EQ(p.X, editor->Margin().Left() + 2 * editor->CharWidth());
  EXPECT_EQ(p.Y, editor->Margin().Top() + editor->RowHeight());
  EXPECT_TRUE(editor->CaretVisible());
  {
    TEditor::TCaretHideGuard hidden(*editor);
    EXPECT_FALSE(editor->CaretVisible());
  }
  EXPECT_TRUE(editor->CaretVisible());
  // The flat caret sits on the bottom of its cell.
  editor->Caret().SetStyle(csBrief);
  ASSERT_TRUE(editor->GetCaretPos(p));
  EXPECT_EQ(p.Y, editor->Margin().Top() + editor->RowHeight() + editor->CharHeight() - 2);
}

// --------------------------------------------------------------- changes

TEST(EditorChangeTest, ChangesOfTheTextReachTheScreen) {
  auto editor = ShownEditor(400, 300);
  editor->Marks().Underline().SetVisible(true);
  editor->Marks().RetMark().SetVisible(true);
  editor->Marks().EofMark().SetVisible(true);
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line " + std::to_string(i) + " http://example.jp/" + "\r\n";
  editor->Lines().SetTextStr(text);
  editor->Loaded();
  EXPECT_FALSE(editor->Modified());
  int changes = 0;
  editor->OnChange = [&](platform::TObject*) { ++changes; };
  editor->SetTopRow(5);
  editor->SetRowCol(8, 3);
  (void)testing::FullRepaint(*editor);

  editor->Lines().Insert(7, "inserted");
  EXPECT_EQ(changes, 1);
  EXPECT_TRUE(editor->Modified());
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
  editor->Lines().Delete(9);
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
  editor->Lines().Put(6, Sjis("置き換えた行 mail@example.jp"));
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
  editor->Lines().Add("the end");
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
  EXPECT_EQ(changes, 4);
  // The editing primitive itself, as typing and deleting use it: rows
  // split, joined and removed inside the view and above it.
  TEditorScreenStrings& rows = editor->ScreenStrings();
  editor->SetTopRow(5);
  (void)testing::FullRepaint(*editor);
  struct Edit {
    int row, count;
    const char* text;
  } edits[] = {{9, 1, "split\r\ninto\r\nthree"},
               {10, 3, "joined"},
               {12, 2, ""},
               {2, 1, "above\r\nthe view"},
               {20, 0, "new\r\n"}};
  for (const Edit& e : edits) {
    rows.ReplaceRows(e.row, e.count, e.text);
    EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor)) << e.row << " " << e.text;
  }
  EXPECT_EQ(changes, 4 + static_cast<int>(std::size(edits)));
}

}  // namespace
}  // namespace editor
