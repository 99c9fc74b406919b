// The editor through Qt's accessibility interfaces, as a screen reader asks:
// its text in Unicode characters over CP932 bytes, the caret, selections,
// text at an offset, character rectangles and the events of its changes.
#include <gtest/gtest.h>

#include <QAccessible>
#include <vector>

#include "editor_test_support.h"

namespace editor {
namespace {

using testing::ShownEditor;
using testing::Sjis;

// a0 b1 c2 _3 d4 e5 f6 \n7 カ8 タ9 カ10 ナ11 _12 語13 x14 \n15: the line view
// ends every line with a break, and the caret may stand after the last one (16).
constexpr const char* kText = "abc def\r\nカタカナ 語x";

struct Recorded {
  QAccessible::Event type = QAccessible::InvalidEvent;
  int a = 0;  // cursor position, selection start or change position
  int b = 0;  // selection end
  QString removed;
  QString inserted;
};
std::vector<Recorded>* g_events = nullptr;

void Record(QAccessibleEvent* event) {
  if (!g_events) return;
  Recorded r;
  r.type = event->type();
  switch (event->type()) {
    case QAccessible::TextCaretMoved:
      r.a = static_cast<QAccessibleTextCursorEvent*>(event)->cursorPosition();
      break;
    case QAccessible::TextSelectionChanged: {
      auto* e = static_cast<QAccessibleTextSelectionEvent*>(event);
      r.a = e->selectionStart();
      r.b = e->selectionEnd();
      break;
    }
    case QAccessible::TextInserted: {
      auto* e = static_cast<QAccessibleTextInsertEvent*>(event);
      r.a = e->changePosition();
      r.inserted = e->textInserted();
      break;
    }
    case QAccessible::TextRemoved: {
      auto* e = static_cast<QAccessibleTextRemoveEvent*>(event);
      r.a = e->changePosition();
      r.removed = e->textRemoved();
      break;
    }
    case QAccessible::TextUpdated: {
      auto* e = static_cast<QAccessibleTextUpdateEvent*>(event);
      r.a = e->changePosition();
      r.removed = e->textRemoved();
      r.inserted = e->textInserted();
      break;
    }
    default:
      return;
  }
  g_events->push_back(r);
}

class AccessibleEditor : public ::testing::Test {
 protected:
  void SetUp() override {
    editor_ = ShownEditor(400, 200);
    editor_->Lines().SetTextStr(Sjis(kText));
    iface_ = QAccessible::queryAccessibleInterface(platform::ClientWidget(*editor_));
    ASSERT_NE(iface_, nullptr);
    text_ = iface_->textInterface();
    ASSERT_NE(text_, nullptr);
  }
  void TearDown() override {
    g_events = nullptr;
    platform::SetAccessibilityListener(nullptr);
  }
  // Events from now on are recorded, as a listening screen reader gets them.
  void Listen() {
    events_.clear();
    g_events = &events_;
    platform::SetAccessibilityListener(Record);
  }
  std::unique_ptr<TEditor> editor_;
  QAccessibleInterface* iface_ = nullptr;
  QAccessibleTextInterface* text_ = nullptr;
  std::vector<Recorded> events_;
};

TEST_F(AccessibleEditor, TextRoleAndStateInUnicodeCharacters) {
  EXPECT_EQ(iface_->role(), QAccessible::EditableText);
  EXPECT_TRUE(iface_->state().multiLine);
  EXPECT_FALSE(iface_->state().readOnly);
  EXPECT_NE(iface_->editableTextInterface(), nullptr);
  EXPECT_EQ(text_->characterCount(), 16);
  EXPECT_EQ(text_->text(0, 16), QString::fromUtf8("abc def\nカタカナ 語x\n"));
  EXPECT_EQ(text_->text(8, 12), QString::fromUtf8("カタカナ"));
  // A lead byte without a valid trail byte is one character without a Unicode form.
  editor_->Lines().SetTextStr(std::string("a\x81\x7F") + Sjis("語"));
  EXPECT_EQ(text_->characterCount(), 4);
  EXPECT_EQ(text_->text(0, 4), QString::fromUtf8("a\uFFFD語\n"));

  editor_->SetReadOnly(true);
  EXPECT_TRUE(iface_->state().readOnly);
  EXPECT_EQ(iface_->editableTextInterface(), nullptr);
}

TEST_F(AccessibleEditor, CaretOffsetCountsCharactersNotBytes) {
  struct Case {
    int row, col, offset;
  } cases[] = {{0, 0, 0},  {0, 7, 7},   {1, 0, 8},   {1, 2, 9},
               {1, 8, 12}, {1, 11, 14}, {1, 12, 15}, {2, 0, 16}};
  for (const Case& c : cases) {
    editor_->SetRowCol(c.row, c.col);
    EXPECT_EQ(text_->cursorPosition(), c.offset) << c.row << "," << c.col;
    text_->setCursorPosition(0);
    text_->setCursorPosition(c.offset);
    EXPECT_EQ(editor_->Row(), c.row) << c.offset;
    EXPECT_EQ(editor_->Col(), c.col) << c.offset;
  }
}

TEST_F(AccessibleEditor, SelectionsBothWays) {
  EXPECT_EQ(text_->selectionCount(), 0);
  text_->setSelection(0, 5, 10);
  EXPECT_EQ(editor_->GetSelText(), Sjis("ef\r\nカタ"));
  int start = -1;
  int end = -1;
  ASSERT_EQ(text_->selectionCount(), 1);
  text_->selection(0, &start, &end);
  EXPECT_EQ(start, 5);
  EXPECT_EQ(end, 10);
  // The user's selection, made with the keyboard, reads the same way.
  editor_->SetSelStart(11);  // bytes: "abc def" CR LF カ
  editor_->SetSelLength(4);  // タカ
  text_->selection(0, &start, &end);
  EXPECT_EQ(start, 9);
  EXPECT_EQ(end, 11);
  text_->removeSelection(0);
  EXPECT_EQ(text_->selectionCount(), 0);
  EXPECT_FALSE(editor_->Selected());
}

TEST_F(AccessibleEditor, TextAtBeforeAndAfterOffset) {
  using B = QAccessible::TextBoundaryType;
  enum Kind { At, Before, After };
  struct Case {
    Kind kind;
    int offset;
    B boundary;
    const char* text;
    int start, end;
  } cases[] = {
      {At, 0, QAccessible::CharBoundary, "a", 0, 1},
      {At, 9, QAccessible::CharBoundary, "タ", 9, 10},
      {At, 14, QAccessible::CharBoundary, "x", 14, 15},
      {Before, 9, QAccessible::CharBoundary, "カ", 8, 9},
      {After, 9, QAccessible::CharBoundary, "カ", 10, 11},
      {Before, 0, QAccessible::CharBoundary, "", -1, -1},
      {After, 14, QAccessible::CharBoundary, "\n", 15, 16},
      {After, 15, QAccessible::CharBoundary, "", -1, -1},
      {At, 1, QAccessible::WordBoundary, "abc", 0, 3},
      {At, 9, QAccessible::WordBoundary, "カタカナ", 8, 12},
      {At, 13, QAccessible::WordBoundary, "語", 13, 14},
      {Before, 9, QAccessible::WordBoundary, "def", 4, 7},
      {After, 5, QAccessible::WordBoundary, "カタカナ", 8, 12},
      {At, 0, QAccessible::LineBoundary, "abc def", 0, 7},
      {At, 7, QAccessible::LineBoundary, "abc def", 0, 7},
      {At, 8, QAccessible::LineBoundary, "カタカナ 語x", 8, 15},
      {At, 15, QAccessible::LineBoundary, "カタカナ 語x", 8, 15},
      {At, 16, QAccessible::LineBoundary, "", 16, 16},
      {Before, 10, QAccessible::LineBoundary, "abc def", 0, 7},
      {After, 3, QAccessible::LineBoundary, "カタカナ 語x", 8, 15},
      {Before, 3, QAccessible::LineBoundary, "", -1, -1},
      {After, 10, QAccessible::LineBoundary, "", 16, 16},
      {After, 16, QAccessible::LineBoundary, "", -1, -1},
      {At, 4, QAccessible::NoBoundary, "abc def\nカタカナ 語x\n", 0, 16},
  };
  for (const Case& c : cases) {
    int start = -7;
    int end = -7;
    QString got;
    if (c.kind == At) got = text_->textAtOffset(c.offset, c.boundary, &start, &end);
    if (c.kind == Before) got = text_->textBeforeOffset(c.offset, c.boundary, &start, &end);
    if (c.kind == After) got = text_->textAfterOffset(c.offset, c.boundary, &start, &end);
    const std::string where =
        std::to_string(c.kind) + " " + std::to_string(c.offset) + " " + std::to_string(c.boundary);
    EXPECT_EQ(got, QString::fromUtf8(c.text)) << where;
    EXPECT_EQ(start, c.start) << where;
    EXPECT_EQ(end, c.end) << where;
  }
}

// A screen reader speaks a line run by run of like attributes: every run
// holds the offset asked for, so the line's last character is never cut
// off; the end of the text belongs to the last line's run.
TEST_F(AccessibleEditor, AttributeRunsAreWholeLinesWithTheirBreak) {
  struct Case {
    int offset;
    int start, end;
  } cases[] = {
      {0, 0, 8},   {6, 0, 8},   {7, 0, 8},   {8, 8, 16},   {14, 8, 16},
      {15, 8, 16}, {16, 8, 16}, {-1, 8, 16}, {17, -1, -1}, {-3, -1, -1},
  };
  for (const Case& c : cases) {
    int start = -7;
    int end = -7;
    text_->attributes(c.offset, &start, &end);
    EXPECT_EQ(start, c.start) << c.offset;
    EXPECT_EQ(end, c.end) << c.offset;
  }
  // -2 is the caret's offset.
  text_->setCursorPosition(10);
  int start = -7;
  int end = -7;
  text_->attributes(-2, &start, &end);
  EXPECT_EQ(start, 8);
  EXPECT_EQ(end, 16);
  editor_->Lines().Clear();
  text_->attributes(0, &start, &end);
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 0);
}

// A log the program writes to is a terminal to a screen reader; the
// control is a plain text otherwise.
TEST_F(AccessibleEditor, ALogIsATerminal) {
  EXPECT_EQ(iface_->role(), QAccessible::EditableText);
  platform::PresentAsLog(*editor_, true);
  EXPECT_EQ(iface_->role(), QAccessible::Terminal);
  EXPECT_EQ(text_->characterCount(), 16);
  platform::PresentAsLog(*editor_, false);
  EXPECT_EQ(iface_->role(), QAccessible::EditableText);
}

TEST_F(AccessibleEditor, LinesAcrossWrappedRows) {
  editor_->SetWordWrap(true);
  editor_->WrapOption().SetWrapByte(20);
  editor_->Lines().SetTextStr(Sjis("abcdefghijklmnopqrstuvwxy\r\nカタカナ"));
  ASSERT_EQ(editor_->RowCount(), 3);  // the first line takes two rows
  int start = 0;
  int end = 0;
  EXPECT_EQ(text_->textAtOffset(22, QAccessible::LineBoundary, &start, &end),
            QString("abcdefghijklmnopqrstuvwxy"));
  EXPECT_EQ(start, 0);
  EXPECT_EQ(end, 25);
  EXPECT_EQ(text_->characterCount(), 31);
  EXPECT_EQ(text_->text(19, 28), QString::fromUtf8("tuvwxy\nカタ"));
  editor_->SetRowCol(1, 2);
  EXPECT_EQ(text_->cursorPosition(), 22);
}

TEST_F(AccessibleEditor, CharacterRectanglesOnTheScreen) {
  const QRect a = text_->characterRect(0);
  const QRect b = text_->characterRect(1);
  const QRect ka = text_->characterRect(8);
  ASSERT_TRUE(a.isValid());
  EXPECT_EQ(b.left(), a.right() + 1);
  EXPECT_EQ(ka.width(), 2 * a.width());  // a double-byte character takes two cells
  EXPECT_EQ(ka.left(), a.left());
  EXPECT_GT(ka.top(), a.bottom());
  const QPoint origin = platform::ClientWidget(*editor_)->mapToGlobal(QPoint(0, 0));
  EXPECT_GE(a.left(), origin.x());
  for (int offset : {0, 3, 8, 9, 13, 14}) {
    const QRect r = text_->characterRect(offset);
    EXPECT_EQ(text_->offsetAtPoint(r.center()), offset) << offset;
  }
  EXPECT_FALSE(text_->characterRect(16).isValid());
  EXPECT_EQ(text_->offsetAtPoint(origin + QPoint(-5, -5)), -1);
}

TEST_F(AccessibleEditor, EventsForCaretSelectionAndEdits) {
  Listen();
  editor_->SetRowCol(1, 4);
  ASSERT_FALSE(events_.empty());
  EXPECT_EQ(events_.back().type, QAccessible::TextCaretMoved);
  EXPECT_EQ(events_.back().a, 10);

  events_.clear();
  editor_->InsertText(Sjis("語"));
  bool inserted = false;
  for (const Recorded& r : events_)
    if (r.type == QAccessible::TextInserted) {
      inserted = true;
      EXPECT_EQ(r.a, 10);
      EXPECT_EQ(r.inserted, QString::fromUtf8("語"));
    }
  EXPECT_TRUE(inserted);
  EXPECT_EQ(events_.back().type, QAccessible::TextCaretMoved);
  EXPECT_EQ(events_.back().a, 11);

  events_.clear();
  text_->setSelection(0, 1, 3);
  bool selected = false;
  for (const Recorded& r : events_)
    if (r.type == QAccessible::TextSelectionChanged && r.a == 1 && r.b == 3) selected = true;
  EXPECT_TRUE(selected);

  events_.clear();
  editor_->DeleteSelection();
  bool removed = false;
  for (const Recorded& r : events_)
    if (r.type == QAccessible::TextRemoved) {
      removed = true;
      EXPECT_EQ(r.a, 1);
      EXPECT_EQ(r.removed, QString("bc"));
    }
  EXPECT_TRUE(removed);

  events_.clear();
  editor_->Undo();
  bool undone = false;
  for (const Recorded& r : events_)
    if (r.type == QAccessible::TextInserted && r.a == 1 && r.inserted == "bc") undone = true;
  EXPECT_TRUE(undone);
}

TEST_F(AccessibleEditor, ALogLineAddedIsOneInsertion) {
  editor_->SetReadOnly(true);
  Listen();
  editor_->Lines().Add(Sjis("最後の行"));
  std::vector<Recorded> changes;
  for (const Recorded& r : events_)
    if (r.type == QAccessible::TextInserted || r.type == QAccessible::TextRemoved ||
        r.type == QAccessible::TextUpdated)
      changes.push_back(r);
  ASSERT_EQ(changes.size(), 1u);
  EXPECT_EQ(changes[0].type, QAccessible::TextInserted);
  // The last line's break and the new line: it ends where the new last
  // line ends, before the text's final break.
  EXPECT_EQ(changes[0].a, 15);
  EXPECT_EQ(changes[0].inserted, QString::fromUtf8("\n最後の行"));
  EXPECT_EQ(text_->characterCount(), 21);
  EXPECT_EQ(text_->text(15, 20), QString::fromUtf8("\n最後の行"));
}

TEST_F(AccessibleEditor, NoEventsWhileNobodyListens) {
  // Without a listener (and offscreen, where no assistive tool can listen)
  // the control reports nothing: what it costs is one test.
  ASSERT_FALSE(QAccessible::isActive());
  EXPECT_FALSE(platform::TCustomControl::AccessibilityActive());
  events_.clear();
  g_events = &events_;
  editor_->SetRowCol(1, 2);
  editor_->InsertText("z");
  EXPECT_TRUE(events_.empty());
}

TEST_F(AccessibleEditor, EditingThroughTheInterface) {
  QAccessibleEditableTextInterface* edit = iface_->editableTextInterface();
  ASSERT_NE(edit, nullptr);
  edit->insertText(8, QString::fromUtf8("日"));
  EXPECT_EQ(editor_->Lines()[1], Sjis("日カタカナ 語x"));
  edit->replaceText(0, 3, QString::fromUtf8("新しい"));
  EXPECT_EQ(editor_->Lines()[0], Sjis("新しい def"));
  edit->deleteText(3, 7);
  EXPECT_EQ(editor_->Lines()[0], Sjis("新しい"));
  // A character without a Shift-JIS form is refused, as typing refuses it.
  edit->insertText(0, QString::fromUtf8("é"));
  EXPECT_EQ(editor_->Lines()[0], Sjis("新しい"));
  editor_->SetReadOnly(true);
  EXPECT_EQ(iface_->editableTextInterface(), nullptr);
}

}  // namespace
}  // namespace editor
