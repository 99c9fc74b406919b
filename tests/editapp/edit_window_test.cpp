// The editor program's window with the real control: files opened, edited
// through the control's own keys, input method and clipboard, and saved byte
// for byte; the questions before changes are lost, answered each way; the
// menus and the status line.
#include "editapp/window/edit_window.h"

#include <gtest/gtest.h>
#include <sys/resource.h>

#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QDropEvent>
#include <QInputMethodEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QTest>
#include <QTimer>
#include <csignal>
#include <deque>
#include <string>

#include "editor/control/editor.h"
#include "platform/cp932.h"
#include "platform/qt/control_widget.h"
#include "tests/support/files.h"

namespace editapp {
namespace {

using test_support::ReadFile;
using test_support::TempDir;
using test_support::WriteFile;

QApplication& App() {
  static int argc = 1;
  static char name[] = "editapp_edit_window_test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = new QApplication(argc, argv);
  return *app;
}

// Answers the window's questions as the test says and notes what was asked.
struct ScriptedPrompts : EditPrompts {
  std::deque<TSaveChoice> save_answers;
  std::deque<TAfterMarkChoice> mark_answers;
  std::deque<std::optional<QString>> file_answers;
  std::deque<std::optional<QString>> find_answers;
  std::deque<std::optional<int>> number_answers;
  QStringList asked;  // every question, warning and error, in order

  template <class T>
  static T Next(std::deque<T>& answers) {
    if (answers.empty()) throw std::logic_error("an unexpected question");
    T answer = answers.front();
    answers.pop_front();
    return answer;
  }
  TSaveChoice AskSaveChanges(QWidget*, const QString& name) override {
    asked << "save? " + name;
    return Next(save_answers);
  }
  TAfterMarkChoice AskAfterMark(QWidget*, const QString& name, qint64 bytes) override {
    asked << QStringLiteral("mark? %1 %2").arg(name).arg(bytes);
    return Next(mark_answers);
  }
  std::optional<QString> ChooseFileToOpen(QWidget*, const QString&) override {
    asked << "open file";
    return Next(file_answers);
  }
  std::optional<QString> ChooseFileToSave(QWidget*, const QString& suggested) override {
    asked << "save file " + suggested;
    return Next(file_answers);
  }
  std::optional<QString> AskFindText(QWidget*, const QString&) override {
    asked << "find";
    return Next(find_answers);
  }
  std::optional<int> AskNumber(QWidget*, const QString& title, const QString&, int, int,
                               int) override {
    asked << "number " + title;
    return Next(number_answers);
  }
  void ShowWarning(QWidget*, const QString& text) override { asked << "warning " + text; }
  void ShowError(QWidget*, const QString& text) override { asked << "error " + text; }
};

class EditWindowTest : public ::testing::Test {
 protected:
  EditWindowTest() {
    App();
    auto scripted = std::make_unique<ScriptedPrompts>();
    prompts = scripted.get();
    window = std::make_unique<EditWindow>(std::move(scripted));
    window->show();
    (void)QTest::qWaitForWindowExposed(window.get());
    QApplication::setActiveWindow(window.get());
    (void)QTest::qWaitForWindowActive(window.get());
    window->Editor().SetFocus();
  }

  std::string File(const char* name, const std::string& bytes) {
    const std::string path = (dir.path() / name).string();
    WriteFile(path, bytes);
    return path;
  }

  QWidget* Client() const { return platform::ClientWidget(window->Editor()); }
  void Key(Qt::Key key, Qt::KeyboardModifiers mods = Qt::NoModifier) {
    QTest::keyClick(Client(), key, mods);
  }
  void Type(const char* ascii) { QTest::keyClicks(Client(), QString::fromLatin1(ascii)); }
  void Commit(const char* utf8) {
    QInputMethodEvent event;
    event.setCommitString(QString::fromUtf8(utf8));
    QApplication::sendEvent(Client(), &event);
    QApplication::processEvents();
  }
  // Presses a shortcut as the user does: to the window, which gives it to
  // the menu action that has it.
  void Shortcut(const QKeySequence& keys) {
    QTest::keySequence(window.get(), keys);
    QApplication::processEvents();
  }

