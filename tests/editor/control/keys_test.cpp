// The keyboard on the real control: where each navigation key puts the caret
// and what Shift selects, what Delete, BackSpace, Return and Tab change (one
// undo step each), typing over and into the text, Japanese text through the
// input method, and a read-only control that still lets the caret move.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <functional>
#include <string>

#include "platform/control/messages.h"
#include "platform/control/virtual_keys.h"
#include "tests/editor/control/selection_fixture.h"

namespace editor {
namespace {

using testing::Sjis;

// A shown and focused control with the caret bound to the text, driven by
// key events on its client widget as the window system delivers them.
class KeysOnEditor : public testing::EditorInWindow {
 public:
  KeysOnEditor() {
    testing::ShowFocused(editor);
    editor.Caret().SetFreeCaret(false);
  }

  QWidget* Client() const { return platform::ClientWidget(editor); }

  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Client(), key, mods);
  }
  // A key held down: the presses after the first are auto-repeats.
  void HoldKey(Qt::Key key, int presses) {
    for (int i = 0; i < presses; ++i) {
      QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, QString(), i > 0);
      QApplication::sendEvent(Client(), &press);
    }
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QApplication::sendEvent(Client(), &release);
  }
  // Typed characters; those beyond ASCII come as a key with text alone, as a
  // keyboard layout that has them sends them.
  void Type(const char* utf8) {
    for (QChar c : QString::fromUtf8(utf8)) {
      if (c.unicode() < 0x80) {
        QTest::keyClick(Client(), c.toLatin1());
      } else {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(Client(), &press);
      }
    }
  }
  // What an input method hands over when a composition is finished.
  void Commit(const char* utf8) {
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(Client(), &event);
    // The character messages that repeat the result arrive from the event loop.
    QApplication::processEvents();
  }

  std::string Text() const { return editor.ScreenStrings().GetRowsText(0, editor.RowCount()); }
  void ExpectCaret(int row, int col) const {
    EXPECT_EQ(editor.Row(), row);
    EXPECT_EQ(editor.Col(), col);
  }
};

// ------------------------------------------------------------- navigation

struct MoveCase {
  const char* name;
  const char* text;  // UTF-8
  int wrap;          // wrap width, 0 for none
  bool next_line;
  int row, col;
  Qt::Key key;
  Qt::KeyboardModifiers mods;
  int to_row, to_col;
};

class MoveTable : public ::testing::TestWithParam<MoveCase> {};

TEST_P(MoveTable, PutsTheCaret) {
  const MoveCase& c = GetParam();
  KeysOnEditor w;
  w.editor.Caret().SetNextLine(c.next_line);
  if (c.wrap > 0) {
    w.editor.WrapOption().SetWrapByte(c.wrap);
    w.editor.SetWordWrap(true);
  }
  w.SetText(Sjis(c.text));
  w.editor.SetRowCol(c.row, c.col);
  w.Key(c.key, c.mods);
  w.ExpectCaret(c.to_row, c.to_col);
  EXPECT_FALSE(w.editor.Selected());
}

constexpr auto kNone = Qt::NoModifier;
constexpr auto kCtrl = Qt::ControlModifier;
// Rows of the wrapped case: 20 columns, then the rest of the line.
constexpr const char* kLong = "abcdefghijklmnopqrstuvwxyz0123\r\nend";

