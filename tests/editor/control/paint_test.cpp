// Painting: what scrolling, caret moves, selection changes and edits leave
// on the surface is what a repaint of everything draws; token colours, marks
// and the underline land on their cells, also in the typical views that
// editor-pictures draws.
#include <gtest/gtest.h>
#include <QDir>

#include <random>

#include "tests/editor/control/editor_test_support.h"
#include "tests/editor/control/typical_views.h"
#include "tests/support/files.h"

namespace editor {
namespace {

using platform::TColor;
using platform::TRect;
using testing::BlackScheme;
using testing::CountColour;
using testing::MixedText;
using testing::ShownEditor;
using testing::Sjis;

void ExpectSameAsFullRepaint(TEditor& editor, const std::string& step) {
  const QImage incremental = testing::Surface(editor);
  const QImage full = testing::FullRepaint(editor);
  ASSERT_EQ(incremental.size(), full.size());
  if (incremental == full) return;
  int first_y = -1;
  for (int y = 0; y < full.height() && first_y < 0; ++y)
    for (int x = 0; x < full.width(); ++x)
      if (incremental.pixel(x, y) != full.pixel(x, y)) {
        first_y = y;
        break;
      }
  const QString folder = QDir::tempPath() + "/";
  incremental.save(folder + "paint_failure_incremental.png");
  full.save(folder + "paint_failure_full.png");
  ADD_FAILURE() << "after " << step << ": first differing pixel row " << first_y
                << " (pictures: paint_failure_*.png)";
}

enum class Look { kPlain, kWrapped, kItalic };

class PaintTest : public ::testing::TestWithParam<Look> {};

TEST_P(PaintTest, IncrementalPaintingEqualsFullPainting) {
  const bool wrap = GetParam() == Look::kWrapped;
  auto editor = ShownEditor(640, 360);
  BlackScheme(*editor);
  if (GetParam() == Look::kItalic) editor->View().Colors().Url().SetStyle({platform::fsItalic});
  editor->Marks().RetMark().SetVisible(true);
  editor->Marks().EofMark().SetVisible(true);
  editor->SetScrollBars(ssBoth);
  editor->SetWordWrap(wrap);
  editor->WrapOption().SetWrapByte(40);
  editor->Lines().SetTextStr(MixedText(300));
  editor->Loaded();
  ASSERT_TRUE(editor->Focused());
  std::mt19937 random(static_cast<unsigned>(GetParam()) * 6 + 5);
  auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
  for (int step = 0; step < 200; ++step) {
    std::string what;
    switch (pick(10)) {
      case 0:
        editor->SetRowCol(pick(editor->RowCount() + 1), pick(90));
        what = "SetRowCol";
        break;
      case 1:
        editor->SetRow(editor->Row() + pick(5) - 2);
        what = "SetRow";
        break;
      case 2:
        editor->SetCol(editor->Col() + pick(9) - 4);
        what = "SetCol";
        break;
      case 3:
        editor->SetTopRow(editor->TopRow() + pick(31) - 15);
        what = "SetTopRow";
        break;
      case 4:
        editor->SetTopCol(editor->TopCol() + pick(7) - 3);
        what = "SetTopCol";
        break;
      case 5:
        editor->PageScroll(pick(2) ? editor->VisibleRows() : -editor->VisibleRows());
        what = "PageScroll";
        break;
      case 6:
        // The caret drags the selection along, mostly on the same rows.
        if (!editor->Selected()) editor->StartSelection();
        for (int k = pick(4); k >= 0; --k) {
          editor->SetRowCol(editor->Row() + pick(3) - 1, editor->Col() + pick(9) - 4);
          editor->UpdateSelection();
          if (k > 0) ExpectSameAsFullRepaint(*editor, std::to_string(step) + " selecting");
        }
        what = "selection";
        break;
      case 7:
        editor->ClearSelection();
        what = "ClearSelection";
        break;
      case 8:
        editor->SetSelectionMode(pick(2) ? smBox : smStream);
        what = "SetSelectionMode";
        break;
      case 9: {
        // Lines inserted, removed or replaced near the view or inside it.
        const int line =
            std::min(editor->Lines().Count() - 1, std::max(0, editor->TopRow() + pick(40) - 10));
        const int kind = pick(3);
        if (kind == 0) {
          std::string row = MixedText(1);
          row.resize(row.size() - 2);  // without its line break
          editor->Lines().Insert(line, row);
        }
        if (kind == 1) editor->Lines().Delete(line);
        if (kind == 2) editor->Lines().Put(line, Sjis("置き換え http://x.jp/ "));
        what = "edit " + std::to_string(kind) + " at line " + std::to_string(line);
        break;
      }
    }
    ExpectSameAsFullRepaint(*editor, std::to_string(step) + " " + what);
    if (HasFailure()) return;
  }
}

// Every way a selection can grow and shrink, in both modes: the caret
// moves on the anchor's row, leaves it down and up, and comes back.
TEST(PaintSelectionTest, EachChangeRepaintsExactlyWhatChanged) {
  struct Move {
    int row, col;
  };
  const Move anchor{3, 10};
  const std::vector<Move> moves = {{3, 14}, {3, 12}, {3, 6},  {3, 8},  {5, 8},  {5, 3},
                                   {4, 20}, {3, 12}, {3, 4},  {1, 6},  {1, 12}, {2, 2},
                                   {3, 9},  {3, 16}, {6, 30}, {3, 11}, {0, 0},  {3, 10}};
  for (TSelectionMode mode : {smStream, smBox}) {
    auto editor = ShownEditor(480, 200);
    BlackScheme(*editor);
    editor->Lines().SetTextStr(MixedText(12));
    editor->SetSelectionMode(mode);
    editor->SetRowCol(anchor.row, anchor.col);
    editor->StartSelection();
    for (const Move& m : moves) {
      editor->SetRowCol(m.row, m.col);
      editor->UpdateSelection();
      ExpectSameAsFullRepaint(*editor, (mode == smBox ? std::string("box to ") : "stream to ") +
                                           std::to_string(m.row) + "," + std::to_string(m.col));
      if (HasFailure()) return;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Looks, PaintTest,
                         ::testing::Values(Look::kPlain, Look::kWrapped, Look::kItalic));

// The cells of a column range on a row.
TRect Cells(const TEditor& editor, int row, int from, int to) {
  const int top = editor.Margin().Top() + editor.RowHeight() * (row - editor.TopRow());
  return {editor.Margin().Left() + from * editor.CharWidth(), top,
          editor.Margin().Left() + to * editor.CharWidth(), top + editor.CharHeight()};
}

TEST(PaintColourTest, TokensMarksAndTheUnderlineLandOnTheirCells) {
  auto editor = ShownEditor(640, 200);
  BlackScheme(*editor);
  editor->Marks().RetMark().SetVisible(true);
  editor->Marks().RetMark().SetColor(platform::clRed);
  editor->Marks().EofMark().SetVisible(true);
  editor->Marks().EofMark().SetColor(platform::clLime);
  editor->Marks().Underline().SetColor(platform::clFuchsia);
  editor->View().Colors().Int().SetColor(platform::clYellow);
  // Row 0: "see " 0-3, the address 4-20, " " 21, "42" 22-23.
  editor->Lines().SetTextStr("see http://a.b.jp/xy 42\r\nplain");
  editor->SetRowCol(1, 0);
  const QImage s = testing::FullRepaint(*editor);

  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 0, 4), platform::clAqua), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 4, 21), platform::clAqua), 20);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 21, 22), platform::clAqua), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 22, 24), platform::clYellow), 0);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 0, 21), platform::clYellow), 0);
  // The return mark in the cell after each line, the end mark after the last.
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 23, 24 + 1), platform::clRed), 3);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 0, 23), platform::clRed), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 1, 5, 6), platform::clRed), 3);
  EXPECT_GT(CountColour(s, Cells(*editor, 2, 0, 6), platform::clLime), 4);
  // The underline runs under the caret row only.
  const int y1 = editor->UnderlineY(1);
  ASSERT_NE(y1, -1);
  const int width = editor->Width() - editor->Margin().Left();
  EXPECT_GE(CountColour(s, TRect{editor->Margin().Left(), y1, editor->Width(), y1 + 1},
                        platform::clFuchsia),
            width - 4);
  const int y0 = editor->UnderlineY(0);
  EXPECT_EQ(CountColour(s, TRect{0, y0, editor->Width(), y0 + 1}, platform::clFuchsia), 0);
  // Moving the caret moves the underline.
  editor->SetRow(0);
  const QImage moved = testing::Surface(*editor);
  EXPECT_EQ(CountColour(moved, TRect{0, y1, editor->Width(), y1 + 1}, platform::clFuchsia), 0);
  EXPECT_GT(CountColour(moved, TRect{0, y0, editor->Width(), y0 + 1}, platform::clFuchsia), 0);
}