  // The item of a menu (or of one of its submenus) whose text starts with
  // `prefix`, with the menus brought up to date as opening them does.
  QAction* MenuAction(const QString& menu_title, const QString& prefix) {
    for (QAction* top : window->menuBar()->actions()) {
      if (!top->text().startsWith(menu_title)) continue;
      if (QAction* a = Find(top->menu(), prefix)) return a;
    }
    ADD_FAILURE() << "no item " << prefix.toStdString();
    return nullptr;
  }
  static QAction* Find(QMenu* menu, const QString& prefix) {
    emit menu->aboutToShow();
    for (QAction* a : menu->actions()) {
      if (a->text().startsWith(prefix)) return a;
      if (a->menu())
        if (QAction* found = Find(a->menu(), prefix)) return found;
    }
    return nullptr;
  }

  TempDir dir;
  ScriptedPrompts* prompts = nullptr;
  std::unique_ptr<EditWindow> window;
};

TEST_F(EditWindowTest, AFileOpenedAndSavedUnchangedIsTheSame) {
  // One file with every kind of odd byte; the table of every line-break
  // form and end case runs on the document below the window.
  static const char kOdd[] =
      "CR LF\r\n\0NUL\r\n\x80\xA0\xFD\xFE\xFF\r\n\x87\x90\xED\x40\xFA\x5C\r\nlead\x82";
  const std::string bytes(kOdd, sizeof kOdd - 1);
  const std::string path = File("odd.txt", bytes);
  ASSERT_TRUE(window->OpenFile(path));
  EXPECT_FALSE(window->Editor().Modified());
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), bytes);

  // Wrapped on screen, the same bytes go out.
  MenuAction("表示", "右端で折り返す")->trigger();
  ASSERT_TRUE(window->Editor().WordWrap());
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), bytes);
  EXPECT_TRUE(prompts->asked.isEmpty()) << prompts->asked.join("; ").toStdString();
}

TEST_F(EditWindowTest, KeysInputMethodAndClipboardEditsAreSavedInTheFilesForm) {
  const std::string path = File("lf.txt", "abc\ndef\n");
  ASSERT_TRUE(window->OpenFile(path));
  Key(Qt::Key_End);
  Type("X");
  Key(Qt::Key_Return);
  Commit("漢字");
  // The first line with its break, copied and pasted at the end of the text.
  Key(Qt::Key_Home, Qt::ControlModifier);
  Key(Qt::Key_Down, Qt::ShiftModifier);
  Key(Qt::Key_C, Qt::ControlModifier);
  Key(Qt::Key_End, Qt::ControlModifier);
  Key(Qt::Key_V, Qt::ControlModifier);
  EXPECT_TRUE(window->Editor().Modified());
  EXPECT_TRUE(window->isWindowModified());
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), "abcX\n" + *platform::Utf8ToCp932("漢字") + "\ndef\nabcX\n");
  EXPECT_FALSE(window->isWindowModified());

  // Undo through the control's own key, and save again.
  Key(Qt::Key_Z, Qt::ControlModifier);
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), "abcX\n" + *platform::Utf8ToCp932("漢字") + "\ndef\n");
}

