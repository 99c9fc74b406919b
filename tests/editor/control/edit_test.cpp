// Typing, overwriting, deleting and pasting on the real control: the rows
// that result, where the caret ends, and that one undo takes the change back
// and one redo puts it again.
#include <gtest/gtest.h>

#include <QClipboard>
#include <QGuiApplication>

#include <functional>
#include <string>

#include "tests/editor/control/selection_fixture.h"

namespace editor::testing {
namespace {

std::string AllText(const TEditor& editor) {
  return editor.ScreenStrings().GetRowsText(0, editor.ScreenStrings().GetCount());
}

struct EditCase {
  const char* name;
  const char* text;  // UTF-8; every string of a case is CP932 on the rows
  bool box;
  int row, col;        // the caret, or the selection's anchor
  int to_row, to_col;  // the selection's other end; -1 for none
  std::function<void(TEditor&, const std::string&)> edit;
  const char* argument;
  const char* expected;
  int caret_row, caret_col;
};

auto Insert = [](TEditor& e, const std::string& s) { e.InsertText(s); };
auto Overwrite = [](TEditor& e, const std::string& s) {
  e.SetOverWrite(true);
  e.InsertText(s);
};
auto Delete = [](TEditor& e, const std::string&) { e.DeleteSelection(); };
auto Paste = [](TEditor& e, const std::string& s) { e.PasteText(s); };
auto PasteBox = [](TEditor& e, const std::string& s) { e.PasteBox(s); };

class EditTable : public ::testing::TestWithParam<EditCase> {};

TEST_P(EditTable, ChangesRowsPlacesCaretAndUndoesInOneStep) {
  const EditCase& c = GetParam();
  EditorInWindow w;
  w.SetText(Sjis(c.text));
  if (c.box) w.editor.SetSelectionMode(smBox);
  if (c.to_row >= 0)
    w.Select(c.row, c.col, c.to_row, c.to_col);
  else
    w.editor.SetRowCol(c.row, c.col);
  const std::string before = AllText(w.editor);

  c.edit(w.editor, Sjis(c.argument));
  const std::string after = AllText(w.editor);
  EXPECT_EQ(after, Sjis(c.expected));
  EXPECT_EQ(w.editor.Row(), c.caret_row);
  EXPECT_EQ(w.editor.Col(), c.caret_col);
  EXPECT_FALSE(w.editor.Selected());

  ASSERT_TRUE(w.editor.CanUndo());
  w.editor.Undo();
  EXPECT_EQ(AllText(w.editor), before);
  ASSERT_TRUE(w.editor.CanRedo());
  w.editor.Redo();
  EXPECT_EQ(AllText(w.editor), after);
}

INSTANTIATE_TEST_SUITE_P(
    Edits, EditTable,
    ::testing::Values(
        // Typing.
        EditCase{"TypedBeyondRowEndPadsWithSpaces", "abc", false, 0, 6, -1, -1, Insert, "x",
                 "abc   x", 0, 7},
        EditCase{"TypedBetweenDoubleByteCharacters", "あいう\r\nz", false, 0, 2, -1, -1, Insert,
                 "x", "あxいう\r\nz", 0, 3},
        EditCase{"TypedAfterTab", "a\tb", false, 0, 8, -1, -1, Insert, "x", "a\txb", 0, 9},
        EditCase{"TypedOverStreamSelectionOverLines", "abc\r\ndef", false, 0, 1, 1, 1, Insert, "X",
                 "aXef", 0, 2},
        EditCase{"TypedOverBoxGoesIntoItsFirstRow", "abcd\r\nefgh", true, 0, 1, 1, 3, Insert, "X",
                 "aXd\r\neh", 0, 2},
        // Overwriting: the other half of a cut double-byte character becomes a space.
        EditCase{"OverwriteLeadOfDoubleByte", "aあb", false, 0, 0, -1, -1, Overwrite, "xy", "xy b",
                 0, 2},
        EditCase{"OverwriteWholeDoubleByte", "あいう", false, 0, 2, -1, -1, Overwrite, "xy",
                 "あxyう", 0, 4},
        EditCase{"OverwriteEndsInsideDoubleByte", "あいう", false, 0, 2, -1, -1, Overwrite, "xyz",
                 "あxyz ", 0, 5},
        EditCase{"OverwriteKeepsLineBreak", "ab\r\ncd", false, 0, 1, -1, -1, Overwrite, "xyz",
                 "axyz\r\ncd", 0, 4},
        // Deleting.
        EditCase{"DeleteStreamOverLines", "abc\r\ndef", false, 0, 1, 1, 2, Delete, "", "af", 0, 1},
        EditCase{"DeleteLineBreak", "あい\r\nう", false, 0, 4, 1, 0, Delete, "", "あいう", 0, 4},
        EditCase{"DeleteBox", "abcd\r\nefgh", true, 0, 1, 1, 3, Delete, "", "ad\r\neh", 0, 1},
        EditCase{"DeleteBoxHalfCoveringDoubleByte", "abcd\r\naあb", true, 0, 2, 1, 4, Delete, "",
                 "ab\r\naあ", 0, 2},
        // Pasting a stream.
        EditCase{"PasteLinesIntoRow", "ab", false, 0, 1, -1, -1, Paste, "1\r\n2", "a1\r\n2b", 1, 1},
        EditCase{"PasteLoneLineFeedsCountAsLineBreaks", "ab", false, 0, 1, -1, -1, Paste, "1\n2",
                 "a1\r\n2b", 1, 1},
        EditCase{"PasteOverSelection", "あいう", false, 0, 2, 0, 4, Paste, "x", "あxう", 0, 3},
        EditCase{"PasteBeyondRowEnd", "a\r\nb", false, 0, 3, -1, -1, Paste, "い", "a  い\r\nb", 0,
                 5},
        // Pasting a box.
        EditCase{"PasteBoxAcrossShortRow", "abc\r\nd", false, 0, 2, -1, -1, PasteBox, "x\r\ny\r\n",
                 "abxc\r\nd y\r\n", 1, 3},
        EditCase{"PasteBoxBelowTheText", "abc", false, 0, 1, -1, -1, PasteBox, "x\r\nい",
                 "axbc\r\n い\r\n", 1, 3},
        EditCase{"PasteBoxReplacesBox", "abcd\r\nefgh", true, 0, 1, 1, 3, PasteBox, "X\r\nY",
                 "aXd\r\neYh\r\n", 1, 2},
        EditCase{"PasteBoxSkipsHalfOfDoubleByte", "abcdef\r\nあいう", false, 0, 3, -1, -1, PasteBox,
                 "x\r\ny", "abcxdef\r\nあいyう\r\n", 1, 5}),
    [](const auto& info) { return std::string(info.param.name); });

auto MoveTo(int row, int col) {
  return [row, col](TEditor& e, const std::string&) { e.MoveSelectionTo(row, col); };
}
auto CopyTo(int row, int col) {
  return [row, col](TEditor& e, const std::string&) { e.CopySelectionTo(row, col); };
}

INSTANTIATE_TEST_SUITE_P(Drops, EditTable,
                         ::testing::Values(EditCase{"MoveRightOnItsRow", "abcd", false, 0, 1, 0, 3,
                                                    MoveTo(0, 4), "", "adbc", 0, 4},
                                           EditCase{"MoveLeftOnItsRow", "abcd", false, 0, 2, 0, 4,
                                                    MoveTo(0, 0), "", "cdab", 0, 2},
                                           EditCase{"MoveJustAfterItsOwnEnd", "abcd", false, 0, 1,
                                                    0, 3, MoveTo(0, 3), "", "abcd", 0, 3},
                                           EditCase{"MoveToAnEarlierRow", "ab\r\ncd", false, 1, 0,
                                                    1, 1, MoveTo(0, 1), "", "acb\r\nd", 0, 2},
                                           EditCase{"MoveToALaterRow", "ab\r\ncd", false, 0, 0, 0,
                                                    1, MoveTo(1, 2), "", "b\r\ncda", 1, 3},
                                           EditCase{"MoveALineBreakAlong", "あい\r\nう", false, 0,
                                                    2, 1, 0, MoveTo(1, 2), "", "あうい\r\n", 1, 0},
                                           EditCase{"MoveBeyondRowEndPads", "ab\r\ncd", false, 0, 0,
                                                    0, 1, MoveTo(1, 4), "", "b\r\ncd  a", 1, 5},
                                           EditCase{"CopyOnItsRow", "abcd", false, 0, 1, 0, 3,
                                                    CopyTo(0, 4), "", "abcdbc", 0, 6},
                                           EditCase{"CopyToAnotherRow", "あい\r\ncd", false, 0, 0,
                                                    0, 2, CopyTo(1, 1), "", "あい\r\ncあd", 1, 3}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(EditTest, DropIntoTheSelectionOrReadOnlyOnlyClearsIt) {
  EditorInWindow w;
  w.SetText("abcd");
  w.Select(0, 1, 0, 3);
  w.editor.MoveSelectionTo(0, 2);
  EXPECT_FALSE(w.editor.Selected());
  w.Select(0, 1, 0, 3);
  w.editor.CopySelectionTo(0, 1);
  EXPECT_FALSE(w.editor.Selected());
  w.editor.SetReadOnly(true);
  w.Select(0, 1, 0, 3);
  w.editor.MoveSelectionTo(0, 4);
  EXPECT_FALSE(w.editor.Selected());
  EXPECT_EQ(AllText(w.editor), "abcd");
}

TEST(EditTest, EmptyInputChangesNothing) {
  EditorInWindow w;
  w.SetText("abc");
  w.editor.SetRowCol(0, 1);
  w.editor.InsertText("");
  w.editor.PasteText("");
  w.editor.PasteBox("");
  EXPECT_EQ(AllText(w.editor), "abc");
  EXPECT_EQ(w.editor.Col(), 1);
}

TEST(EditTest, EmptyPasteDeletesTheSelection) {
  EditorInWindow w;
  w.SetText("abcd");
  w.Select(0, 1, 0, 3);
  w.editor.PasteText("");
  EXPECT_EQ(AllText(w.editor), "ad");
  w.Select(0, 0, 0, 1);
  w.editor.PasteBox("");
  EXPECT_EQ(AllText(w.editor), "d");
}

TEST(EditTest, ReadOnlyRefusesPastes) {
  EditorInWindow w;
  w.SetText("abc");
  w.editor.SetReadOnly(true);
  w.Select(0, 0, 0, 2);
  w.editor.PasteText("x");
  w.editor.PasteBox("x\r\ny");
  EXPECT_EQ(AllText(w.editor), "abc");
  EXPECT_TRUE(w.editor.Selected());
}

TEST(EditTest, UndoAfterSelectAllAndDeleteRestoresWithoutSelection) {
  EditorInWindow w;
  w.SetText(Sjis("あい\r\n\tう\r\n"));
  w.editor.SelectAll();
  w.editor.DeleteSelection();
  EXPECT_EQ(AllText(w.editor), "");
  w.editor.Undo();
  EXPECT_EQ(AllText(w.editor), Sjis("あい\r\n\tう\r\n"));
  EXPECT_FALSE(w.editor.Selected());
}

TEST(EditTest, UndoClearsAnActiveSelection) {
  EditorInWindow w;
  w.SetText("abc");
  w.editor.SetRowCol(0, 3);
  w.editor.InsertText("d");
  w.Select(0, 0, 0, 2);
  w.editor.Undo();
  EXPECT_FALSE(w.editor.Selected());
  EXPECT_EQ(AllText(w.editor), "abc");
}

TEST(EditTest, OverwriteContinuesIntoTheNextRowOfAWrappedLine) {
  EditorInWindow w;
  w.editor.WrapOption().SetWrapByte(20);
  w.editor.SetWordWrap(true);
  w.SetText("abcdefghijklmnopqrstuvwxyz");
  ASSERT_EQ(w.editor.RowCount(), 2);
  w.editor.SetRowCol(0, 18);
  w.editor.SetOverWrite(true);
  w.editor.InsertText("1234");
  EXPECT_EQ(AllText(w.editor), "abcdefghijklmnopqr1234wxyz");
  EXPECT_EQ(w.editor.Row(), 1);
  EXPECT_EQ(w.editor.Col(), 2);
}

TEST(EditTest, CopiedBoxPastesAsBoxAndOtherTextAsStream) {
  EditorInWindow w;
  w.SetText(Sjis("あいう\r\nabcdef\r\n"));
  w.editor.SetSelectionMode(smBox);
  w.Select(0, 2, 1, 4);
  ASSERT_TRUE(w.editor.CopyToClipboard());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("い\ncd\n"));
  w.editor.ClearSelection();
  w.editor.SetSelectionMode(smStream);
  w.editor.SetRowCol(0, 0);
  ASSERT_TRUE(w.editor.PasteFromClipboard());
  EXPECT_EQ(AllText(w.editor), Sjis("いあいう\r\ncdabcdef\r\n"));

  QGuiApplication::clipboard()->setText(QString::fromUtf8("x\ny"));
  w.editor.SetRowCol(0, 0);
  ASSERT_TRUE(w.editor.PasteFromClipboard());
  EXPECT_EQ(AllText(w.editor), Sjis("x\r\nyいあいう\r\ncdabcdef\r\n"));
  EXPECT_EQ(w.editor.Row(), 1);
  EXPECT_EQ(w.editor.Col(), 1);
}

TEST(EditTest, CutMovesTheSelectionToTheClipboardInOneUndoStep) {
  EditorInWindow w;
  w.SetText(Sjis("あいう"));
  w.Select(0, 2, 0, 4);
  ASSERT_TRUE(w.editor.CutToClipboard());
  EXPECT_EQ(AllText(w.editor), Sjis("あう"));
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("い"));
  w.editor.Undo();
  EXPECT_EQ(AllText(w.editor), Sjis("あいう"));
}

TEST(EditTest, CopyAndPasteBetweenOurControlsKeepEveryByte) {
  // 85 40 is a code CP932 leaves unassigned; ED 40 is the NEC form of a
  // character whose IBM form is FA 5C.
  const std::string odd = "x\x85\x40\xED\x40y";
  for (const TSelectionMode mode : {smStream, smBox}) {
    EditorInWindow w;
    w.SetText(odd + "\r\nabcdef\r\n");
    QGuiApplication::clipboard()->setText(QString::fromUtf8("stale"));
    w.editor.SetSelectionMode(mode);
    w.Select(0, 1, 0, 5);
    ASSERT_TRUE(w.editor.CutToClipboard());
    EXPECT_EQ(AllText(w.editor), "xy\r\nabcdef\r\n");
    // Other programs get the text with a visible substitute, never the stale one.
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("\uFFFD纊")) << mode;
    w.editor.SetRowCol(1, 2);
    ASSERT_TRUE(w.editor.PasteFromClipboard());
    EXPECT_EQ(AllText(w.editor),
              "xy\r\nab\x85\x40\xED\x40"
              "cdef\r\n")
        << mode;
  }
}

TEST(EditTest, PasteReplacesCharactersWithoutACp932FormWithQuestionMarks) {
  EditorInWindow w;
  w.SetText("abc");
  w.editor.SetRowCol(0, 1);
  QGuiApplication::clipboard()->setText(QString::fromUtf8("é😀あ"));
  ASSERT_TRUE(w.editor.PasteFromClipboard());
  EXPECT_EQ(AllText(w.editor), Sjis("a??あbc"));
  EXPECT_EQ(w.editor.Col(), 5);
}

TEST(EditTest, ReadOnlyCopiesButNeitherCutsNorPastes) {
  EditorInWindow w;
  w.SetText("abc");
  QGuiApplication::clipboard()->setText(QString::fromUtf8("x"));
  w.editor.SetReadOnly(true);
  EXPECT_FALSE(w.editor.PasteFromClipboard());
  w.Select(0, 0, 0, 1);
  EXPECT_FALSE(w.editor.CutToClipboard());
  EXPECT_EQ(AllText(w.editor), "abc");
  EXPECT_TRUE(w.editor.CopyToClipboard());
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QString::fromUtf8("a"));
}

}  // namespace
}  // namespace editor::testing
