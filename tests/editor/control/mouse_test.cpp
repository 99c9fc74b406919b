// The mouse on the real control: where a click puts the caret, selecting by
// dragging (also beyond the view, which scrolls), whole rows from the left
// margin, dragging the selection to move or copy it, the pointer shapes, and
// the scroll-bar requests.
#include <gtest/gtest.h>

#include <QCursor>
#include <QMouseEvent>
#include <QScrollBar>
#include <QSignalBlocker>
#include <algorithm>

#include "tests/editor/control/selection_fixture.h"

namespace editor {
namespace {

using testing::Sjis;

// A shown and focused control, driven by mouse events on its client widget
// as the window system delivers them (with the button held, moves arrive
// also from outside the control).
class MouseOnEditor : public testing::EditorInWindow {
 public:
  explicit MouseOnEditor(int width = 400, int height = 200) : BasicEditorInWindow(width, height) {
    testing::ShowFocused(editor);
  }

  QWidget* Client() const { return platform::ClientWidget(editor); }

  // The client point `cells` character widths into view row `row`.
  QPoint At(int row, double cells) const {
    return QPoint(editor.Margin().Left() + static_cast<int>(cells * editor.CharWidth()),
                  editor.Margin().Top() + row * editor.RowHeight() + editor.CharHeight() / 2);
  }

  void Press(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Send(QEvent::MouseButtonPress, p, Qt::LeftButton, Qt::LeftButton, mods);
  }
  void MoveHeld(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Send(QEvent::MouseMove, p, Qt::NoButton, Qt::LeftButton, mods);
  }
  void Hover(QPoint p) { Send(QEvent::MouseMove, p, Qt::NoButton, Qt::NoButton, Qt::NoModifier); }
  // The pointer is where the button comes up, as a drop asks the desktop.
  void Release(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QCursor::setPos(Client()->mapToGlobal(p));
    Send(QEvent::MouseButtonRelease, p, Qt::LeftButton, Qt::NoButton, mods);
  }
  void Click(QPoint p, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    Press(p, mods);
    Release(p, mods);
  }

  std::string Text() { return editor.ScreenStrings().GetRowsText(0, editor.RowCount()); }