TEST_F(EditWindowTest, UndoingBackToTheSavedTextClearsTheChangedMark) {
  const std::string path = File("undo.txt", "abc\n");
  ASSERT_TRUE(window->OpenFile(path));
  const auto undo = [&] { MenuAction("編集", "元に戻す")->trigger(); };
  const auto redo = [&] { MenuAction("編集", "やり直し")->trigger(); };
  const auto marked = [&] { return window->isWindowModified(); };

  Key(Qt::Key_End);
  Type("X");
  EXPECT_TRUE(marked());
  undo();
  EXPECT_FALSE(marked());
  EXPECT_FALSE(window->Editor().Modified());
  redo();
  EXPECT_TRUE(marked());

  // Saved after the edit: that is the point to come back to, from either side.
  ASSERT_TRUE(window->Save());
  EXPECT_FALSE(marked());
  Type("Y");
  EXPECT_TRUE(marked());
  undo();
  EXPECT_FALSE(marked());
  undo();
  EXPECT_TRUE(marked());
  redo();
  EXPECT_FALSE(marked());

  // Undone below the saved point and edited anew: the saved text cannot be
  // reached any more, whatever the depth of the history.
  undo();
  Type("Z");
  EXPECT_TRUE(marked());
  undo();
  EXPECT_TRUE(marked());  // back at "abc", not at the saved "abcX"
  Type("X");
  EXPECT_TRUE(marked());

  // Re-wrapping clears the history but not the text: an unchanged text stays
  // unmarked, and an edit after it is undone back to unmarked.
  ASSERT_TRUE(window->Save());
  MenuAction("表示", "右端で折り返す")->trigger();
  EXPECT_FALSE(marked());
  Type("W");
  undo();
  EXPECT_FALSE(marked());
}

TEST_F(EditWindowTest, TitleAndStatusLine) {
  const std::string path = File("mixed.txt", "a\r\nb\nc\r\n");
  ASSERT_TRUE(window->OpenFile(path));
  EXPECT_EQ(window->windowTitle(), QStringLiteral("mixed.txt[*] - Pirukko Edit"));
  EXPECT_FALSE(window->isWindowModified());
  EXPECT_EQ(window->StatusText(), QStringLiteral(" | 1 行, 1 桁 | 通常選択 | 挿入 | CR+LF (混在)"));

  Key(Qt::Key_Down);
  Key(Qt::Key_End);
  Key(Qt::Key_K, Qt::ControlModifier);  // the control's box-mode switch
  MenuAction("編集", "上書きモード")->trigger();
  EXPECT_EQ(window->StatusText(),
            QStringLiteral(" | 2 行, 2 桁 | Box選択 | 上書き | CR+LF (混在)"));
  Type("Z");  // overwrites nothing at the end of the line: appends
  EXPECT_TRUE(window->isWindowModified());

  // Saved in the first line's form; the status line no longer says mixed.
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), "a\r\nbZ\r\nc\r\n");
  EXPECT_TRUE(window->StatusText().endsWith(QStringLiteral("| CR+LF")));
}

// A dialog hands the keyboard back as it closes: the window is the active
// one again and the text has the focus at once, before a chosen file loads,
// so that typing right after it goes through the input method instead of
// reaching a window the desktop has yet to focus.
TEST_F(EditWindowTest, TheKeyboardIsBackInTheTextAsADialogCloses) {
  DialogPrompts dialogs;
  QWidget* closed_at = nullptr;
  QTimer::singleShot(100, [&] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      closed_at = dialog;
      dialog->close();
    }
  });
  EXPECT_EQ(dialogs.ChooseFileToOpen(window.get(), QString::fromStdString(dir.path().string())),
            std::nullopt);
  ASSERT_NE(closed_at, nullptr);
  QApplication::processEvents();
  EXPECT_EQ(QApplication::activeWindow(), window.get());
  EXPECT_EQ(QApplication::focusWidget(), Client());
  EXPECT_TRUE(Client()->testAttribute(Qt::WA_InputMethodEnabled));
  EXPECT_TRUE(Client()->inputMethodQuery(Qt::ImEnabled).toBool());
}

// A screen reader names the text after its file, as the title does.
TEST_F(EditWindowTest, TheTextIsNamedAfterItsFile) {
  QAccessibleInterface* text = QAccessible::queryAccessibleInterface(Client());
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->text(QAccessible::Name), window->DisplayName());
  EXPECT_FALSE(text->text(QAccessible::Name).isEmpty());
  ASSERT_TRUE(window->OpenFile(File("名前.txt", "a\r\n")));
  EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("名前.txt"));
}