TEST(PaintColourTest, EndOfFileMarkFollowsTheText) {
  struct Case {
    const char* file;
    int row, col;
  } cases[] = {
      {"", 0, 0},         // an empty text: the top-left cell
      {"abc", 0, 3},      // no final line break: right after the last character
      {"abc\r\n", 1, 0},  // a final line break: the start of the row after it
  };
  for (const Case& c : cases) {
    auto editor = ShownEditor(480, 160);
    BlackScheme(*editor);
    editor->Marks().EofMark().SetVisible(true);
    editor->Marks().EofMark().SetColor(platform::clLime);
    test_support::TempDir folder("pirukko-eof");
    const std::filesystem::path file = folder.path() / "eof_mark_test.txt";
    test_support::WriteFile(file, c.file);
    editor->Lines().LoadFromFile(file.string());
    const QImage s = testing::FullRepaint(*editor);
    EXPECT_GT(CountColour(s, Cells(*editor, c.row, c.col, c.col + 6), platform::clLime), 4)
        << c.file;
    const int lime =
        CountColour(s, TRect{0, 0, editor->Width(), editor->Height()}, platform::clLime);
    EXPECT_EQ(CountColour(s, Cells(*editor, c.row, c.col, c.col + 6), platform::clLime), lime)
        << c.file;
  }
}

