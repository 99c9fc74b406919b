// The selection of the real control: its text and length in both modes,
// selecting by length and all, whole rows, dragging, and where its colours
// land on the surface.
#include <gtest/gtest.h>

#include <QCursor>
#include <QPaintEvent>
#include <QRegion>
#include <functional>
#include <random>
#include <vector>

#include "platform/control/virtual_keys.h"
#include "tests/editor/control/selection_fixture.h"

namespace editor {
namespace {

using testing::EditorInWindow;
using testing::Sjis;

TEST(Selection, StreamTextAndLengthAcrossALineBreak) {
  EditorInWindow w;
  w.SetText("ab\r\ncd");
  std::vector<bool> changes;
  w.editor.OnSelectionChange = [&](platform::TObject*, bool selected) {
    changes.push_back(selected);
  };
  w.Select(0, 1, 1, 1);
  EXPECT_TRUE(w.editor.Selected());
  EXPECT_EQ(w.editor.GetSelText(), "b\r\nc");
  EXPECT_EQ(w.editor.GetSelLength(), 4);
  EXPECT_EQ(w.editor.GetSelStart(), 1);
  // Back above the anchor: the selection runs from the caret to the anchor.
  w.editor.SetRowCol(0, 0);
  w.editor.UpdateSelection();
  EXPECT_EQ(w.editor.GetSelText(), "a");
  EXPECT_EQ(w.editor.SelCols(), (TEditorSelRange{0, 0, 0, 1}));
  w.editor.ClearSelection();
  EXPECT_FALSE(w.editor.Selected());
  EXPECT_EQ(w.editor.GetSelText(), "");
  EXPECT_EQ(w.editor.GetSelLength(), 0);
  EXPECT_EQ(changes, (std::vector<bool>{true, true, false}));
}

TEST(Selection, OneRowRunsBetweenAnchorAndCaretBytes) {
  EditorInWindow w;
  w.SetText("abcdefg");
  w.Select(0, 3, 0, 5);
  EXPECT_EQ(w.editor.SelBytes(), (TEditorSelRange{0, 0, 3, 4}));
  EXPECT_EQ(w.editor.GetSelText(), "de");
  w.editor.SetRowCol(0, 1);
  w.editor.UpdateSelection();
  EXPECT_EQ(w.editor.SelBytes(), (TEditorSelRange{0, 0, 1, 2}));
  EXPECT_EQ(w.editor.GetSelText(), "bc");
}

TEST(Selection, AnAnchorAloneSelectsNothing) {
  EditorInWindow w;
  w.SetText("abc");
  w.editor.StartSelection();
  EXPECT_FALSE(w.editor.Selected());
  EXPECT_EQ(w.editor.GetSelText(), "");
  // On an empty text there is nothing to anchor to.
  w.SetText("");
  w.editor.StartSelection();
  w.editor.UpdateSelection();
  EXPECT_FALSE(w.editor.Selected());
}

TEST(Selection, BoxTakesTheCharactersStartingInsideIt) {
  EditorInWindow w;
  w.SetText("abcd\r\n" + Sjis("あいう"));
  int mode_changes = 0;
  w.editor.OnSelectionModeChange = [&](platform::TObject*) { ++mode_changes; };
  w.editor.SetSelectionMode(smBox);
  w.editor.SetSelectionMode(smBox);
  EXPECT_EQ(mode_changes, 1);
  w.Select(0, 1, 1, 4);
  EXPECT_EQ(w.editor.SelCols(), (TEditorSelRange{0, 1, 1, 4}));
  // い starts at column 2 and belongs to the box; あ (0) and う (4) do not.
  EXPECT_EQ(w.editor.GetSelText(), "bcd\r\n" + Sjis("い") + "\r\n");
  EXPECT_EQ(w.editor.GetSelLength(), 9);

  // Back to stream mode: the same anchor and caret select from byte to byte.
  w.editor.SetSelectionMode(smStream);
  EXPECT_EQ(mode_changes, 2);
  EXPECT_EQ(w.editor.GetSelText(), "bcd\r\n" + Sjis("あい"));
}

TEST(Selection, InSelectionFollowsTheMode) {
  EditorInWindow w;
  w.SetText("abcdef\r\nabcdef\r\nabcdef");
  w.Select(0, 2, 2, 4);
  struct Case {
    int row, col;
    bool stream, box;
  } const cases[] = {
      {0, 1, false, false}, {0, 2, true, true}, {0, 5, true, false},  {1, 0, true, false},
      {1, 3, true, true},   {2, 3, true, true}, {2, 4, false, false}, {3, 3, false, false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(w.editor.InSelection(c.row, c.col), c.stream) << c.row << "," << c.col;
  w.editor.SetSelectionMode(smBox);
  for (const Case& c : cases)
    EXPECT_EQ(w.editor.InSelection(c.row, c.col), c.box) << c.row << "," << c.col << " box";
}

TEST(Selection, ByLengthAndAll) {
  EditorInWindow w;
  w.SetText("ab\r\ncd\r\na\tb");
  // From the caret over a line break: the caret ends at the next row's start.
  w.editor.SetSelStart(1);
  w.editor.SetSelLength(3);
  EXPECT_EQ(w.editor.GetSelText(), "b\r\n");
  EXPECT_EQ(w.editor.Row(), 1);
  EXPECT_EQ(w.editor.Col(), 0);
  // Over a tab: the caret goes to the tab's stop.
  w.editor.SetSelStart(8);
  w.editor.SetSelLength(2);
  EXPECT_EQ(w.editor.GetSelText(), "a\t");
  EXPECT_EQ(w.editor.Col(), 8);
  // A box selection becomes a stream one; more than the text stops at its end.
  w.editor.SetSelectionMode(smBox);
  w.editor.SetSelStart(4);
  w.editor.SetSelLength(100);
  EXPECT_EQ(w.editor.SelectionMode(), smStream);
  EXPECT_EQ(w.editor.GetSelText(), "cd\r\na\tb");
  // Length 0 leaves the caret at the selection's start.
  w.editor.SetSelLength(0);
  EXPECT_FALSE(w.editor.Selected());
  EXPECT_EQ(w.editor.Row(), 1);
  EXPECT_EQ(w.editor.Col(), 0);

  w.editor.SelectAll();
  EXPECT_EQ(w.editor.GetSelText(), "ab\r\ncd\r\na\tb");
  EXPECT_EQ(w.editor.GetSelLength(), 11);
  EXPECT_EQ(w.editor.GetSelStart(), 0);

  // With a final line break the caret goes to the row after it.
  w.SetText("ab\r\n");
  w.editor.SelectAll();
  EXPECT_EQ(w.editor.GetSelText(), "ab\r\n");
  EXPECT_EQ(w.editor.Row(), 1);

  w.SetText("");
  w.editor.SelectAll();
  EXPECT_FALSE(w.editor.Selected());
}

TEST(Selection, WholeRowsFollowTheMarginDrag) {
  EditorInWindow w;
  w.SetText("r0\r\nr1\r\nr2\r\nr3\r\nr4");
  w.editor.RowSelectStart(2);
  EXPECT_EQ(w.editor.GetSelText(), "r2\r\n");
  EXPECT_EQ(w.editor.Row(), 2);
  EXPECT_EQ(w.editor.Col(), 0);
  w.editor.RowSelectTo(0);
  EXPECT_EQ(w.editor.GetSelText(), "r0\r\nr1\r\nr2\r\n");
  w.editor.RowSelectTo(3);
  EXPECT_EQ(w.editor.GetSelText(), "r2\r\nr3\r\n");
  // The last row has no line break: it is selected to its end.
  w.editor.RowSelectTo(9);
  EXPECT_EQ(w.editor.GetSelText(), "r2\r\nr3\r\nr4");
  w.editor.RowSelectEnd();
  w.editor.RowSelectTo(0);  // no longer selecting: nothing changes
  EXPECT_EQ(w.editor.GetSelText(), "r2\r\nr3\r\nr4");

  // Started on the last row, upward.
  w.editor.RowSelectStart(4);
  EXPECT_EQ(w.editor.GetSelText(), "r4");
  w.editor.RowSelectTo(3);
  EXPECT_EQ(w.editor.GetSelText(), "r3\r\nr4");
}

TEST(Selection, DraggingAndDropping) {
  EditorInWindow w;
  w.SetText("abcd");
  w.editor.Caret().SetSelMove(true);
  w.Select(0, 1, 0, 3);
  ASSERT_TRUE(w.editor.CanDragSelection());
  // Not in box mode, not read-only.
  w.editor.SetReadOnly(true);
  EXPECT_FALSE(w.editor.CanDragSelection());
  w.editor.SetReadOnly(false);

  w.editor.SelDragBegin();  // without a press first: no drag
  EXPECT_EQ(w.editor.SelDragState(), 0);
  w.editor.SelDragPress();
  w.editor.SelDragBegin();
  EXPECT_EQ(w.editor.SelDragState(), 2);
  EXPECT_EQ(w.editor.CursorKind(), 3);
  // The mode stays while the selection is dragged.
  w.editor.SetSelectionMode(smBox);
  EXPECT_EQ(w.editor.SelectionMode(), smStream);

  // Dropped at column 4 of the same row, with the pointer over the control.
  QWidget* client = platform::ClientWidget(w.editor);
  QCursor::setPos(client->mapToGlobal(QPoint(10, 10)));
  w.editor.SetRowCol(0, 4);
  w.editor.SelDragEnd();
  EXPECT_EQ(w.editor.SelDragState(), 0);
  EXPECT_EQ(w.editor.Lines().GetTextStr(), "adbc");
  EXPECT_EQ(w.editor.Col(), 4);
  EXPECT_FALSE(w.editor.Selected());
  // One step to undo.
  w.editor.Undo();
  EXPECT_EQ(w.editor.Lines().GetTextStr(), "abcd");

  // Released with the pointer outside the control: the selection goes, the text stays.
  w.Select(0, 1, 0, 3);
  w.editor.SelDragPress();
  w.editor.SelDragBegin();
  QCursor::setPos(client->mapToGlobal(QPoint(-20, -20)));
  w.editor.SetRowCol(0, 4);
  w.editor.SelDragEnd();
  EXPECT_EQ(w.editor.Lines().GetTextStr(), "abcd");
  EXPECT_FALSE(w.editor.Selected());

  // Escape during a drag cancels it and the selection.
  w.Select(0, 1, 0, 3);
  w.editor.SelDragPress();
  w.editor.SelDragBegin();
  w.editor.SelDragCancel();
  EXPECT_EQ(w.editor.SelDragState(), 0);
  EXPECT_EQ(w.editor.CursorKind(), 0);
  EXPECT_FALSE(w.editor.Selected());
}

TEST(Selection, DropTargets) {
  struct Case {
    const char* text;
    int row, col, to_row, to_col;  // the selection
    int drop_row, drop_col;
    bool move;
    const char* result;
    int caret_row, caret_col;
  } const cases[] = {
      // A copy after the end of the row pads it with spaces.
      {"abcd", 0, 1, 0, 3, 0, 6, false, "abcd  bc", 0, 8},
      // A move up over a line break.
      {"ab\r\ncdef", 1, 1, 1, 3, 0, 1, true, "adeb\r\ncf", 0, 3},
      // A move down of text holding a line break.
      {"ab\r\ncd\r\nef", 0, 1, 1, 1, 2, 1, true, "ad\r\neb\r\ncf", 2, 1},
      // A copy to the row after a final line break.
      {"ab\r\n", 0, 0, 0, 2, 1, 0, false, "ab\r\nab", 1, 2},
      // Into the selection itself: nothing changes.
      {"abcd", 0, 0, 0, 3, 0, 2, true, "abcd", 0, 2},
  };
  for (const Case& c : cases) {
    EditorInWindow w;
    w.SetText(c.text);
    w.editor.Caret().SetFreeCaret(true);
    w.editor.Caret().SetSelMove(true);
    w.Select(c.row, c.col, c.to_row, c.to_col);
    if (c.move) {
      w.editor.SelDragPress();
      w.editor.SelDragBegin();
      QCursor::setPos(platform::ClientWidget(w.editor)->mapToGlobal(QPoint(10, 10)));
      w.editor.SetRowCol(c.drop_row, c.drop_col);
      w.editor.SelDragEnd();
    } else {
      w.editor.CopySelectionTo(c.drop_row, c.drop_col);
    }
    EXPECT_EQ(w.editor.Lines().GetTextStr(), c.result) << c.text;
    EXPECT_EQ(w.editor.Row(), c.caret_row) << c.text;
    EXPECT_EQ(w.editor.Col(), c.caret_col) << c.text;
    EXPECT_FALSE(w.editor.Selected());
  }
}

// ----------------------------------------------------------- on the surface

// Which cells of the first `rows` rows and `cols` columns show the selection.
std::vector<std::string> SelectedCells(const EditorInWindow& w, int rows, int cols) {
  const QImage surface = w.Surface();
  std::vector<std::string> lines;
  for (int r = 0; r < rows; ++r) {
    std::string line;
    for (int c = 0; c < cols; ++c) line += w.CellSelected(surface, r, c) ? '#' : '.';
    lines.push_back(line);
  }
  return lines;
}

TEST(SelectionOnScreen, StreamReachesTheRightEdgeOnAllButItsLastRow) {
  EditorInWindow w;
  w.SetText("abcdef\r\nab\r\nabcdef\r\nabcdef");
  w.Select(0, 2, 2, 3);
  EXPECT_EQ(SelectedCells(w, 4, 10),
            (std::vector<std::string>{"..########", "##########", "###.......", ".........."}));
  // Moving the caret back repaints only what changed, to the same picture a
  // full repaint gives.
  w.editor.SetRowCol(1, 1);
  w.editor.UpdateSelection();
  EXPECT_EQ(SelectedCells(w, 4, 10),
            (std::vector<std::string>{"..########", "#.........", "..........", ".........."}));
  w.editor.ClearSelection();
  EXPECT_EQ(SelectedCells(w, 4, 10), std::vector<std::string>(4, ".........."));
}

// What the window system was asked to show of a widget.
class PaintRecorder : public QObject {
 public:
  explicit PaintRecorder(QWidget* widget) : widget_(widget) { widget->installEventFilter(this); }
  ~PaintRecorder() override { widget_->removeEventFilter(this); }
  QRegion region;

 protected:
  bool eventFilter(QObject*, QEvent* event) override {
    if (event->type() == QEvent::Paint) region |= static_cast<QPaintEvent*>(event)->region();
    return false;
  }

 private:
  QWidget* widget_;
};

TEST(SelectionOnScreen, SelectAllFromTheEndOfTheTextPaintsEveryRow) {
  struct Case {
    const char* text;
    std::vector<std::string> cells;
  } const cases[] = {
      {"abc\r\ndef", {"######", "###...", "......"}},
      {"abc\r\ndef\r\n", {"######", "######", "......"}},
      {"abc", {"###...", "......", "......"}},
  };
  for (const bool underline : {false, true}) {
    for (const Case& c : cases) {
      EditorInWindow w;
      w.editor.Marks().Underline().SetVisible(underline);
      w.SetText(c.text);
      w.editor.SetSelStart(static_cast<int>(std::string(c.text).size()));
      w.editor.Update();
      w.editor.SelectAll();
      EXPECT_EQ(SelectedCells(w, 3, 6), c.cells) << c.text << " underline " << underline;
      const QImage incremental = w.Surface();
      EXPECT_EQ(incremental, testing::FullRepaint(w.editor)) << c.text << " " << underline;
    }
    // A view scrolled to the end of a longer text, the caret brought there
    // in each of the ways a user does.
    EditorInWindow w(200, 70);
    w.editor.Marks().Underline().SetVisible(underline);
    QWidget* frame = platform::ControlWidget(w.editor);
    QWidget* client = platform::ClientWidget(w.editor);
    frame->show();
    (void)QTest::qWaitForWindowExposed(frame);
    QApplication::setActiveWindow(frame);
    (void)QTest::qWaitForWindowActive(frame);
    std::string text;
    for (int i = 0; i < 300; ++i) text += "row" + std::to_string(i % 10) + "\r\n";
    auto ctrl_end = [&] { QTest::keyClick(client, Qt::Key_End, Qt::ControlModifier); };
    const struct {
      const char* name;
      std::function<void(const std::string&)> to_the_end;
    } ways[] = {
        {"Ctrl+End", [&](const std::string&) { ctrl_end(); }},
        {"after selecting all",
         [&](const std::string&) {
           ctrl_end();
           w.editor.SelectAll();
         }},
        {"selecting up to it",
         [&](const std::string&) {
           QTest::keyClick(client, Qt::Key_End, Qt::ControlModifier | Qt::ShiftModifier);
         }},
        {"written line by line, without the focus",
         [&](const std::string&) {
           client->clearFocus();
           w.editor.Lines().Clear();
           for (int i = 0; i < 300; ++i) w.editor.Lines().Add("row" + std::to_string(i % 10));
           w.editor.SetTopRow(w.editor.RowCount() - w.editor.VisibleRows());
           w.editor.SetSelStart(static_cast<int>(text.size()));
         }},
    };
    for (const auto& way : ways) {
      for (const std::string& t : {text, text + "end", text + std::string(100, 'z')}) {
        SCOPED_TRACE(std::string(way.name) + ", " + std::to_string(t.size()) + " bytes" +
                     (underline ? ", underline" : ""));
        w.editor.SetFocus();
        w.SetText(t);
        way.to_the_end(t);
        w.editor.Update();
        ASSERT_GT(w.editor.TopRow(), 0);
        QApplication::processEvents();
        const QImage before = w.Surface();
        PaintRecorder painted(client);
        w.editor.SelectAll();
        const QImage after = w.Surface();
        for (int r = 0; r < w.editor.VisibleRows(); ++r) {
          if (w.editor.TopRow() + r < w.editor.RowCount()) {
            EXPECT_TRUE(w.CellSelected(after, r, 0)) << "view row " << r;
          }
        }
        // Every pixel that changed reaches the screen once the event loop ran.
        QApplication::processEvents();
        QApplication::processEvents();
        QRegion changed;
        for (int y = 0; y < after.height(); ++y)
          for (int x = 0; x < after.width(); ++x)
            if (after.pixel(x, y) != before.pixel(x, y)) changed |= QRect(x, y, 1, 1);
        EXPECT_TRUE((changed - painted.region).isEmpty());
        EXPECT_EQ(after, testing::FullRepaint(w.editor));
      }
    }
  }
}

TEST(SelectionOnScreen, BoxCoversOnlyTheTextAndSkipsACutCharacter) {
  EditorInWindow w;
  w.SetText("abcdef\r\n" + Sjis("あいう") + "\r\nab");
  w.editor.Caret().SetFreeCaret(true);  // the box reaches beyond the last row
  w.editor.SetSelectionMode(smBox);
  w.Select(0, 1, 2, 4);
  // On the row あいう the left edge cuts あ: the highlight starts after it.
  EXPECT_EQ(SelectedCells(w, 3, 8), (std::vector<std::string>{".###....", "..##....", ".#......"}));
}

// The caret-row underline stays away while a selection is shown and comes
// back on the caret's row when it is cleared.
TEST(SelectionOnScreen, UnderlineWaitsForTheSelectionToGo) {
  EditorInWindow w;
  w.editor.Marks().Underline().SetColor(platform::clRed);
  w.editor.Marks().Underline().SetVisible(true);
  w.editor.UpdateView();
  w.SetText("abc\r\ndef\r\nghi");
  // The rows whose underline pixel row is red.
  auto underlined = [&w] {
    const QImage surface = w.Surface();
    std::vector<int> rows;
    for (int row = 0; row < 3; ++row) {
      const int y = w.editor.UnderlineY(row);
      if (y >= 0 && surface.pixel(w.editor.Margin().Left() + 1, y) == 0xFFFF0000)
        rows.push_back(row);
    }
    return rows;
  };
  w.editor.SetRowCol(1, 0);
  EXPECT_EQ(underlined(), std::vector<int>{1});
  w.Select(1, 0, 0, 2);
  EXPECT_EQ(underlined(), std::vector<int>{});
  w.editor.SetRowCol(2, 1);
  w.editor.UpdateSelection();
  EXPECT_EQ(underlined(), std::vector<int>{});
  w.editor.ClearSelection();
  EXPECT_EQ(underlined(), std::vector<int>{2});
}

// After any sequence of selection changes the surface is what a full
// repaint of the same state draws, with rows wrapped or not.
class IncrementalRepaint : public ::testing::TestWithParam<bool> {};

TEST_P(IncrementalRepaint, EqualsFullRepaint) {
  EditorInWindow w(300, 160);
  w.editor.View().SetUrl(true);
  w.editor.WrapOption().SetWrapByte(20);
  w.editor.SetWordWrap(GetParam());
  w.SetText("http://example.com/an/address/to/wrap\r\n" + Sjis("あいうえお") +
            "xyz\r\n\tab\tcd\r\n\r\nshort\r\n" + "a longer row of text here\r\nz");
  std::mt19937 random(4);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  std::string log;  // the last operations, for the message of a failure
  for (int step = 0; step < 400; ++step) {
    const int op = pick(8);
    log += " " + std::to_string(op) + "@" + std::to_string(w.editor.Row()) + "," +
           std::to_string(w.editor.Col());
    switch (op) {
      case 0:
        w.editor.StartSelection();
        break;
      case 1:
        w.editor.ClearSelection();
        break;
      case 2:
        w.editor.SetSelectionMode(w.editor.SelectionMode() == smBox ? smStream : smBox);
        break;
      case 3:
        w.editor.SetTopRow(pick(7));
        break;
      default:
        w.editor.SetRowCol(pick(11), pick(30));
        w.editor.UpdateSelection();
        break;
    }
    const QImage incremental = w.Surface();
    w.editor.InvalidateAll();
    w.editor.Update();
    const QImage full = w.Surface();
    if (incremental != full) {
      QRect diff;
      for (int y = 0; y < full.height(); ++y)
        for (int x = 0; x < full.width(); ++x)
          if (incremental.pixel(x, y) != full.pixel(x, y)) diff |= QRect(x, y, 1, 1);
      FAIL() << "step " << step << " differs in " << diff.x() << "," << diff.y() << " "
             << diff.width() << "x" << diff.height() << " mode " << int(w.editor.SelectionMode())
             << " sel " << w.editor.Selected() << " cols " << w.editor.SelCols().StartRow << ","
             << w.editor.SelCols().StartCol << "-" << w.editor.SelCols().EndRow << ","
             << w.editor.SelCols().EndCol << " top " << w.editor.TopRow() << " caret "
             << w.editor.Row() << "," << w.editor.Col() << " cw " << w.editor.CharWidth() << " rh "
             << w.editor.RowHeight() << "\n"
             << log.substr(log.size() > 200 ? log.size() - 200 : 0);
    }
  }
}

INSTANTIATE_TEST_SUITE_P(SelectionOnScreen, IncrementalRepaint, ::testing::Bool());

}  // namespace
}  // namespace editor