TEST_F(EditWindowTest, TheUnsavedChangesQuestionAnsweredEachWay) {
  const std::string first = File("first.txt", "one\n");
  const std::string second = File("second.txt", "two\n");
  ASSERT_TRUE(window->OpenFile(first));
  Type("x");

  // Cancel: nothing opened, nothing saved, the change still there.
  prompts->save_answers = {TSaveChoice::Cancel};
  EXPECT_FALSE(window->OpenFile(second));
  EXPECT_EQ(window->Document().Path(), first);
  EXPECT_TRUE(window->Editor().Modified());
  EXPECT_EQ(ReadFile(first), "one\n");

  // Closing asks too; cancelled, the window stays.
  prompts->save_answers = {TSaveChoice::Cancel};
  EXPECT_FALSE(window->close());
  EXPECT_TRUE(window->isVisible());

  // Don't save: the other file opens, the first is untouched.
  prompts->save_answers = {TSaveChoice::Discard};
  EXPECT_TRUE(window->OpenFile(second));
  EXPECT_EQ(ReadFile(first), "one\n");
  EXPECT_EQ(window->Document().Path(), second);

  // Save: written, then the window closes.
  Type("y");
  prompts->save_answers = {TSaveChoice::Save};
  EXPECT_TRUE(window->close());
  EXPECT_EQ(ReadFile(second), "ytwo\n");
  EXPECT_EQ(prompts->asked, QStringList({"save? first.txt", "save? first.txt", "save? first.txt",
                                         "save? second.txt"}));
}

// Drops `urls` on the window as a file manager does; true when it took them.
bool Drop(QWidget* window, const QList<QUrl>& urls) {
  QMimeData data;
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &enter);
  QDropEvent drop(QPointF(100, 100), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(window, &drop);
  EXPECT_EQ(enter.isAccepted(), drop.isAccepted());
  QApplication::processEvents();
  return drop.isAccepted();
}

TEST_F(EditWindowTest, ADroppedFileOpensAfterTheUnsavedChangesQuestion) {
  const std::string first = File("first.txt", "one\n");
  const std::string second = File("second.txt", "two\n");
  ASSERT_TRUE(window->OpenFile(first));
  Type("x");
  const QUrl dropped = QUrl::fromLocalFile(QString::fromStdString(second));
  prompts->save_answers = {TSaveChoice::Cancel};
  EXPECT_TRUE(Drop(window.get(), {dropped}));
  EXPECT_EQ(window->Document().Path(), first);
  prompts->save_answers = {TSaveChoice::Discard};
  EXPECT_TRUE(Drop(window.get(), {dropped}));
  EXPECT_EQ(window->Document().Path(), second);
  EXPECT_EQ(prompts->asked, QStringList({"save? first.txt", "save? first.txt"}));
  // A folder, a web address and a file that is gone are refused unasked.
  for (const QUrl& other : {QUrl::fromLocalFile(QString::fromStdString(dir.path().string())),
                            QUrl("https://example.org/a.txt"),
                            QUrl::fromLocalFile(QString::fromStdString(second) + ".gone")}) {
    EXPECT_FALSE(Drop(window.get(), {other})) << other.toString().toStdString();
  }
  EXPECT_EQ(window->Document().Path(), second);
  EXPECT_EQ(prompts->asked.size(), 2);
}

TEST_F(EditWindowTest, ANewTextIsSavedUnderAChosenNameAndAskedForOnClosing) {
  Type("hello");
  Key(Qt::Key_Return);
  const std::string path = (dir.path() / "new.txt").string();
  // Saving a new text asks for its name; cancelled, the question before
  // closing is cancelled too and the window stays.
  prompts->save_answers = {TSaveChoice::Save};
  prompts->file_answers = {std::nullopt};
  EXPECT_FALSE(window->close());
  EXPECT_FALSE(std::filesystem::exists(path));

  prompts->file_answers = {QString::fromStdString(path)};
  Shortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
  EXPECT_EQ(ReadFile(path), "hello\r\n");  // a new text ends its lines with CR LF
  EXPECT_EQ(window->DisplayName(), QStringLiteral("new.txt"));
  EXPECT_TRUE(window->close());
}

