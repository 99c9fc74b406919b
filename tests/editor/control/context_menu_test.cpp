// The editor's context menu on the real control: its items, the states they
// take from the editor each time the menu opens, what each one does, and
// where the menu appears.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QGuiApplication>
#include <QMenu>
#include <QTest>

#include <functional>
#include <string>

#include "editor/control/editor_popup_menu.h"
#include "platform/qt/control_widget.h"
#include "tests/editor/control/selection_fixture.h"

namespace editor::testing {
namespace {

using namespace platform;

std::string AllText(const TEditor& editor) {
  return editor.ScreenStrings().GetRowsText(0, editor.ScreenStrings().GetCount());
}

// The enabled state of every item but the separators, in menu order: "1"
// enabled, "0" disabled, then the check mark of the box switch.
std::string States(const TPopupMenu& menu) {
  std::string s;
  for (int i = 0; i < menu.Count(); ++i)
    if (!menu.Items(i).IsSeparator()) s += menu.Items(i).Enabled() ? '1' : '0';
  return s + (menu.Items(menu.Count() - 1).Checked() ? "+" : "-");
}

// Opens the menu at a screen point and closes it again, as a user who looks
// and presses Esc.
void OpenAndClose(TEditor& editor) {
  editor.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(10, 10));
  ASSERT_TRUE(editor.PopupMenu().IsOpen());
  editor.PopupMenu().Close();
}

TEST(ContextMenu, ItemsInOrderWithTheirShortcutsAllButTheSwitchDisabledAtFirst) {
  EditorInWindow w;
  const TPopupMenu& menu = w.editor.PopupMenu();
  const char* const captions[][2] = {{"元に戻す(&U)", "Ctrl+Z"},
                                     {"やり直し(&R)", "Ctrl+A"},
                                     {"-", ""},
                                     {"切り取り(&T)", "Ctrl+X"},
                                     {"コピー(&C)", "Ctrl+C"},
                                     {"貼り付け(&P)", "Ctrl+V"},
                                     {"Box貼り付け(&B)", "Ctrl+B"},
                                     {"削除(&D)", ""},
                                     {"-", ""},
                                     {"すべて選択(&A)", ""},
                                     {"-", ""},
                                     {"Box選択モード(&K)", "Ctrl+K"}};
  ASSERT_EQ(menu.Count(), 12);
  for (int i = 0; i < 12; ++i) {
    EXPECT_EQ(menu.Items(i).Caption(), Sjis(captions[i][0])) << i;
    EXPECT_EQ(menu.Items(i).ShortCut(), captions[i][1]) << i;
  }
  EXPECT_EQ(States(menu), "000000001-");
}

struct StateCase {
  const char* name;
  const char* text;
  std::function<void(EditorInWindow&)> setup;
  const char* clipboard;  // nullptr: nothing on the clipboard
  const char* expected;   // undo redo cut copy paste boxpaste delete selectall box, check
};

class MenuStates : public ::testing::TestWithParam<StateCase> {};

TEST_P(MenuStates, FollowTheEditorWhenTheMenuOpens) {
  const StateCase& c = GetParam();
  EditorInWindow w;
  w.SetText(Sjis(c.text));
  w.editor.Perform(EM_EMPTYUNDOBUFFER);
  c.setup(w);
  QClipboard* clipboard = QGuiApplication::clipboard();
  if (c.clipboard)
    clipboard->setText(QString::fromUtf8(c.clipboard));
  else
    clipboard->clear();
  OpenAndClose(w.editor);
  EXPECT_EQ(States(w.editor.PopupMenu()), c.expected);
}

auto Nothing = [](EditorInWindow&) {};
auto Selection = [](EditorInWindow& w) { w.Select(0, 0, 0, 2); };
auto Edited = [](EditorInWindow& w) {
  w.editor.InsertText("z");
  w.Select(0, 0, 0, 2);
};

INSTANTIATE_TEST_SUITE_P(
    Situations, MenuStates,
    ::testing::Values(StateCase{"NothingSelectedNothingToUndo", "abc", Nothing, nullptr,
                                "000000011-"},
                      StateCase{"SelectionUndoAndClipboardText", "abc", Edited, "q", "101111111-"},
                      StateCase{"ClipboardWithEmptyText", "abc", Nothing, "", "000011011-"},
                      StateCase{"UndoneEditCanBeRedone", "abc",
                                [](EditorInWindow& w) {
                                  w.editor.InsertText("z");
                                  w.editor.Undo();
                                },
                                nullptr, "010000011-"},
                      StateCase{"ReadOnlyWithSelectionOnlyCopiesAndSelects", "abc",
                                [](EditorInWindow& w) {
                                  Edited(w);
                                  w.editor.SetReadOnly(true);
                                },
                                "q", "000100011-"},
                      StateCase{"EmptyTextHasNothingToSelect", "", Nothing, "q", "000011001-"},
                      StateCase{"BoxModeIsChecked", "abc",
                                [](EditorInWindow& w) { w.editor.SetSelectionMode(smBox); },
                                nullptr, "000000011+"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ContextMenu, EachItemDoesItsWork) {
  EditorInWindow w;
  w.SetText("abc\r\ndef\r\nxyz");
  TEditorPopupMenu& menu = w.editor.PopupMenu();
  QClipboard* clipboard = QGuiApplication::clipboard();
  auto click = [&](TMenuItem* item) {
    OpenAndClose(w.editor);
    item->Click();
  };

  w.Select(0, 0, 0, 2);
  click(menu.CopyItem());
  EXPECT_EQ(clipboard->text(), "ab");
  click(menu.CutItem());
  EXPECT_EQ(AllText(w.editor), "c\r\ndef\r\nxyz");
  click(menu.UndoItem());
  EXPECT_EQ(AllText(w.editor), "abc\r\ndef\r\nxyz");
  click(menu.RedoItem());
  EXPECT_EQ(AllText(w.editor), "c\r\ndef\r\nxyz");

  w.editor.SetRowCol(1, 1);
  click(menu.PasteItem());
  EXPECT_EQ(AllText(w.editor), "c\r\ndabef\r\nxyz");
  clipboard->setText("1\n2");
  w.editor.SetRowCol(0, 1);
  click(menu.BoxPasteItem());
  EXPECT_EQ(AllText(w.editor), "c1\r\nd2abef\r\nxyz");

  w.Select(1, 0, 1, 3);
  click(menu.DeleteItem());
  EXPECT_EQ(AllText(w.editor), "c1\r\nbef\r\nxyz");
  click(menu.SelectAllItem());
  EXPECT_EQ(w.editor.GetSelText(), "c1\r\nbef\r\nxyz");

  // The switch toggles the mode; the mark shows the mode at each opening.
  click(menu.BoxSelectModeItem());
  EXPECT_EQ(w.editor.SelectionMode(), smBox);
  OpenAndClose(w.editor);
  EXPECT_TRUE(menu.BoxSelectModeItem()->Checked());
  menu.BoxSelectModeItem()->Click();
  EXPECT_EQ(w.editor.SelectionMode(), smStream);
  w.editor.SetSelectionMode(smBox);
  OpenAndClose(w.editor);
  EXPECT_TRUE(menu.BoxSelectModeItem()->Checked());
}

TEST(ContextMenu, DisabledItemDoesNothing) {
  EditorInWindow w;
  w.SetText("abc");
  w.editor.SetReadOnly(true);
  w.Select(0, 0, 0, 2);
  OpenAndClose(w.editor);
  w.editor.PopupMenu().CutItem()->Click();
  w.editor.PopupMenu().DeleteItem()->Click();
  EXPECT_EQ(AllText(w.editor), "abc");
}

TEST(ContextMenu, ShortcutsActFromTheKeyboardExactlyWhenTheirItemCould) {
  EditorInWindow w;
  w.SetText("abc");
  QWidget* client = platform::ClientWidget(w.editor);
  QClipboard* clipboard = QGuiApplication::clipboard();
  auto ctrl = [&](char key) { QTest::keyClick(client, key, Qt::ControlModifier); };

  // Never opened, the menu still answers: its states are taken at the key.
  w.Select(0, 0, 0, 2);
  ctrl('c');
  EXPECT_EQ(clipboard->text(), "ab");
  ctrl('x');
  EXPECT_EQ(AllText(w.editor), "c");
  ctrl('z');  // one undo step, not two
  EXPECT_EQ(AllText(w.editor), "abc");
  ctrl('a');  // redo
  EXPECT_EQ(AllText(w.editor), "c");
  w.editor.SetRowCol(0, 1);
  ctrl('v');
  EXPECT_EQ(AllText(w.editor), "cab");
  ctrl('k');
  EXPECT_EQ(w.editor.SelectionMode(), smBox);

  // Read-only: cutting and pasting are not possible, so their keys do nothing.
  w.editor.SetSelectionMode(smStream);
  w.editor.SetReadOnly(true);
  w.Select(0, 0, 0, 1);
  ctrl('x');
  ctrl('v');
  EXPECT_EQ(AllText(w.editor), "cab");
}

QMenu* OpenQMenu() {
  return qobject_cast<QMenu*>(QApplication::activePopupWidget());
}

TEST(ContextMenu, OpensAtThePointerOrBelowTheCaretAndActsOnAChoice) {
  EditorInWindow w;
  w.SetText("abc");
  const TPoint pointer = w.editor.ClientToScreen({30, 20});
  w.editor.Perform(WM_CONTEXTMENU, 0, MAKELPARAM(pointer.X, pointer.Y));
  QMenu* menu = OpenQMenu();
  ASSERT_NE(menu, nullptr);
  EXPECT_EQ(menu->pos(), QPoint(pointer.X, pointer.Y));
  QStringList texts;
  for (QAction* a : menu->actions())
    if (!a->isSeparator()) texts << a->text();
  EXPECT_EQ(texts.first(), QString::fromUtf8("元に戻す(&U)"));
  EXPECT_EQ(texts.last(), QString::fromUtf8("Box選択モード(&K)"));

  // From the keyboard: below the caret's cell.
  w.editor.SetRowCol(0, 2);
  w.editor.Perform(WM_CONTEXTMENU, 0, -1);
  menu = OpenQMenu();
  ASSERT_NE(menu, nullptr);
  const TPoint below = w.editor.ClientToScreen({w.editor.Margin().Left() + 2 * w.editor.CharWidth(),
                                                w.editor.Margin().Top() + w.editor.RowHeight()});
  EXPECT_EQ(menu->pos(), QPoint(below.X, below.Y));

  // Choosing select all in the menu's window selects everything.
  QAction* select_all = nullptr;
  for (QAction* a : menu->actions())
    if (a->text() == QString::fromUtf8("すべて選択(&A)")) select_all = a;
  ASSERT_NE(select_all, nullptr);
  ASSERT_TRUE(select_all->isEnabled());
  select_all->trigger();
  EXPECT_EQ(w.editor.GetSelText(), "abc");
  w.editor.PopupMenu().Close();
  EXPECT_FALSE(w.editor.PopupMenu().IsOpen());
}

}  // namespace
}  // namespace editor::testing