 private:
  void Send(QEvent::Type type, QPoint p, Qt::MouseButton button, Qt::MouseButtons buttons,
            Qt::KeyboardModifiers mods) {
    QMouseEvent event(type, QPointF(p), QPointF(Client()->mapToGlobal(p)), button, buttons, mods);
    QApplication::sendEvent(Client(), &event);
  }
};

TEST(Mouse, ClickPutsTheCaretOnTheNearerCellBoundaryNeverInsideACharacterOrTab) {
  MouseOnEditor m;
  m.SetText(Sjis("あいう") + "\r\n\tb\r\nabc");
  const struct {
    int row;
    double cells;
    int col;
  } cases[] = {
      {0, 0.3, 0},  // left half of あ
      {0, 0.8, 0},  // rounded onto あ's second cell: back to its start
      {0, 1.8, 2},  // right half of あ's second cell
      {0, 2.2, 2},  // left part of い
      {0, 3.8, 4},  // right part of い
      {1, 0.2, 0},  // inside the tab
      {1, 5.0, 0},  // deep inside the tab
      {1, 7.8, 8},  // the tab's last half cell: before b
      {1, 8.8, 9},  // after b
      {2, 1.8, 2},  // after "ab"
      {2, 1.2, 1},  // between a and b
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "row " << c.row << " at " << c.cells);
    m.editor.SetRowCol(2, 3);
    m.Click(m.At(c.row, c.cells));
    EXPECT_EQ(m.editor.Row(), c.row);
    EXPECT_EQ(m.editor.Col(), c.col);
    EXPECT_FALSE(m.editor.Selected());  // a click alone selects nothing
  }
  // Beyond a row's end: there with a free caret, at the end without one.
  m.Click(m.At(2, 9.1));
  EXPECT_EQ(m.editor.Col(), 9);
  m.editor.Caret().SetFreeCaret(false);
  m.editor.SetRowCol(0, 0);
  m.Click(m.At(2, 9.1));
  EXPECT_EQ(m.editor.Col(), 3);
}

TEST(Mouse, ShiftClickExtendsTheSelectionFromItsAnchor) {
  MouseOnEditor m;
  m.SetText("abcdef\r\nghijkl");
  m.Click(m.At(0, 2));
  m.Click(m.At(1, 3), Qt::ShiftModifier);
  EXPECT_EQ(m.editor.GetSelText(), "cdef\r\nghi");
  // A second shift-click moves the same selection's free end.
  m.Click(m.At(0, 5), Qt::ShiftModifier);
  EXPECT_EQ(m.editor.GetSelText(), "cde");
  // Without a selection the caret is the anchor.
  m.editor.ClearSelection();
  m.editor.SetRowCol(1, 1);
  m.Click(m.At(1, 4), Qt::ShiftModifier);
  EXPECT_EQ(m.editor.GetSelText(), "hij");
}

TEST(Mouse, DraggingSelectsOnceThePointerMovesHalfACell) {
  MouseOnEditor m;
  m.SetText("abcdef\r\nghijkl");
  const QPoint down = m.At(0, 1);
  m.Press(down);
  m.MoveHeld(down + QPoint(m.editor.CharWidth() / 2 - 1, 0));
  EXPECT_FALSE(m.editor.Selected());
  m.MoveHeld(m.At(1, 2));
  EXPECT_EQ(m.editor.GetSelText(), "bcdef\r\ngh");
  // Back before the press point: the selection runs from there to the anchor.
  m.MoveHeld(m.At(0, 0));
  EXPECT_EQ(m.editor.GetSelText(), "a");
  // A move that reports no button held (the release went elsewhere) selects no further.
  m.Hover(m.At(1, 5));
  EXPECT_EQ(m.editor.GetSelText(), "a");
  m.Release(m.At(0, 0));
  EXPECT_EQ(m.editor.GetSelText(), "a");
  // A move without the button changes nothing.
  m.Hover(m.At(1, 4));
  EXPECT_EQ(m.editor.GetSelText(), "a");
  // A new press replaces the old selection.
  m.Click(m.At(1, 4));
  EXPECT_FALSE(m.editor.Selected());
  EXPECT_EQ(m.editor.Row(), 1);
}

TEST(Mouse, HoldingTheButtonOutsideTheTextScrollsOneMovePerMessage) {
  MouseOnEditor m;
  const std::string text = testing::NumberedRows(100);
  m.SetText(text);
  m.editor.SetTopRow(50);
  m.Press(m.At(2, 0));
  EXPECT_EQ(m.editor.Row(), 52);
  // Just above the text, and further above the control: one row a move.
  m.MoveHeld(QPoint(m.At(0, 1).x(), m.editor.Margin().Top() - 1));
  EXPECT_EQ(m.editor.TopRow(), 49);
  m.MoveHeld(QPoint(m.At(0, 1).x(), -5));
  EXPECT_EQ(m.editor.TopRow(), 48);
  EXPECT_EQ(m.editor.Row(), 48);
  EXPECT_EQ(m.editor.GetSelText(), "ow 48\r\nrow 49\r\nrow 50\r\nrow 51\r\n");
  // Below the control the view follows the caret down.
  const int below = m.editor.ClientHeight() + 2;
  m.MoveHeld(QPoint(m.At(0, 0).x(), below));
  EXPECT_GT(m.editor.TopRow(), 48);
  EXPECT_EQ(m.editor.Row(), m.editor.TopRow() + m.editor.VisibleRows() - 1);
  m.Release(QPoint(m.At(0, 0).x(), below));
  EXPECT_TRUE(m.editor.Selected());
  // Row 0 is as far up as it goes.
  m.editor.SetTopRow(0);
  m.Press(m.At(0, 0));
  m.MoveHeld(QPoint(m.At(0, 0).x(), -40));
  EXPECT_EQ(m.editor.TopRow(), 0);
  EXPECT_EQ(m.editor.Row(), 0);
  m.Release(QPoint(m.At(0, 0).x(), -40));
}

TEST(Mouse, TheLeftMarginSelectsWholeRows) {
  MouseOnEditor m;
  m.SetText("one\r\ntwo\r\nthree\r\nfour");
  ASSERT_GT(m.editor.Margin().Left(), 4);
  const int margin_x = 2;
  m.Press(QPoint(margin_x, m.At(1, 0).y()));
  EXPECT_EQ(m.editor.GetSelText(), "two\r\n");
  m.MoveHeld(QPoint(margin_x, m.At(2, 0).y()));
  EXPECT_EQ(m.editor.GetSelText(), "two\r\nthree\r\n");
  m.MoveHeld(QPoint(margin_x, m.At(3, 0).y()));
  EXPECT_EQ(m.editor.GetSelText(), "two\r\nthree\r\nfour");
  m.Release(QPoint(margin_x, m.At(3, 0).y()));
  EXPECT_FALSE(m.editor.RowSelecting());
  // A later move with the button held elsewhere selects as text again.
  m.Click(m.At(0, 1));
  EXPECT_FALSE(m.editor.Selected());

  // Without whole-row selection the margin puts the caret at the row start.
  m.editor.Caret().SetRowSelect(false);
  m.Click(QPoint(margin_x, m.At(2, 0).y()));
  EXPECT_FALSE(m.editor.Selected());
  EXPECT_EQ(m.editor.Row(), 2);
  EXPECT_EQ(m.editor.Col(), 0);
}

TEST(Mouse, DraggingTheSelectionMovesOrCopiesItAsOneUndoStep) {
  const struct {
    const char* name;
    Qt::KeyboardModifiers at_drop;
    const char* after;
  } cases[] = {
      {"move", Qt::NoModifier, "abc ghidef "},
      {"copy", Qt::ControlModifier, "abc ghidef ghi"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MouseOnEditor m;
    m.SetText("abc def ghi");
    m.Select(0, 8, 0, 11);  // "ghi"
    m.Press(m.At(0, 9.3));
    EXPECT_EQ(m.editor.SelDragState(), 1);
    EXPECT_EQ(m.editor.Col(), 9);  // the press point, not rounded
    m.MoveHeld(m.At(0, 3.3), c.at_drop);
    EXPECT_EQ(m.editor.SelDragState(), 2);
    m.MoveHeld(m.At(0, 4.3), c.at_drop);
    EXPECT_EQ(m.editor.Col(), 4);  // the drop point follows the pointer, not rounded
    m.Release(m.At(0, 4.3), c.at_drop);
    EXPECT_EQ(m.editor.SelDragState(), 0);
    EXPECT_EQ(m.Text(), std::string(c.after));
    EXPECT_FALSE(m.editor.Selected());
    m.editor.Undo();
    EXPECT_EQ(m.Text(), "abc def ghi");
  }
}

TEST(Mouse, ADragThatEndsInsideTheSelectionOrOutsideTheControlMovesNothing) {
  MouseOnEditor m;
  m.SetText("abc def ghi");
  const QPoint ends[] = {m.At(0, 5.3), QPoint(-30, -30)};
  for (const QPoint end : ends) {
    SCOPED_TRACE(::testing::Message() << end.x() << "," << end.y());
    m.Select(0, 4, 0, 8);  // "def "
    m.Press(m.At(0, 4.3));
    m.MoveHeld(m.At(0, 6.3));
    ASSERT_EQ(m.editor.SelDragState(), 2);
    m.MoveHeld(end);
    m.Release(end);
    EXPECT_EQ(m.Text(), "abc def ghi");
    EXPECT_FALSE(m.editor.Selected());
  }
  // Pressed in the selection and released without moving: the caret stays at
  // the press point and the selection goes.
  m.Select(0, 4, 0, 8);
  m.Click(m.At(0, 6.3));
  EXPECT_EQ(m.editor.SelDragState(), 0);
  EXPECT_FALSE(m.editor.Selected());
  EXPECT_EQ(m.editor.Col(), 6);
  EXPECT_EQ(m.Text(), "abc def ghi");
}

TEST(Mouse, APressInTheSelectionStartsNoDragWhereDraggingIsOff) {
  const struct {
    const char* name;
    void (*set)(TEditor&);
    bool new_selection;  // the press anchors a new selection (else only the caret moves)
    const char* selected;
  } cases[] = {
      {"read-only", [](TEditor& e) { e.SetReadOnly(true); }, true, "def ghi"},
      {"no selection moving", [](TEditor& e) { e.Caret().SetSelMove(false); }, true, "def ghi"},
      {"box mode", [](TEditor& e) { e.SetSelectionMode(smBox); }, true, "def ghi"},
      // Manual dragging: the press keeps the selection and moving extends it.
      {"manual drag", [](TEditor& e) { e.Caret().SetSelDragMode(dmManual); }, false, "def ghi"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    MouseOnEditor m;
    m.SetText("abc def ghi");
    c.set(m.editor);
    m.Select(0, 4, 0, 8);
    m.Press(m.At(0, 4.2));
    EXPECT_EQ(m.editor.SelDragState(), 0);
    EXPECT_EQ(m.editor.Selected(), !c.new_selection);
    EXPECT_EQ(m.editor.Col(), 4);
    m.MoveHeld(m.At(0, 11));
    m.Release(m.At(0, 11));
    EXPECT_EQ(m.Text(), "abc def ghi");
    EXPECT_EQ(m.editor.GetSelText(), c.selected);
  }
}

TEST(Mouse, ThePointerShapeFollowsWhatIsUnderIt) {
  MouseOnEditor m;
  m.SetText("abc def ghi");
  const TEditorCursors& cursors = m.editor.Caret().Cursors();
  m.Hover(QPoint(2, m.At(0, 0).y()));
  EXPECT_EQ(m.editor.CursorKind(), 1);
  EXPECT_EQ(m.editor.Cursor(), cursors.LeftMarginCursor());
  m.Hover(m.At(0, 5));
  EXPECT_EQ(m.editor.CursorKind(), 0);
  EXPECT_EQ(m.editor.Cursor(), cursors.DefaultCursor());
  m.Select(0, 4, 0, 8);
  m.Hover(m.At(0, 5));
  EXPECT_EQ(m.editor.CursorKind(), 2);
  EXPECT_EQ(m.editor.Cursor(), cursors.InSelCursor());
  m.Hover(m.At(0, 9.2));
  EXPECT_EQ(m.editor.CursorKind(), 0);

  // Dragging: the drag shapes, Ctrl switching between move and copy.
  m.Press(m.At(0, 5.3));
  m.MoveHeld(m.At(0, 1.3));
  EXPECT_EQ(m.editor.CursorKind(), 3);
  QTest::keyPress(m.Client(), Qt::Key_Control);
  EXPECT_EQ(m.editor.CursorKind(), 4);
  QTest::keyRelease(m.Client(), Qt::Key_Control);
  EXPECT_EQ(m.editor.CursorKind(), 3);
  QTest::keyClick(m.Client(), Qt::Key_Escape);
  EXPECT_EQ(m.editor.SelDragState(), 0);
  m.Release(m.At(0, 1.3));
  EXPECT_EQ(m.Text(), "abc def ghi");

  // Over a selection that cannot be dragged the pointer stays the text's.
  m.Select(0, 4, 0, 8);
  m.editor.SetReadOnly(true);
  m.Hover(m.At(0, 5));
  EXPECT_EQ(m.editor.CursorKind(), 0);
  // Without AutoCursor the kind changes but the shape stays.
  m.editor.Caret().SetAutoCursor(false);
  m.Hover(QPoint(2, m.At(0, 0).y()));
  EXPECT_EQ(m.editor.CursorKind(), 1);
  EXPECT_EQ(m.editor.Cursor(), cursors.DefaultCursor());
}

TEST(Mouse, ScrollBarRequestsMoveTheView) {
  MouseOnEditor m;
  const std::string text = testing::NumberedRows(100);
  m.SetText(text);
  m.editor.SetScrollBars(ssBoth);
  TEditor& e = m.editor;
  const int page = e.VisibleRows();
  ASSERT_GT(page, 1);
  const int bottom = std::min(e.RowCount() + page - 2, e.RowCount());
  const struct {
    int code;
    int thumb;
    int top;
  } cases[] = {
      {platform::SB_LINEUP, 0, 9},
      {platform::SB_LINEDOWN, 0, 11},
      {platform::SB_PAGEUP, 0, std::max(0, 10 - page)},
      {platform::SB_PAGEDOWN, 0, 10 + page},
      {platform::SB_TOP, 0, 0},
      {platform::SB_BOTTOM, 0, bottom},
      {platform::SB_THUMBTRACK, 42, 42},
      {platform::SB_THUMBPOSITION, 3, 3},
      {platform::SB_ENDSCROLL, 0, 10},
      {99, 0, 10},
  };
  QScrollBar* bar = platform::ControlScrollBar(e, platform::SB_VERT);
  ASSERT_NE(bar, nullptr);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.code);
    e.SetTopRow(10);
    e.SetRowCol(12, 0);
    // The bar's thumb is where the user dragged it; the message carries its low 16 bits.
    {
      const QSignalBlocker quiet(bar);
      bar->setSliderPosition(c.thumb);
    }
    e.Perform(platform::WM_VSCROLL, platform::MAKEWPARAM(c.code, c.thumb & 0xFFFF), 0);
    EXPECT_EQ(e.TopRow(), c.top);
    EXPECT_EQ(e.Row(), 12);  // the caret keeps its row
  }

  // The track position is read from the bar in full, beyond 16 bits of the message.
  e.SetTopRow(0);
  {
    const QSignalBlocker quiet(bar);
    bar->setSliderPosition(70);
  }
  e.Perform(platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_THUMBTRACK, 5), 0);
  EXPECT_EQ(e.TopRow(), 70);