TEST_F(EditWindowTest, TheEndMarkIsWarnedAboutAndItsRestKeptOrDroppedOnlyWhenAsked) {
  const std::string bytes =
      "a\r\nb\x1A"
      "rest\r\n";
  const std::string path = File("mark.txt", bytes);
  ASSERT_TRUE(window->OpenFile(path));
  ASSERT_EQ(prompts->asked.size(), 1);
  EXPECT_TRUE(
      prompts->asked[0].startsWith(QStringLiteral("warning 「mark.txt」には終端記号 (0x1A)")));
  EXPECT_TRUE(window->StatusText().startsWith(
      QStringLiteral("終端記号 (0x1A) から後ろの 7 バイトは表示していません")));
  EXPECT_EQ(window->Editor().Lines().GetTextStr(), "a\r\nb");

  // Cancelled: nothing written.
  prompts->mark_answers = {TAfterMarkChoice::Cancel};
  Type("x");
  EXPECT_FALSE(window->Save());
  EXPECT_EQ(ReadFile(path), bytes);
  EXPECT_TRUE(window->Editor().Modified());

  // Kept: the rest follows the text unchanged; asked once for the file.
  prompts->mark_answers = {TAfterMarkChoice::Keep};
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path),
            "xa\r\nb\x1A"
            "rest\r\n");
  Type("y");
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path),
            "xya\r\nb\x1A"
            "rest\r\n");

  // Opened again, dropped: the file ends with the text.
  prompts->asked.clear();
  ASSERT_TRUE(window->OpenFile(path));
  prompts->mark_answers = {TAfterMarkChoice::Drop};
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), "xya\r\nb");
  EXPECT_TRUE(window->Save());  // nothing left to ask about
  EXPECT_EQ(prompts->asked.size(), 2);
  EXPECT_FALSE(window->StatusText().contains(QStringLiteral("0x1A")));
}

TEST_F(EditWindowTest, FailuresAreShownAndLoseNothing) {
  const std::string path = File("kept.txt", "kept\n");
  ASSERT_TRUE(window->OpenFile(path));
  Type("edit ");

  // Opening a folder or a missing file: a message, and the text stays.
  prompts->save_answers = {TSaveChoice::Discard, TSaveChoice::Discard};
  const std::string missing = (dir.path() / "missing.txt").string();
  EXPECT_FALSE(window->OpenFile(dir.path().string()));
  EXPECT_FALSE(window->OpenFile(missing));
  EXPECT_EQ(prompts->asked,
            QStringList({"save? kept.txt",
                         QStringLiteral("error 「%1」を開けません。\nフォルダーです。")
                             .arg(QString::fromStdString(dir.path().string())),
                         "save? kept.txt",
                         QStringLiteral(
                             "error 「%1」を開けません。\nファイルまたはフォルダーがありません。")
                             .arg(QString::fromStdString(missing))}));
  EXPECT_EQ(window->Editor().Lines().GetTextStr(), "edit kept\r\n");
  EXPECT_EQ(window->Document().Path(), path);
  EXPECT_TRUE(window->Editor().Modified());

  // A save that fails half way (a file-size limit stands in for a full
  // disk): a message, the old file whole, the text still unsaved.
  std::string big(200 * 1024, 'x');
  window->Editor().Lines().Add(big);
  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  const bool saved_ok = window->Save();
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_FALSE(saved_ok);
  EXPECT_EQ(ReadFile(path), "kept\n");
  EXPECT_TRUE(window->Editor().Modified());
  ASSERT_FALSE(prompts->asked.isEmpty());
  EXPECT_EQ(prompts->asked.back(),
            QStringLiteral("error 「%1」に保存できません。\nファイルが大きすぎます。\n"
                           "元のファイルはそのままです。")
                .arg(QString::fromStdString(path)));
}