TEST(PaintColourTest, NoUnderlineWhileASelectionIsActive) {
  auto editor = ShownEditor(480, 160);
  BlackScheme(*editor);
  editor->Marks().Underline().SetColor(platform::clFuchsia);
  editor->Lines().SetTextStr("one\r\ntwo\r\nthree");
  editor->SetRowCol(1, 0);
  auto underlined = [&](int row) {
    const int y = editor->UnderlineY(row);
    return CountColour(testing::Surface(*editor), TRect{0, y, editor->Width(), y + 1},
                       platform::clFuchsia) > 0;
  };
  EXPECT_TRUE(underlined(1));
  editor->StartSelection();
  editor->SetRowCol(2, 2);
  editor->UpdateSelection();
  ASSERT_TRUE(editor->Selected());
  EXPECT_FALSE(underlined(1));
  EXPECT_FALSE(underlined(2));
  editor->ClearSelection();
  EXPECT_TRUE(underlined(2));
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
}

TEST(PaintColourTest, AFontChangeMeasuresAndPaintsAnew) {
  auto editor = ShownEditor(480, 200);
  BlackScheme(*editor);
  editor->Lines().SetTextStr(MixedText(30));
  editor->SetRowCol(3, 60);
  const int width = editor->CharWidth();
  platform::TFont font = editor->Font();
  font.Height = 2 * font.Height;
  editor->SetFont(font);
  EXPECT_GT(editor->CharWidth(), width);
  EXPECT_EQ(testing::Surface(*editor), testing::FullRepaint(*editor));
}

// A read-only log's caret hardly shows where the keyboard is: asked to, the
// control draws a frame of its text colour along the client's edge while it
// has the focus, and only then; the surface underneath is untouched.
TEST(PaintColourTest, AFocusFrameShowsWhileTheControlHasTheFocus) {
  auto editor = ShownEditor(200, 80);
  BlackScheme(*editor);
  editor->SetReadOnly(true);
  QWidget* client = platform::ClientWidget(*editor);
  const auto edge_pixels = [&](QColor colour) {
    const QImage shown = client->grab().toImage();
    const int w = shown.width() - 1;
    const int h = shown.height() - 1;
    int count = 0;
    for (const QPoint p : {QPoint(0, 0), QPoint(w / 2, 0), QPoint(w, h / 2), QPoint(w / 2, h),
                           QPoint(0, h / 2), QPoint(w, h)}) {
      if (shown.pixelColor(p) == colour) ++count;
    }
    return count;
  };
  ASSERT_TRUE(client->hasFocus());
  EXPECT_EQ(edge_pixels(Qt::white), 0);
  const QImage before = testing::Surface(*editor);
  platform::ShowFocusFrame(*editor, true);
  EXPECT_EQ(edge_pixels(Qt::white), 6);
  EXPECT_EQ(testing::Surface(*editor), before);
  client->clearFocus();
  EXPECT_EQ(edge_pixels(Qt::black), 6);
  editor->SetFocus();
  EXPECT_EQ(edge_pixels(Qt::white), 6);
}