INSTANTIATE_TEST_SUITE_P(
    Keys, MoveTable,
    ::testing::Values(
        MoveCase{"RightStepsOverDoubleByte", "あいう", 0, false, 0, 0, Qt::Key_Right, kNone, 0, 2},
        MoveCase{"LeftStepsOverDoubleByte", "あいう", 0, false, 0, 4, Qt::Key_Left, kNone, 0, 2},
        MoveCase{"RightStepsOverTabExpansion", "a\tb", 0, false, 0, 1, Qt::Key_Right, kNone, 0, 8},
        MoveCase{"LeftStepsBackToTheTab", "a\tb", 0, false, 0, 8, Qt::Key_Left, kNone, 0, 1},
        MoveCase{"RightStopsAtLineEnd", "あいう\r\nx", 0, false, 0, 6, Qt::Key_Right, kNone, 0, 6},
        MoveCase{"RightGoesOnWithNextLine", "あいう\r\nx", 0, true, 0, 6, Qt::Key_Right, kNone, 1,
                 0},
        MoveCase{"RightAtTextEndStays", "ab\r\nxy", 0, true, 1, 2, Qt::Key_Right, kNone, 1, 2},
        MoveCase{"LeftStopsAtLineStart", "ab\r\nxy", 0, false, 1, 0, Qt::Key_Left, kNone, 1, 0},
        MoveCase{"LeftGoesBackWithNextLine", "ab\r\nxy", 0, true, 1, 0, Qt::Key_Left, kNone, 0, 2},
        MoveCase{"RightCrossesIntoContinuationRow", kLong, 20, false, 0, 19, Qt::Key_Right, kNone,
                 1, 0},
        MoveCase{"LeftCrossesBackFromContinuationRow", kLong, 20, false, 1, 0, Qt::Key_Left, kNone,
                 0, 19},
        MoveCase{"DownKeepsColumnWithinRow", "abcdef\r\nxy", 0, false, 0, 5, Qt::Key_Down, kNone, 1,
                 2},
        MoveCase{"DownOffTrailByte", "abc\r\nあいう", 0, false, 0, 3, Qt::Key_Down, kNone, 1, 2},
        MoveCase{"DownAtLastRowStays", "ab\r\nxy", 0, false, 1, 1, Qt::Key_Down, kNone, 1, 1},
        MoveCase{"UpAtFirstRowStays", "ab\r\nxy", 0, false, 0, 1, Qt::Key_Up, kNone, 0, 1},
        MoveCase{"HomeToColumnZero", "ab\r\nxyz", 0, false, 1, 2, Qt::Key_Home, kNone, 1, 0},
        MoveCase{"EndToRowEnd", "ab\r\nあいう", 0, false, 1, 0, Qt::Key_End, kNone, 1, 6},
        MoveCase{"CtrlHomeToTextStart", "ab\r\nxyz", 0, false, 1, 2, Qt::Key_Home, kCtrl, 0, 0},
        MoveCase{"CtrlEndToTextEnd", "ab\r\nxyz", 0, false, 0, 0, Qt::Key_End, kCtrl, 1, 3},
        MoveCase{"CtrlEndAfterFinalBreak", "ab\r\nxyz\r\n", 0, false, 0, 1, Qt::Key_End, kCtrl, 2,
                 0},
        MoveCase{"CtrlRightToNextWord", "abc def", 0, false, 0, 0, Qt::Key_Right, kCtrl, 0, 4},
        MoveCase{"CtrlLeftToWordStart", "abc def", 0, false, 0, 6, Qt::Key_Left, kCtrl, 0, 4}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Keys, ShiftSelectsFromTheOldCaretAndAPlainKeyClearsIt) {
  KeysOnEditor w;
  w.SetText(Sjis("あいう\r\nabc"));
  w.Key(Qt::Key_Right, Qt::ShiftModifier);
  ASSERT_TRUE(w.editor.Selected());
  EXPECT_EQ(w.editor.GetSelText(), Sjis("あ"));
  w.Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(w.editor.GetSelText(), Sjis("あいう\r\nab"));
  w.Key(Qt::Key_Right);
  EXPECT_FALSE(w.editor.Selected());
  w.ExpectCaret(1, 3);
}

TEST(Keys, ShiftSelectsABoxInBoxMode) {
  KeysOnEditor w;
  w.SetText(Sjis("abcd\r\nefgh\r\nijkl"));
  w.editor.SetSelectionMode(smBox);
  w.editor.SetRowCol(0, 1);
  w.Key(Qt::Key_Right, Qt::ShiftModifier);
  w.Key(Qt::Key_Right, Qt::ShiftModifier);
  w.Key(Qt::Key_Down, Qt::ShiftModifier);
  EXPECT_EQ(w.editor.SelCols(), (TEditorSelRange{0, 1, 1, 3}));
  EXPECT_EQ(w.editor.GetSelText().substr(0, 6), "bc\r\nfg");
}

TEST(Keys, PageDownAndUpMoveByAViewLessOneRow) {
  KeysOnEditor w;
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line\r\n";
  w.SetText(text);
  const int page = w.editor.VisibleRows() - 1;
  ASSERT_GT(page, 1);
  w.editor.SetRowCol(2, 1);
  w.Key(Qt::Key_PageDown);
  EXPECT_EQ(w.editor.TopRow(), page);
  w.ExpectCaret(2 + page, 1);
  w.Key(Qt::Key_PageUp);
  EXPECT_EQ(w.editor.TopRow(), 0);
  w.ExpectCaret(2, 1);
}

TEST(Keys, HeldDownAtTheBottomEdgeRunsTwoRowsARepeat) {
  KeysOnEditor w;
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line\r\n";
  w.SetText(text);
  const int bottom = w.editor.VisibleRows() - 1;
  w.editor.SetRowCol(bottom, 0);
  w.HoldKey(Qt::Key_Down, 3);  // the first press is no repeat
  EXPECT_EQ(w.editor.Row(), bottom + 1 + 2 + 2);
  EXPECT_EQ(w.editor.Row(), w.editor.TopRow() + w.editor.VisibleRows() - 1);
}

TEST(Keys, CtrlUpAndDownScrollAndMoveTheCaretOnlyWhenItLeavesTheView) {
  KeysOnEditor w;
  std::string text;
  for (int i = 0; i < 60; ++i) text += "line\r\n";
  w.SetText(text);
  w.editor.SetTopRow(10);
  w.editor.SetRowCol(12, 0);
  w.Key(Qt::Key_Up, Qt::ControlModifier);
  EXPECT_EQ(w.editor.TopRow(), 9);
  EXPECT_EQ(w.editor.Row(), 12);
  w.Key(Qt::Key_Down, Qt::ControlModifier);
  w.Key(Qt::Key_Down, Qt::ControlModifier);
  w.Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(w.editor.TopRow(), 12);
  EXPECT_EQ(w.editor.Row(), 12);
  w.Key(Qt::Key_Down, Qt::ControlModifier);
  EXPECT_EQ(w.editor.TopRow(), 13);
  EXPECT_EQ(w.editor.Row(), 13);
}

// ----------------------------------------------------------- changing text

struct EditKeyCase {
  const char* name;
  const char* text;  // UTF-8
  bool in_tab;
  int row, col;
  std::function<void(KeysOnEditor&)> press;
  const char* expected;
  int caret_row, caret_col;
};

auto Press(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
  return [key, mods](KeysOnEditor& w) { w.Key(key, mods); };
}

class EditKeyTable : public ::testing::TestWithParam<EditKeyCase> {};

TEST_P(EditKeyTable, ChangesTheTextInOneUndoStep) {
  const EditKeyCase& c = GetParam();
  KeysOnEditor w;
  w.editor.Caret().SetInTab(c.in_tab);
  w.editor.Caret().SetFreeCaret(true);
  w.SetText(Sjis(c.text));
  w.editor.SetRowCol(c.row, c.col);
  const std::string before = w.Text();
  c.press(w);
  EXPECT_EQ(w.Text(), Sjis(c.expected));
  w.ExpectCaret(c.caret_row, c.caret_col);
  if (before != w.Text()) {
    ASSERT_TRUE(w.editor.CanUndo());
    w.editor.Undo();
    EXPECT_EQ(w.Text(), before);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Keys, EditKeyTable,
    ::testing::Values(EditKeyCase{"DeleteDoubleByte", "あいう", false, 0, 2, Press(Qt::Key_Delete),
                                  "あう", 0, 2},
                      EditKeyCase{"DeleteInsideTabExpansion", "a\tb", true, 0, 4,
                                  Press(Qt::Key_Delete), "ab", 0, 1},
                      EditKeyCase{"DeleteJoinsNextLine", "ab\r\ncd", false, 0, 2,
                                  Press(Qt::Key_Delete), "abcd", 0, 2},
                      EditKeyCase{"DeleteFromFreeSpacePadsThenJoins", "ab\r\ncd", false, 0, 4,
                                  Press(Qt::Key_Delete), "ab  cd", 0, 4},
                      EditKeyCase{"DeleteAtTextEndDoesNothing", "ab", false, 0, 2,
                                  Press(Qt::Key_Delete), "ab", 0, 2},
                      EditKeyCase{"BackSpaceDoubleByte", "あいう", false, 0, 4,
                                  Press(Qt::Key_Backspace), "あう", 0, 2},
                      EditKeyCase{"BackSpaceAfterTab", "a\tb", false, 0, 8,
                                  Press(Qt::Key_Backspace), "ab", 0, 1},
                      EditKeyCase{"BackSpaceInsideLeadingTab", "\tb", true, 0, 3,
                                  Press(Qt::Key_Backspace), "b", 0, 0},
                      EditKeyCase{"BackSpaceJoinsPreviousLine", "ab\r\nあい", false, 1, 0,
                                  Press(Qt::Key_Backspace), "abあい", 0, 2},
                      EditKeyCase{"BackSpaceAfterFinalBreak", "ab\r\n", false, 1, 0,
                                  Press(Qt::Key_Backspace), "ab", 0, 2},
                      EditKeyCase{"BackSpaceAtTextStartDoesNothing", "ab", false, 0, 0,
                                  Press(Qt::Key_Backspace), "ab", 0, 0},
                      EditKeyCase{"BackSpaceInFreeSpaceOnlyMoves", "ab", false, 0, 5,
                                  Press(Qt::Key_Backspace), "ab", 0, 4},
                      EditKeyCase{"CtrlHIsBackSpace", "abc", false, 0, 2,
                                  Press(Qt::Key_H, Qt::ControlModifier), "ac", 0, 1},
                      EditKeyCase{"BackSpaceDeletesSelection", "abcd", false, 0, 1,
                                  [](KeysOnEditor& w) {
                                    w.Key(Qt::Key_Right, Qt::ShiftModifier);
                                    w.Key(Qt::Key_Right, Qt::ShiftModifier);
                                    w.Key(Qt::Key_Backspace);
                                  },
                                  "ad", 0, 1},
                      EditKeyCase{"TypedBetweenDoubleByte", "あいう", false, 0, 2,
                                  [](KeysOnEditor& w) { w.Type("x"); }, "あxいう", 0, 3},
                      EditKeyCase{"TypedHalfWidthKatakana", "ab", false, 0, 1,
                                  [](KeysOnEditor& w) { w.Type("ｱ"); }, "aｱb", 0, 2},
                      EditKeyCase{"TypedLastHalfWidthKatakana", "ab", false, 0, 1,
                                  [](KeysOnEditor& w) { w.Type("ﾟ"); }, "aﾟb", 0, 2},
                      EditKeyCase{"ReturnSplitsLine", "abcd", false, 0, 2, Press(Qt::Key_Return),
                                  "ab\r\ncd", 1, 0},
                      EditKeyCase{"ReturnKeepsIndent", "    ab", false, 0, 6, Press(Qt::Key_Return),
                                  "    ab\r\n    ", 1, 4},
                      EditKeyCase{"ReturnInsideIndentTakesCaretColumn", "    ab", false, 0, 2,
                                  Press(Qt::Key_Return), "  \r\n    ab", 1, 2},
                      EditKeyCase{"ReturnKeepsFullWidthSpaceIndentAsSpaces", "　x", false, 0, 3,
                                  Press(Qt::Key_Return), "　x\r\n  ", 1, 2},
                      EditKeyCase{"ReturnAfterTextEnd", "ab\r\n", false, 1, 0,
                                  Press(Qt::Key_Return), "ab\r\n\r\n", 2, 0},
                      EditKeyCase{"CtrlMIsReturn", "abcd", false, 0, 2,
                                  Press(Qt::Key_M, Qt::ControlModifier), "ab\r\ncd", 1, 0},
                      EditKeyCase{"CtrlIDoesNothing", "ab", false, 0, 1,
                                  Press(Qt::Key_I, Qt::ControlModifier), "ab", 0, 1},
                      EditKeyCase{"TabInsertsTabByte", "ab", false, 0, 1, Press(Qt::Key_Tab),
                                  "a\tb", 0, 8},
                      EditKeyCase{"ShiftTabDoesNothing", "ab", false, 0, 1,
                                  Press(Qt::Key_Backtab, Qt::ShiftModifier), "ab", 0, 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Keys, BackSpaceAtAContinuationRowTakesThePreviousRowsLastCharacter) {
  KeysOnEditor w;
  w.editor.WrapOption().SetWrapByte(20);
  w.editor.SetWordWrap(true);
  // Row 0 ends in a double-byte character at columns 18 and 19.
  w.SetText(Sjis("abcdefghijklmnopqrあxyz\r\nend"));
  ASSERT_EQ(w.editor.RowEndKind(0), rkWrap);
  w.editor.SetRowCol(1, 0);
  w.Key(Qt::Key_Backspace);
  EXPECT_EQ(w.Text(), Sjis("abcdefghijklmnopqrxyz\r\nend"));
  w.ExpectCaret(0, 18);
  w.editor.Undo();
  EXPECT_EQ(w.Text(), Sjis("abcdefghijklmnopqrあxyz\r\nend"));
}

TEST(Keys, ReturnWithTabIndentAndPreviousLineIndent) {
  KeysOnEditor w;
  w.editor.Caret().SetTabIndent(true);
  w.editor.Caret().SetTabSpaceCount(4);
  w.SetText("    ab");
  w.editor.SetRowCol(0, 6);
  w.Key(Qt::Key_Return);
  EXPECT_EQ(w.Text(), "    ab\r\n\t");
  w.ExpectCaret(1, 4);
  // What is left over after the tabs stays as spaces.
  w.SetText("      ab");
  w.editor.SetRowCol(0, 8);
  w.Key(Qt::Key_Return);
  EXPECT_EQ(w.Text(), "      ab\r\n\t  ");
  w.ExpectCaret(1, 6);

  // An empty line takes the indent of the line above it.
  w.editor.Caret().SetTabIndent(false);
  w.editor.Caret().SetPrevSpaceIndent(true);
  w.SetText("  ab\r\n\r\nx");
  w.editor.SetRowCol(1, 0);
  w.Key(Qt::Key_Return);
  EXPECT_EQ(w.Text(), "  ab\r\n\r\n  \r\nx");
  w.ExpectCaret(2, 2);
}

TEST(Keys, ReturnInOverwriteModeOnlyMovesToTheNextRow) {
  KeysOnEditor w;
  w.SetText("abc\r\ndef");
  w.editor.SetOverWrite(true);
  w.editor.SetRowCol(0, 2);
  w.Key(Qt::Key_Return);
  EXPECT_EQ(w.Text(), "abc\r\ndef");
  w.ExpectCaret(1, 0);
}

TEST(Keys, SoftTabFillsToTheNextStopAndOverwriteOnlyMoves) {
  KeysOnEditor w;
  w.editor.Caret().SetSoftTab(true);
  w.SetText("abcdefghij");
  w.editor.SetRowCol(0, 5);
  w.Key(Qt::Key_Tab);
  EXPECT_EQ(w.Text(), "abcde   fghij");
  w.ExpectCaret(0, 8);

  w.SetText("abcdefghij");
  w.editor.SetOverWrite(true);
  w.editor.SetRowCol(0, 5);
  w.Key(Qt::Key_Tab);
  EXPECT_EQ(w.Text(), "abcdefghij");
  w.ExpectCaret(0, 8);
}

TEST(Keys, TabStopsAtTheWrapWidth) {
  KeysOnEditor w;
  w.editor.Caret().SetSoftTab(true);
  w.editor.WrapOption().SetWrapByte(20);
  w.editor.SetWordWrap(true);
  w.SetText("abcdefghijklmnopq");
  w.editor.SetRowCol(0, 17);
  w.Key(Qt::Key_Tab);
  // The next stop (24) lies beyond the row: the tab fills only to its end.
  EXPECT_EQ(w.Text(), "abcdefghijklmnopq   ");
}

TEST(Keys, TypingOverwritesInOverwriteMode) {
  KeysOnEditor w;
  w.SetText(Sjis("abcあい"));
  w.editor.SetOverWrite(true);
  w.editor.SetRowCol(0, 1);
  w.Type("XY");
  EXPECT_EQ(w.Text(), Sjis("aXYあい"));
  w.ExpectCaret(0, 3);
  w.editor.Undo();
  w.editor.Undo();
  EXPECT_EQ(w.Text(), Sjis("abcあい"));
}

TEST(Keys, InsertLeavesTheModeToTheOverWriteProperty) {
  KeysOnEditor w;
  w.SetText("abc");
  w.Key(Qt::Key_Insert);
  EXPECT_FALSE(w.editor.OverWrite());
  w.Type("x");
  EXPECT_EQ(w.Text(), "xabc");
}

TEST(Keys, JapaneseThroughTheInputMethodArrivesOnce) {
  KeysOnEditor w;
  w.SetText("ab");
  w.editor.SetRowCol(0, 1);
  w.Commit("日本語");
  EXPECT_EQ(w.Text(), Sjis("a日本語b"));
  w.ExpectCaret(0, 7);
  // The repeated bytes are used up: what is typed next arrives as typed.
  w.Type("x");
  EXPECT_EQ(w.Text(), Sjis("a日本語xb"));
  w.editor.Undo();
  w.editor.Undo();
  EXPECT_EQ(w.Text(), "ab");
}

TEST(Keys, TypingIsNotLostWhenTheRepeatedBytesOfAResultNeverArrive) {
  KeysOnEditor w;
  w.SetText("ab");
  // With the button held on the control no character message gets through.
  const QPoint beyond(w.editor.Margin().Left() + 10 * w.editor.CharWidth(),
                      w.editor.Margin().Top() + w.editor.CharHeight() / 2);
  QTest::mousePress(w.Client(), Qt::LeftButton, Qt::NoModifier, beyond);
  w.Commit("日本");
  QTest::mouseRelease(w.Client(), Qt::LeftButton, Qt::NoModifier, beyond);
  EXPECT_EQ(w.Text(), Sjis("ab日本"));
  w.Type("xy");
  EXPECT_EQ(w.Text(), Sjis("ab日本xy"));
}

TEST(Keys, ReadOnlyChangesNothingButTheCaretStillMoves) {
  KeysOnEditor w;
  w.SetText(Sjis("ab\r\nあい"));
  w.editor.SetReadOnly(true);
  w.editor.SetRowCol(0, 1);
  w.Key(Qt::Key_Delete);
  w.Key(Qt::Key_Backspace);
  w.Key(Qt::Key_Tab);
  w.Key(Qt::Key_Return);
  w.Type("xyz");
  w.Commit("日本");
  EXPECT_EQ(w.Text(), Sjis("ab\r\nあい"));
  w.ExpectCaret(0, 1);
  w.Key(Qt::Key_Down);
  w.Key(Qt::Key_End, Qt::ShiftModifier);
  w.ExpectCaret(1, 4);
  EXPECT_EQ(w.editor.GetSelText(), Sjis("あい"));
  // Once writable again, typing is not eaten by the result that was refused.
  w.editor.SetReadOnly(false);
  w.Type("z");
  EXPECT_EQ(w.Text(), Sjis("ab\r\nz"));
}

TEST(Keys, AKeyTakenByOnKeyDownOrOnKeyPressDoesNothing) {
  KeysOnEditor w;
  w.SetText("abc");
  w.editor.OnKeyDown = [](platform::TObject*, std::uint16_t& key, platform::TShiftState) {
    if (key == platform::VK_RIGHT || key == platform::VK_DELETE) key = 0;
  };
  w.editor.OnKeyPress = [](platform::TObject*, char& key) {
    if (key == 'x') key = 0;
    if (key == 'y') key = 'Y';
  };
  w.Key(Qt::Key_Right);
  w.Key(Qt::Key_Delete);
  w.Type("xy");
  EXPECT_EQ(w.Text(), "Yabc");
  w.ExpectCaret(0, 1);
}

}  // namespace
}  // namespace editor
