// The edit-control and text messages on the real control, sent as a caller
// written for a multi-line edit control sends them.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <cstdint>
#include <cstring>
#include <string>

#include "tests/editor/control/selection_fixture.h"

namespace editor::testing {
namespace {

using namespace platform;

std::string AllText(const TEditor& editor) {
  return editor.ScreenStrings().GetRowsText(0, editor.ScreenStrings().GetCount());
}

LPARAM Text(const std::string& s) {
  return reinterpret_cast<LPARAM>(s.c_str());
}

// あいう CR LF xy: row 0 holds six bytes and ends its line, row 1 starts at
// offset 8 and ends the text at offset 10.
const char* const kTwoRows = "あいう\r\nxy";

struct AnswerCase {
  const char* name;
  std::uint32_t msg;
  WPARAM wparam;
  LRESULT expected;
};

class EditAnswers : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(EditAnswers, CountOffsetsOverDoubleByteRowsAndLineEnds) {
  const AnswerCase& c = GetParam();
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  w.editor.SetRowCol(1, 1);
  EXPECT_EQ(w.editor.Perform(c.msg, c.wparam, 0), c.expected);
}

constexpr WPARAM kMinus1 = static_cast<WPARAM>(-1);

INSTANTIATE_TEST_SUITE_P(
    Rows, EditAnswers,
    ::testing::Values(AnswerCase{"LineCount", EM_GETLINECOUNT, 0, 2},
                      AnswerCase{"IndexOfFirstRow", EM_LINEINDEX, 0, 0},
                      AnswerCase{"IndexAfterLineBreak", EM_LINEINDEX, 1, 8},
                      AnswerCase{"IndexOfCaretRow", EM_LINEINDEX, kMinus1, 8},
                      AnswerCase{"IndexBeyondRows", EM_LINEINDEX, 2, -1},
                      AnswerCase{"LengthAtDoubleByte", EM_LINELENGTH, 3, 6},
                      AnswerCase{"LengthInsideLineBreak", EM_LINELENGTH, 7, 6},
                      AnswerCase{"LengthOfSecondRow", EM_LINELENGTH, 8, 2},
                      AnswerCase{"LengthOfCaretRow", EM_LINELENGTH, kMinus1, 2},
                      AnswerCase{"RowOfFirstByte", EM_LINEFROMCHAR, 0, 0},
                      AnswerCase{"RowOfLineBreak", EM_LINEFROMCHAR, 7, 0},
                      AnswerCase{"RowAfterLineBreak", EM_LINEFROMCHAR, 8, 1},
                      AnswerCase{"RowOfTextEnd", EM_LINEFROMCHAR, 10, 1},
                      AnswerCase{"RowBeyondText", EM_LINEFROMCHAR, 99, 1},
                      AnswerCase{"RowOfCaret", EM_LINEFROMCHAR, kMinus1, 1},
                      AnswerCase{"FirstVisibleRow", EM_GETFIRSTVISIBLELINE, 0, 0},
                      AnswerCase{"TextLength", WM_GETTEXTLENGTH, 0, 10}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(EditMessages, LineIndexAfterWrappedRowCountsNoLineBreak) {
  EditorInWindow w;
  w.editor.WrapOption().SetWrapByte(40);
  w.editor.SetWordWrap(true);
  w.SetText(std::string(50, 'a'));
  ASSERT_EQ(w.editor.RowEndKind(0), rkWrap);
  EXPECT_EQ(w.editor.Perform(EM_LINEINDEX, 1), 40);
  EXPECT_EQ(w.editor.Perform(EM_LINEFROMCHAR, 40), 1);
}

TEST(EditMessages, LineLengthOfSelectionCountsUnselectedBytesAround) {
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  w.Select(0, 2, 1, 1);  // い う CR LF x
  // あ before the selection, y after it.
  EXPECT_EQ(w.editor.Perform(EM_LINELENGTH, kMinus1), 3);
  EXPECT_EQ(w.editor.Perform(EM_LINEFROMCHAR, kMinus1), 0);
}

TEST(EditMessages, SelectionStoresFullValuesAndPacksSixteenBits) {
  EditorInWindow w;
  std::string text;
  for (int i = 0; i < 1000; ++i) text += std::string(70, 'a') + "\r\n";
  w.SetText(text);
  w.editor.Perform(EM_SETSEL, 70000, 70010);
  std::int32_t start = 0, end = 0;
  const LRESULT packed =
      w.editor.Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  EXPECT_EQ(start, 70000);
  EXPECT_EQ(end, 70010);
  EXPECT_EQ(LOWORD(packed), 70000 & 0xFFFF);
  EXPECT_EQ(HIWORD(packed), 70010 & 0xFFFF);
  // Null pointers are skipped.
  EXPECT_EQ(w.editor.Perform(EM_GETSEL, 0, 0), packed);
}

TEST(EditMessages, SetSelectionSelectsAllClearsOrOrdersItsEnds) {
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  auto sel = [&] {
    std::int32_t s = -5, e = -5;
    w.editor.Perform(EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
    return std::pair{s, e};
  };
  w.editor.Perform(EM_SETSEL, 0, -1);
  EXPECT_EQ(sel(), (std::pair{0, 10}));
  w.editor.Perform(EM_SETSEL, kMinus1, 4);
  EXPECT_FALSE(w.editor.Selected());
  w.editor.Perform(EM_SETSEL, 8, 2);
  EXPECT_EQ(sel(), (std::pair{2, 8}));
  EXPECT_EQ(w.editor.GetSelText(), Sjis("いう\r\n"));
  // Any other start with end -1 runs to the end of the text.
  w.editor.Perform(EM_SETSEL, 8, -1);
  EXPECT_EQ(w.editor.GetSelText(), "xy");
}

TEST(EditMessages, PositionAndCharacterOfOffsetAgree) {
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  const int left = w.editor.Margin().Left(), top = w.editor.Margin().Top();
  const int cw = w.editor.CharWidth(), rh = w.editor.RowHeight();
  LRESULT p = w.editor.Perform(EM_POSFROMCHAR, 2);  // い
  EXPECT_EQ(LOWORD(p), left + 2 * cw);
  EXPECT_EQ(HIWORD(p), top);
  p = w.editor.Perform(EM_POSFROMCHAR, 9);  // y
  EXPECT_EQ(LOWORD(p), left + cw);
  EXPECT_EQ(HIWORD(p), top + rh);

  auto at = [&](TPoint pt) { return w.editor.Perform(EM_CHARFROMPOS, 0, MAKELPARAM(pt.X, pt.Y)); };
  // The second half of い is い.
  EXPECT_EQ(at(w.CellPoint(0, 3)), MAKELPARAM(2, 0));
  EXPECT_EQ(at(w.CellPoint(1, 1)), MAKELPARAM(9, 1));
  // Beyond a row's end: the end of that row.
  EXPECT_EQ(at(w.CellPoint(1, 20)), MAKELPARAM(10, 1));
  EXPECT_EQ(w.editor.Perform(EM_CHARFROMPOS, 0, MAKELPARAM(-1, 5)), -1);
  EXPECT_EQ(w.editor.Perform(EM_CHARFROMPOS, 0, MAKELPARAM(5, w.editor.ClientHeight())), -1);
}

TEST(EditMessages, TextRoundTripsAndGetTextKeepsDoubleByteCharactersWhole) {
  EditorInWindow w;
  const std::string text = Sjis(kTwoRows);
  w.editor.Perform(WM_SETTEXT, 0, Text(text));
  EXPECT_EQ(w.editor.Lines().Text(), text + "\r\n");
  const int length = static_cast<int>(w.editor.Perform(WM_GETTEXTLENGTH));
  std::string buffer(static_cast<std::size_t>(length) + 1, '#');
  EXPECT_EQ(w.editor.Perform(WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data())),
            length);
  EXPECT_EQ(std::string(buffer.c_str()), w.editor.Lines().Text().substr(0, length));

  // Room for three bytes: あ and half of い would not be text.
  char small[4] = {'#', '#', '#', '#'};
  EXPECT_EQ(w.editor.Perform(WM_GETTEXT, 4, reinterpret_cast<LPARAM>(small)), 2);
  EXPECT_EQ(std::string(small), Sjis("あ"));
  EXPECT_EQ(w.editor.Perform(WM_GETTEXT, 0, reinterpret_cast<LPARAM>(small)), 0);
  EXPECT_EQ(w.editor.Perform(WM_GETTEXT, 10, 0), 0);
}

TEST(EditMessages, GetLineCopiesUpToTheBufferSizeWithoutNul) {
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  char buffer[8] = {};
  const std::uint16_t size = 4;
  std::memcpy(buffer, &size, sizeof size);
  EXPECT_EQ(w.editor.Perform(EM_GETLINE, 0, reinterpret_cast<LPARAM>(buffer)), 4);
  EXPECT_EQ(std::string(buffer, 4), Sjis("あい"));
  EXPECT_EQ(buffer[4], '\0');
  std::memcpy(buffer, &size, sizeof size);
  EXPECT_EQ(w.editor.Perform(EM_GETLINE, 2, reinterpret_cast<LPARAM>(buffer)), 0);
  EXPECT_EQ(w.editor.Perform(EM_GETLINE, 0, 0), 0);
}

TEST(EditMessages, ClipboardMessagesEditInUndoableSteps) {
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  QClipboard* clipboard = QGuiApplication::clipboard();
  w.Select(1, 0, 1, 2);
  w.editor.Perform(WM_CUT);
  EXPECT_EQ(clipboard->text(), "xy");
  EXPECT_EQ(AllText(w.editor), Sjis("あいう\r\n"));
  ASSERT_EQ(w.editor.Perform(EM_CANUNDO), 1);
  EXPECT_EQ(w.editor.Perform(EM_UNDO), 1);
  EXPECT_EQ(AllText(w.editor), Sjis(kTwoRows));

  w.editor.SetRowCol(0, 0);
  w.editor.Perform(WM_PASTE);
  EXPECT_EQ(AllText(w.editor), Sjis("xyあいう\r\nxy"));

  w.Select(0, 0, 0, 2);
  w.editor.Perform(WM_COPY);
  w.editor.Perform(WM_CLEAR);
  EXPECT_EQ(AllText(w.editor), Sjis(kTwoRows));
  EXPECT_EQ(clipboard->text(), "xy");

  w.editor.Perform(EM_SETSEL, 2, 6);
  w.editor.Perform(EM_REPLACESEL, 0, Text("z"));
  EXPECT_EQ(AllText(w.editor), Sjis("あz\r\nxy"));
  w.editor.Perform(EM_UNDO);
  EXPECT_EQ(AllText(w.editor), Sjis(kTwoRows));

  // Without a selection copying and cutting leave empty text behind.
  w.editor.Perform(WM_CUT);
  EXPECT_EQ(clipboard->text(), "");
  clipboard->setText("q");
  w.editor.Perform(WM_COPY);
  EXPECT_EQ(clipboard->text(), "");
  EXPECT_EQ(AllText(w.editor), Sjis(kTwoRows));

  w.editor.Perform(EM_EMPTYUNDOBUFFER);
  EXPECT_EQ(w.editor.Perform(EM_CANUNDO), 0);
  EXPECT_FALSE(w.editor.CanRedo());
  EXPECT_EQ(w.editor.Perform(EM_UNDO), 0);
}

TEST(EditMessages, ReadOnlyTextCopiesButKeepsItsText) {
  EditorInWindow w;
  w.SetText(Sjis(kTwoRows));
  EXPECT_EQ(w.editor.Perform(EM_SETREADONLY, 1), 1);
  EXPECT_TRUE(w.editor.ReadOnly());
  QClipboard* clipboard = QGuiApplication::clipboard();
  clipboard->setText("q");
  w.Select(1, 0, 1, 2);
  for (std::uint32_t msg : {WM_CUT, WM_CLEAR, WM_PASTE}) w.editor.Perform(msg);
  w.editor.Perform(EM_REPLACESEL, 0, Text("z"));
  EXPECT_EQ(AllText(w.editor), Sjis(kTwoRows));
  w.editor.Perform(WM_COPY);
  EXPECT_EQ(clipboard->text(), "xy");
  // The program itself still sets the text of its read-only log.
  w.editor.Perform(WM_SETTEXT, 0, Text("log"));
  EXPECT_EQ(w.editor.Lines().Text(), "log\r\n");
  w.editor.Perform(EM_SETREADONLY, 0);
  EXPECT_FALSE(w.editor.ReadOnly());
}

TEST(EditMessages, ModifiedFlagScrollCaretDialogCodeAndUndoLimit) {
  EditorInWindow w(200, 100);
  std::string text;
  for (int i = 0; i < 60; ++i) text += "row\r\n";
  w.SetText(text);
  w.editor.Perform(EM_SETMODIFY, 0);
  EXPECT_EQ(w.editor.Perform(EM_GETMODIFY), 0);
  w.editor.Perform(EM_SETMODIFY, 1);
  EXPECT_EQ(w.editor.Perform(EM_GETMODIFY), 1);

  w.editor.SetRowCol(40, 0);
  w.editor.SetTopRow(0);
  w.editor.Perform(EM_SCROLLCARET);
  EXPECT_EQ(w.editor.TopRow(), 40 - w.editor.VisibleRows() / 3);
  EXPECT_EQ(w.editor.Perform(EM_GETFIRSTVISIBLELINE), w.editor.TopRow());

  EXPECT_EQ(w.editor.Perform(WM_GETDLGCODE) &
                (DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS),
            DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_WANTTAB | DLGC_WANTALLKEYS);
  w.editor.SetWantTabs(false);
  w.editor.SetWantReturns(false);
  EXPECT_EQ(w.editor.Perform(WM_GETDLGCODE) & (DLGC_WANTTAB | DLGC_WANTALLKEYS), 0);

  w.editor.SetUndoListMax(10);
  EXPECT_EQ(w.editor.UndoListMax(), 64);
  w.editor.SetUndoListMax(100);
  EXPECT_EQ(w.editor.UndoListMax(), 100);
}

}  // namespace
}  // namespace editor::testing