TEST_F(EditWindowTest, FindForwardAndBackwardAndGoToLine) {
  const std::string path = File("find.txt", "alpha\nBeta\nalphabet\n");
  ASSERT_TRUE(window->OpenFile(path));
  editor::TEditor& editor = window->Editor();
  prompts->find_answers = {QStringLiteral("ALPHA")};
  Shortcut(QKeySequence(Qt::CTRL | Qt::Key_F));
  EXPECT_EQ(editor.GetSelStart(), 0);
  EXPECT_EQ(editor.GetSelText(), "alpha");
  Shortcut(QKeySequence(Qt::Key_F3));
  EXPECT_EQ(editor.GetSelStart(), 13);  // each line break counts two
  EXPECT_EQ(editor.Row(), 2);
  Shortcut(QKeySequence(Qt::Key_F3));  // no further one: the selection stays
  EXPECT_EQ(editor.GetSelStart(), 13);
  Shortcut(QKeySequence(Qt::SHIFT | Qt::Key_F3));
  EXPECT_EQ(editor.GetSelStart(), 0);

  prompts->number_answers = {2};
  Shortcut(QKeySequence(Qt::CTRL | Qt::Key_G));
  EXPECT_FALSE(editor.Selected());
  EXPECT_EQ(editor.Row(), 1);
  EXPECT_EQ(editor.Col(), 0);
  EXPECT_EQ(prompts->asked, QStringList({"find", "number 行へ移動"}));
}

TEST_F(EditWindowTest, EditMenuIsTheControlsOwnAndViewMenuWraps) {
  const std::string path = File("menu.txt", "abc\n");
  ASSERT_TRUE(window->OpenFile(path));
  EXPECT_FALSE(MenuAction("編集", "元に戻す")->isEnabled());
  EXPECT_FALSE(MenuAction("編集", "コピー")->isEnabled());
  EXPECT_EQ(MenuAction("編集", "やり直し")->text(), QStringLiteral("やり直し(&R)\tCtrl+A"));
  MenuAction("編集", "すべて選択")->trigger();
  ASSERT_TRUE(MenuAction("編集", "コピー")->isEnabled());
  MenuAction("編集", "コピー")->trigger();
  EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("abc\n"));
  MenuAction("編集", "Box選択モード")->trigger();
  EXPECT_EQ(window->Editor().SelectionMode(), editor::smBox);
  EXPECT_TRUE(MenuAction("編集", "Box選択モード")->isChecked());

  MenuAction("表示", "右端で折り返す")->trigger();
  EXPECT_TRUE(window->Editor().WordWrap());
  MenuAction("表示", "禁則処理")->trigger();
  MenuAction("表示", "英単語の途中で折り返さない")->trigger();
  EXPECT_TRUE(window->Editor().WrapOption().Leading());
  EXPECT_TRUE(window->Editor().WrapOption().WordBreak());
  EXPECT_TRUE(MenuAction("表示", "禁則処理")->isChecked());
  prompts->number_answers = {20};
  MenuAction("表示", "折り返し桁数")->trigger();
  EXPECT_EQ(window->Editor().WrapOption().WrapByte(), 20);
}

TEST_F(EditWindowTest, ANameOnTheCommandLineThatIsNoFileYetIsCreatedOnSaving) {
  const std::string path = (dir.path() / "later.txt").string();
  window->Start(path);
  EXPECT_EQ(window->DisplayName(), QStringLiteral("later.txt"));
  EXPECT_FALSE(std::filesystem::exists(path));
  Type("new");
  EXPECT_TRUE(window->Save());
  EXPECT_EQ(ReadFile(path), "new");
  EXPECT_TRUE(prompts->asked.isEmpty());
}

}  // namespace
}  // namespace editapp