TEST(PaintColourTest, ReservedWordsAndTheDrawLineEvent) {
  auto editor = ShownEditor(480, 160);
  BlackScheme(*editor);
  editor->View().Colors().Reserve().SetColor(platform::clRed);
  platform::TStringList words;
  words.Add("begin");
  editor->SetReserveWordList(words);
  struct Drawn {
    std::string text;
    int x, y, row;
    bool selected;
  };
  std::vector<Drawn> drawn;
  editor->OnDrawLine = [&](platform::TObject*, const std::string& text, int x, int y, int row,
                           const TRect&, bool selected) {
    drawn.push_back({text, x, y, row, selected});
  };
  editor->Lines().SetTextStr("BEGIN x\r\nbeginning");
  const QImage s = testing::FullRepaint(*editor);
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 0, 5), platform::clRed), 0);  // case ignored
  EXPECT_EQ(CountColour(s, Cells(*editor, 1, 0, 9), platform::clRed), 0);  // the whole token
  ASSERT_GE(drawn.size(), 2u);
  EXPECT_EQ(drawn[0].text, "BEGIN x");
  EXPECT_EQ(drawn[0].x, editor->Margin().Left());
  EXPECT_EQ(drawn[0].y, editor->Margin().Top());
  EXPECT_EQ(drawn[0].row, 0);
  EXPECT_FALSE(drawn[0].selected);
  EXPECT_EQ(drawn[1].row, 1);
  EXPECT_EQ(drawn[1].y, editor->Margin().Top() + editor->RowHeight());
}

TEST(PaintColourTest, LongRowsKeepTheGridWhenScrolledSideways) {
  auto editor = ShownEditor(480, 160);
  BlackScheme(*editor);
  editor->View().Colors().Ank().SetColor(platform::clRed);
  // A word of 900 bytes, a blank, then an address from column 901.
  editor->Lines().SetTextStr(std::string(900, 'a') + " http://x.jp/zz");
  editor->SetTopCol(895);
  ASSERT_EQ(editor->TopCol(), 895);
  const QImage s = testing::Surface(*editor);
  EXPECT_EQ(s, testing::FullRepaint(*editor));
  // View columns: the word up to 4, the blank 5, the address from 6 on.
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 0, 5), platform::clRed), 0);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 0, 6), platform::clAqua), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 6, 20), platform::clAqua), 10);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 5, 30), platform::clRed), 0);
}

TEST(PaintColourTest, AnAddressBrokenByWrappingIsColouredOnBothRows) {
  auto editor = ShownEditor(640, 200);
  BlackScheme(*editor);
  editor->SetWordWrap(true);
  editor->WrapOption().SetWrapByte(20);
  // The address starts at column 10 and runs on into the second row.
  editor->Lines().SetTextStr("0123456789http://example.jp/abc");
  ASSERT_EQ(editor->RowEndKind(0), rkWrap);
  const QImage s = testing::FullRepaint(*editor);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 0, 10), platform::clAqua), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 10, 20), platform::clAqua), 10);
  EXPECT_GT(CountColour(s, Cells(*editor, 1, 0, 11), platform::clAqua), 10);
  // Nothing of the second row is drawn past the first row's own cells.
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 20, 40), platform::clAqua), 0);
}

TEST(PaintColourTest, SelectionColoursInBothModes) {
  auto editor = testing::StreamSelectionView();
  ASSERT_TRUE(editor->Selected());
  QImage s = testing::Surface(*editor);
  // Stream: row 0 from column 1 to the right edge, row 1 up to column 4.
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 0, 1), platform::clNavy), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 0, 1, 40), platform::clNavy), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 1, 0, 4), platform::clNavy), 0);
  EXPECT_EQ(CountColour(s, Cells(*editor, 1, 4, 6), platform::clNavy), 0);
  EXPECT_EQ(s, testing::FullRepaint(*editor));
  // Box: columns 1..4 on both rows; あ (0-1) stays out, い (2-3) is in.
  editor->SetSelectionMode(smBox);
  s = testing::Surface(*editor);
  EXPECT_EQ(CountColour(s, Cells(*editor, 1, 0, 2), platform::clNavy), 0);
  EXPECT_GT(CountColour(s, Cells(*editor, 1, 2, 4), platform::clNavy), 0);
  EXPECT_EQ(CountColour(s, Cells(*editor, 0, 4, 40), platform::clNavy), 0);
  EXPECT_EQ(s, testing::FullRepaint(*editor));
}