  // The bar itself: a click on its arrow is a line request.
  bar->triggerAction(QAbstractSlider::SliderSingleStepAdd);
  EXPECT_EQ(e.TopRow(), 71);
  EXPECT_EQ(bar->value(), 71);

  // Locked, the caret moves with the view.
  e.Caret().SetLockScroll(true);
  e.SetTopRow(10);
  e.SetRowCol(12, 0);
  e.Perform(platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(e.TopRow(), 10 + page);
  EXPECT_EQ(e.Row(), 12 + page);
  e.Caret().SetLockScroll(false);

  // Sideways: columns, the thumb from the message; the caret never follows.
  e.SetRowCol(3, 2);
  e.Perform(platform::WM_HSCROLL, platform::MAKEWPARAM(platform::SB_LINERIGHT, 0), 0);
  EXPECT_EQ(e.TopCol(), 1);
  e.Perform(platform::WM_HSCROLL, platform::MAKEWPARAM(platform::SB_THUMBTRACK, 7), 0);
  EXPECT_EQ(e.TopCol(), 7);
  e.Perform(platform::WM_HSCROLL, platform::MAKEWPARAM(platform::SB_LEFT, 0), 0);
  EXPECT_EQ(e.TopCol(), 0);
  e.Perform(platform::WM_HSCROLL, platform::MAKEWPARAM(platform::SB_LINELEFT, 0), 0);
  EXPECT_EQ(e.TopCol(), 0);
  EXPECT_EQ(e.Col(), 2);

  // The wheel arrives as line requests: a notch toward the user scrolls down.
  e.SetTopRow(10);
  e.Perform(platform::WM_MOUSEWHEEL, platform::MAKEWPARAM(0, -platform::WHEEL_DELTA), 0);
  EXPECT_EQ(e.TopRow(), 10 + QApplication::wheelScrollLines());
}

TEST(Mouse, TheWheelStopsWhereTheLastRowReachesTheBottomOfTheView) {
  MouseOnEditor m;
  const std::string text = testing::NumberedRows(40);
  m.SetText(text);
  m.editor.SetScrollBars(ssBoth);
  TEditor& e = m.editor;
  const int lines = QApplication::wheelScrollLines();
  const int last_at_bottom = e.RowCount() - e.VisibleRows();
  ASSERT_GT(last_at_bottom, lines);
  auto wheel = [&](int notches) {
    e.Perform(platform::WM_MOUSEWHEEL, platform::MAKEWPARAM(0, -notches * platform::WHEEL_DELTA),
              0);
  };
  const struct {
    int top;
    int notches;  // toward the user: down
    int expected;
  } cases[] = {
      {last_at_bottom - lines - 1, 1, last_at_bottom - 1},
      {last_at_bottom - lines, 1, last_at_bottom},
      {last_at_bottom - 1, 1, last_at_bottom},
      {last_at_bottom, 1, last_at_bottom},
      {last_at_bottom, 5, last_at_bottom},
      // Beyond, where the scroll bar took the view: the wheel does not pull it back.
      {last_at_bottom + 2, 1, last_at_bottom + 2},
      {last_at_bottom + 2, -1, last_at_bottom + 2 - lines},
      {0, -1, 0},
  };
  for (const auto& c : cases) {
    e.SetTopRow(c.top);
    wheel(c.notches);
    EXPECT_EQ(e.TopRow(), c.expected) << c.top << " " << c.notches;
  }
  // The scroll bar keeps its own rule: its arrow goes on to the last row.
  e.SetTopRow(last_at_bottom);
  e.Perform(platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_LINEDOWN, 0), 0);
  EXPECT_EQ(e.TopRow(), last_at_bottom + 1);

