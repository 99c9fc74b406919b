// Typed and composed text on the real control: every committed character
// enters exactly once, also when keys wait in the event queue behind a busy
// program; a character without a Shift-JIS form is refused audibly; the
// composition is drawn in the row, pushing the rest of it right, in the
// formats the input method asks for, kept in the view, with the input
// rectangle at its cursor.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QTextCharFormat>
#include <string>

#include "tests/editor/control/selection_fixture.h"

namespace editor {
namespace {

using testing::Sjis;

// Counts the refusals instead of sounding them.
class RefusalCountingEditor : public TEditor {
 public:
  int beeps = 0;

 protected:
  void Beep() override { ++beeps; }
};

class TypingOnEditor : public testing::BasicEditorInWindow<RefusalCountingEditor> {
 public:
  explicit TypingOnEditor(int width = 400) : BasicEditorInWindow(width, 200) {
    testing::ShowFocused(editor);
    editor.Caret().SetFreeCaret(false);
  }

  QWidget* Client() const { return platform::ClientWidget(editor); }

  // Input that waits in the event queue, as it does while the program is
  // busy; Run lets the event loop deliver all of it.
  void PostKey(int key, const char* utf8) {
    const QString text = QString::fromUtf8(utf8);
    QCoreApplication::postEvent(Client(),
                                new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(Client(),
                                new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
  }
  void PostCommit(const char* utf8) {
    auto* event = new QInputMethodEvent;
    event->setCommitString(QString::fromUtf8(utf8));
    QCoreApplication::postEvent(Client(), event);
  }
  void Run() {
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // A key that types a character, at once.
  void Type(const char* utf8) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString::fromUtf8(utf8));
    QApplication::sendEvent(Client(), &press);
  }
  void Commit(const char* utf8) {
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(Client(), &event);
    Run();
  }
  // A composition in progress, its cursor at UTF-16 index `cursor`.
  void Compose(const char* utf8, int cursor, QList<QInputMethodEvent::Attribute> formats = {}) {
    formats.append({QInputMethodEvent::Cursor, cursor, 1, QVariant()});
    QInputMethodEvent event(QString::fromUtf8(utf8), formats);
    QApplication::sendEvent(Client(), &event);
  }

  std::string Text() const { return editor.ScreenStrings().GetRowsText(0, editor.RowCount()); }

  // The window as the desktop shows it, composition included, and the
  // surface the text is drawn on, both in one format.
  QImage Shown() const { return Client()->grab().toImage().convertToFormat(QImage::Format_RGB32); }
  QImage Drawn() const {
    return platform::ControlSurface(editor).convertToFormat(QImage::Format_RGB32);
  }
  // Cells from..to (exclusive) of view row `row`.
  QRect Cells(int row, int from, int to) const {
    return QRect(editor.Margin().Left() + from * editor.CharWidth(),
                 editor.Margin().Top() + row * editor.RowHeight(), (to - from) * editor.CharWidth(),
                 editor.CharHeight());
  }
};

// ------------------------------------------------------------ exactly once

TEST(InputMethod, CommittedTextEntersOnceWhateverWaitsBehindIt) {
  const struct {
    const char* name;
    const char* text;  // UTF-8
    int caret;
    void (*input)(TypingOnEditor&);
    const char* expected;
  } cases[] = {
      // A result, then BackSpace before the event loop ran again.
      {"result then BackSpace", "abc def", 3,
       [](TypingOnEditor& t) {
         t.PostCommit("日本");
         t.PostKey(Qt::Key_Backspace, "\b");
       },
       "abc日 def"},
      // A keyboard layout that types Cyrillic: each letter is double-byte.
      {"Cyrillic keys", "", 0,
       [](TypingOnEditor& t) {
         t.PostKey(0, "в");
         t.PostKey(Qt::Key_Space, " ");
         t.PostKey(0, "а");
         t.PostKey(Qt::Key_Backspace, "\b");
       },
       "в "},
      {"results and keys interleaved", "", 0,
       [](TypingOnEditor& t) {
         t.PostCommit("日");
         t.PostKey(Qt::Key_A, "a");
         t.PostCommit("本語");
         t.PostKey(Qt::Key_B, "b");
       },
       "日a本語b"},
  };
  for (const auto& c : cases) {
    TypingOnEditor t;
    t.SetText(Sjis(c.text));
    t.editor.SetRowCol(0, c.caret);
    c.input(t);
    t.Run();
    EXPECT_EQ(t.Text(), Sjis(c.expected)) << c.name;
  }
}

// ---------------------------------------------------------------- refusals

TEST(InputMethod, ACharacterWithoutAShiftJisFormIsRefusedAudibly) {
  TypingOnEditor t;
  t.SetText("ab");
  t.editor.SetRowCol(0, 2);
  t.Type("é");
  t.Type("½");
  EXPECT_EQ(t.editor.beeps, 2);
  EXPECT_EQ(t.Text(), "ab");
  // What has a form still enters; one refusal for the result.
  t.Commit("仮😀名");
  EXPECT_EQ(t.editor.beeps, 3);
  EXPECT_EQ(t.Text(), Sjis("ab仮名"));
  // The yen key types the byte Japanese fonts show as the yen sign.
  t.Type("¥");
  EXPECT_EQ(t.editor.beeps, 3);
  EXPECT_EQ(t.Text(), Sjis("ab仮名\\"));
  // Read-only, typing changes nothing without a sound.
  t.editor.SetReadOnly(true);
  t.Type("é");
  t.Commit("😀");
  EXPECT_EQ(t.editor.beeps, 3);
}

TEST(InputMethod, AReadOnlyControlTakesNoComposition) {
  TypingOnEditor t;
  t.SetText("ab");
  EXPECT_TRUE(t.Client()->inputMethodQuery(Qt::ImEnabled).toBool());
  t.editor.SetReadOnly(true);
  EXPECT_FALSE(t.Client()->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_FALSE(t.Client()->inputMethodQuery(Qt::ImEnabled).toBool());
  // Also in a window made again.
  t.editor.RecreateWnd();
  t.editor.HandleNeeded();
  EXPECT_FALSE(platform::ClientWidget(t.editor)->testAttribute(Qt::WA_InputMethodEnabled));
  t.editor.SetReadOnly(false);
  EXPECT_TRUE(platform::ClientWidget(t.editor)->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(platform::ClientWidget(t.editor)->inputMethodQuery(Qt::ImEnabled).toBool());
}

// ------------------------------------------------------------- composition

TEST(InputMethod, TheCompositionPushesTheRestOfTheRowRightWithoutEnteringTheText) {
  TypingOnEditor t;
  t.SetText("abcdef\r\nghi");
  t.editor.SetRowCol(0, 3);
  t.editor.Update();
  const QImage before = t.Drawn();
  // The clause being converted on a red ground, the next one underlined.
  QTextCharFormat converting;
  converting.setBackground(QColor(255, 0, 0));
  converting.setForeground(QColor(255, 255, 255));
  QTextCharFormat next;
  next.setUnderlineStyle(QTextCharFormat::SingleUnderline);
  t.Compose("かな", 1,
            {{QInputMethodEvent::TextFormat, 0, 1, converting},
             {QInputMethodEvent::TextFormat, 1, 1, next}});
  const QImage shown = t.Shown();
  EXPECT_EQ(t.Text(), "abcdef\r\nghi");
  // "def" four cells further right, the row below and the text before untouched.
  EXPECT_EQ(shown.copy(t.Cells(0, 7, 10)), before.copy(t.Cells(0, 3, 6)));
  EXPECT_EQ(shown.copy(t.Cells(0, 0, 3)), before.copy(t.Cells(0, 0, 3)));
  EXPECT_EQ(shown.copy(t.Cells(1, 0, 10)), before.copy(t.Cells(1, 0, 10)));
  auto red = [&](const QRect& r) {
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
      for (int x = r.left(); x <= r.right(); ++x) n += shown.pixel(x, y) == qRgb(255, 0, 0);
    return n * 2 > r.width() * r.height();
  };
  EXPECT_TRUE(red(t.Cells(0, 3, 5)));
  EXPECT_FALSE(red(t.Cells(0, 5, 7)));
  // The input rectangle stands at the composition's cursor, after "か".
  const QRect input = t.Client()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
  EXPECT_EQ(input.left(), t.Cells(0, 5, 6).left());
  EXPECT_EQ(input.top(), t.Cells(0, 5, 6).top());

  // Committed, the text holds it where it was drawn.
  t.Commit("仮名");
  EXPECT_EQ(t.Text(), Sjis("abc仮名def\r\nghi"));
  EXPECT_EQ(t.Drawn().copy(t.Cells(0, 7, 10)), before.copy(t.Cells(0, 3, 6)));
}

TEST(InputMethod, TheViewKeepsTheCompositionInSight) {
  TypingOnEditor t(300);
  t.SetText(std::string(200, 'x'));
  const int visible = t.editor.VisibleCols();
  ASSERT_GT(visible, 12);
  const int col = visible - 2;
  const struct {
    const char* name;
    const char* preedit;
    int cursor;  // UTF-16 index
    int cells;   // cells of the composition
    int cursor_cells;
  } cases[] = {
      {"past the right edge", "あいうえお", 5, 10, 10},
      {"wider than the view, cursor at its start", "あいうえおかきくけこさしすせそたちつてと", 0,
       40, 0},
      {"wider than the view, cursor at its end", "あいうえおかきくけこさしすせそたちつてと", 20, 40,
       40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    t.editor.SetTopCol(0);
    t.editor.SetRowCol(0, col);
    ASSERT_EQ(t.editor.TopCol(), 0);
    t.Compose(c.preedit, c.cursor);
    const int top = t.editor.TopCol();
    const int cursor = col + c.cursor_cells;
    EXPECT_GE(cursor, top);
    EXPECT_LT(cursor, top + visible);
    if (c.cells < visible) {
      EXPECT_LE(top, col);
      EXPECT_LT(col + c.cells, top + visible);
    }
    const QRect input = t.Client()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
    EXPECT_EQ(input.left(), t.Cells(0, cursor - top, cursor - top + 1).left());
    // Cancelled, the caret is in the view again and the text unchanged.
    t.Compose("", 0);
    EXPECT_EQ(t.Text(), std::string(200, 'x'));
    EXPECT_GE(t.editor.Col(), t.editor.TopCol());
    EXPECT_LT(t.editor.Col(), t.editor.TopCol() + visible);
  }
}

}  // namespace
}  // namespace editor