// The typical views that editor-pictures draws show what they are meant to.
TEST(PaintColourTest, TypicalViews) {
  // Without tabs a row's columns are its bytes.
  auto column_of = [](const TEditor& e, int row, const char* what) {
    const std::size_t at = e.RowText(row).find(what);
    EXPECT_NE(at, std::string::npos) << what;
    return static_cast<int>(at);
  };
  auto row_end = [](const TEditor& e, int row) { return static_cast<int>(e.RowText(row).size()); };
  {
    // The defaults: ink in the font colour on a row's cells, nothing past
    // them (the shortest row in view but the caret's).
    auto e = testing::PlainView();
    const QImage s = testing::FullRepaint(*e);
    int row = e->Row() == 0 ? 1 : 0;
    for (int r = 1; r < e->VisibleRows(); ++r)
      if (r != e->Row() && e->DisplayLengthOf(r) < e->DisplayLengthOf(row)) row = r;
    const int end = e->DisplayLengthOf(row);
    ASSERT_GT(end, 0);
    ASSERT_LT(end + 1, e->VisibleCols());
    EXPECT_GT(CountColour(s, Cells(*e, row, 0, end), platform::ColorToRGB(e->Font().Color)), 10);
    const TRect past = Cells(*e, row, end + 1, e->VisibleCols() + 1);
    EXPECT_EQ(CountColour(s, past, platform::ColorToRGB(e->Color())),
              (std::min(past.Right, s.width()) - past.Left) * (past.Bottom - past.Top));
  }
  {
    // The web address is aqua on both of its rows, the mail address yellow.
    auto e = testing::WrappedAddressesView();
    const QImage s = testing::FullRepaint(*e);
    ASSERT_EQ(e->RowEndKind(1), rkWrap);
    const int url = column_of(*e, 1, "http://");
    EXPECT_EQ(CountColour(s, Cells(*e, 1, 0, url), platform::clAqua), 0);
    EXPECT_GT(CountColour(s, Cells(*e, 1, url, row_end(*e, 1)), platform::clAqua),
              2 * (row_end(*e, 1) - url));
    EXPECT_GT(CountColour(s, Cells(*e, 2, 0, column_of(*e, 2, "html") + 4), platform::clAqua), 20);
    int mail_row = 3;
    while (mail_row < e->RowCount() && e->RowText(mail_row).find('@') == std::string::npos)
      ++mail_row;
    ASSERT_LT(mail_row, e->RowCount());
    const int mail = column_of(*e, mail_row, "support-desk");
    EXPECT_EQ(CountColour(s, Cells(*e, mail_row, 0, mail), platform::clYellow), 0);
    EXPECT_GT(CountColour(s, Cells(*e, mail_row, mail, mail + 26), platform::clYellow), 2 * 26);
    EXPECT_EQ(CountColour(s, Cells(*e, 0, 0, 40), platform::clAqua), 0);
  }
  {
    // A return mark after each line, the end mark after the last, and the
    // tab's cells blank.
    auto e = testing::MarksView();
    const QImage s = testing::FullRepaint(*e);
    const platform::TColor mark = e->Marks().RetMark().Color();
    EXPECT_GT(CountColour(s, Cells(*e, 0, 6, 7), mark), 3);
    EXPECT_GT(CountColour(s, Cells(*e, 1, e->DisplayLengthOf(1), e->DisplayLengthOf(1) + 1), mark),
              3);
    EXPECT_GT(CountColour(s, Cells(*e, 2, 8, 14), e->Marks().EofMark().Color()), 4);
    const TRect tab = Cells(*e, 1, 0, 8);
    EXPECT_EQ(CountColour(s, tab, platform::clBlack),
              (tab.Right - tab.Left) * (tab.Bottom - tab.Top));
  }
  {
    // The box: columns 1 to 3 of the first row, い of the second.
    auto e = testing::BoxSelectionView();
    const QImage s = testing::FullRepaint(*e);
    EXPECT_GT(CountColour(s, Cells(*e, 0, 1, 4), platform::clNavy), 0);
    EXPECT_EQ(CountColour(s, Cells(*e, 0, 0, 1), platform::clNavy), 0);
    EXPECT_EQ(CountColour(s, Cells(*e, 1, 0, 2), platform::clNavy), 0);
    EXPECT_GT(CountColour(s, Cells(*e, 1, 2, 4), platform::clNavy), 0);
    EXPECT_EQ(CountColour(s, Cells(*e, 2, 0, 40), platform::clNavy), 0);
  }
}

}  // namespace
}  // namespace editor