  // A text shorter than the view does not scroll at all.
  m.SetText("a\r\nb\r\n");
  e.SetTopRow(0);
  wheel(1);
  EXPECT_EQ(e.TopRow(), 0);
}

TEST(Mouse, APageRequestInAViewWithoutWholeRowsStillScrollsOneRow) {
  MouseOnEditor m(300, 12);
  m.SetText("a\r\nb\r\nc\r\nd\r\n");
  ASSERT_EQ(m.editor.VisibleRows(), 0);
  m.editor.Perform(platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_PAGEDOWN, 0), 0);
  EXPECT_EQ(m.editor.TopRow(), 1);
  m.editor.Perform(platform::WM_VSCROLL, platform::MAKEWPARAM(platform::SB_PAGEUP, 0), 0);
  EXPECT_EQ(m.editor.TopRow(), 0);
}

TEST(Mouse, ReadOnlyStillPlacesTheCaretAndSelects) {
  MouseOnEditor m;
  m.SetText(Sjis("あいう") + "\r\nabc");
  m.editor.SetReadOnly(true);
  m.Click(m.At(0, 3.8));
  EXPECT_EQ(m.editor.Col(), 4);
  m.Press(m.At(0, 0.2));
  m.MoveHeld(m.At(1, 2.2));
  m.Release(m.At(1, 2.2));
  EXPECT_EQ(m.editor.GetSelText(), Sjis("あいう") + "\r\nab");
  EXPECT_EQ(m.Text(), Sjis("あいう") + "\r\nabc");
}

}  // namespace
}  // namespace editor
