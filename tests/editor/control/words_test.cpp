// Words and tokens of the real control: jumps with its own column rules, the
// indentation of the line above, and the token under a point or the caret,
// also over wrapped rows.
#include <gtest/gtest.h>

#include "tests/editor/control/selection_fixture.h"

namespace editor {
namespace {

using testing::EditorInWindow;
using testing::Sjis;

TEST(Words, JumpsCountTheControlsTabWidth) {
  EditorInWindow w;
  w.SetText("a\tb");
  int row = 0, col = 0;
  w.editor.Caret().SetTabSpaceCount(4);
  ASSERT_TRUE(w.editor.WordJump(row, col, 1));
  EXPECT_EQ(col, 4);
  w.editor.Caret().SetTabSpaceCount(8);
  col = 0;
  ASSERT_TRUE(w.editor.WordJump(row, col, 1));
  EXPECT_EQ(col, 8);
}

TEST(Words, JumpsOverWrappedRows) {
  EditorInWindow w;
  w.editor.WrapOption().SetWrapByte(20);
  w.editor.SetWordWrap(true);
  // "alpha beta gamma del" fills the first row; "ta" goes on in the second.
  w.SetText("alpha beta gamma delta\r\nnext");
  ASSERT_EQ(w.editor.RowEndKind(0), rkWrap);
  int row = 0, col = 17;
  ASSERT_TRUE(w.editor.WordJump(row, col, 1));
  EXPECT_EQ(row, 1);
  EXPECT_EQ(col, 0);
  ASSERT_TRUE(w.editor.WordJump(row, col, -1));
  EXPECT_EQ(row, 0);
  EXPECT_EQ(col, 17);
}

TEST(Words, PrevLineIndent) {
  EditorInWindow w;
  // Two spaces and a full-width space, an empty line, then the line asked about.
  w.SetText(Sjis("  　x\r\n\r\ny"));
  EXPECT_EQ(w.editor.PrevLineIndent(0), 0);
  EXPECT_EQ(w.editor.PrevLineIndent(1), 4);
  EXPECT_EQ(w.editor.PrevLineIndent(2), 4);
}

class TokensOnScreen : public ::testing::Test {
 protected:
  TokensOnScreen() {
    w.editor.View().SetUrl(true);
    w.editor.View().SetMail(true);
    w.editor.WrapOption().SetWrapByte(20);
    w.editor.SetWordWrap(true);
    // The address runs from column 4 of the first row into the second.
    w.SetText("see http://example.com/abc/def ok\r\nplain word");
  }
  EditorInWindow w;
};

TEST_F(TokensOnScreen, AnAddressIsFoundWholeFromEachOfItsRows) {
  ASSERT_EQ(w.editor.RowEndKind(0), rkWrap);
  const std::string url = "http://example.com/abc/def";
  for (const platform::TPoint point : {w.CellPoint(0, 6), w.CellPoint(1, 2)}) {
    EXPECT_EQ(w.editor.TokenKindFromPos(point), tkUrl);
    std::string text;
    w.editor.TokenFromPos(point, text);
    EXPECT_EQ(text, url);
  }
  // Selecting it from its second row selects all of it.
  w.editor.SelectTokenFromPos(w.CellPoint(1, 2));
  EXPECT_EQ(w.editor.GetSelText(), url);
  EXPECT_EQ(w.editor.GetSelStart(), 4);
}

TEST_F(TokensOnScreen, PlainWordsBlanksAndPlacesOutsideTheText) {
  // Line 2 is the third row: "plain word".
  w.editor.SelectTokenFromPos(w.CellPoint(2, 8));
  EXPECT_EQ(w.editor.GetSelText(), "word");

  // A blank, after the end of a row, below the text, and in the left margin:
  // nothing is found and the selection stays.
  const platform::TPoint nothing[] = {
      w.CellPoint(2, 5), w.CellPoint(2, 12), w.CellPoint(5, 0), {1, w.CellPoint(2, 0).Y}};
  for (const platform::TPoint point : nothing) {
    EXPECT_EQ(w.editor.TokenKindFromPos(point), tkEnd) << point.X << "," << point.Y;
    std::string text = "old";
    w.editor.TokenFromPos(point, text);
    EXPECT_EQ(text, "");
    w.editor.SelectTokenFromPos(point);
    EXPECT_EQ(w.editor.GetSelText(), "word");
  }
}

TEST_F(TokensOnScreen, AtTheCaret) {
  w.editor.SetRowCol(1, 3);
  EXPECT_EQ(w.editor.TokenKindFromCaret(), tkUrl);
  std::string text;
  w.editor.TokenFromCaret(text);
  EXPECT_EQ(text, "http://example.com/abc/def");

  // A selection elsewhere does not bend the new one.
  w.Select(0, 0, 0, 2);
  w.editor.SetRowCol(2, 1);
  w.editor.SelectTokenFromCaret();
  EXPECT_EQ(w.editor.GetSelText(), "plain");
}

}  // namespace
}  // namespace editor
