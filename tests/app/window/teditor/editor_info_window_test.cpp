// Editor1 on the real editor control inside the real window: the layout's
// settings and first line, the last line kept in view, the splitter limit,
// and the about text's addresses found, hinted and opened.
#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include "app/core/copy_run.h"
#include "app/window/hint_window.h"
#include "app/window/program_info_window.h"
#include "app/window/splitter_bar.h"
#include "app/window/teditor/editor_info_window.h"
#include "app/window/teditor/information_look.h"
#include "platform/qt/control_widget.h"
#include "tests/app/window/teditor/real_form.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

TEST(RealInformationWindow, SetUpAsTheLayoutStoresIt) {
  RealFormUnderTest t;
  editor::TEditor& e = t.Editor();
  EXPECT_EQ(t.LinesUtf8(), std::vector<std::string>{"■□■ 情報ウインドウ ■□■"});
  EXPECT_TRUE(e.ReadOnly());
  EXPECT_TRUE(e.TabStop());
  EXPECT_FALSE(e.WantTabs());
  EXPECT_EQ(e.Color(), platform::clBlack);
  EXPECT_EQ(e.Font().Name, Cp932("ＭＳ ゴシック"));
  EXPECT_EQ(e.Font().Height, -13);
  EXPECT_EQ(e.Font().Color, platform::clWhite);
  EXPECT_EQ(e.ScrollBars(), editor::ssBoth);
  EXPECT_FALSE(e.WordWrap());
  EXPECT_EQ(e.UndoListMax(), 64);
  EXPECT_EQ(e.Margin().Left(), 4);
  EXPECT_EQ(e.Margin().Top(), 2);
  EXPECT_TRUE(e.Caret().FreeCaret());
  EXPECT_TRUE(e.Caret().RowSelect());
  EXPECT_EQ(e.Caret().TabSpaceCount(), 8);
  EXPECT_TRUE(e.Marks().Underline().Visible());
  EXPECT_FALSE(e.Marks().EofMark().Visible());
  EXPECT_FALSE(e.Marks().RetMark().Visible());
  EXPECT_TRUE(e.View().Url());
  EXPECT_TRUE(e.View().Mail());
  EXPECT_EQ(e.View().Brackets().Count(), 0);
  const editor::TEditorColors& colors = e.View().Colors();
  EXPECT_EQ(colors.Ank().Color(), platform::clWhite);
  EXPECT_EQ(colors.Ank().BkColor(), platform::clBlack);
  EXPECT_EQ(colors.Url().Color(), platform::clAqua);
  EXPECT_TRUE(colors.Url().Style().Contains(platform::fsUnderline));
  EXPECT_EQ(colors.Mail().Color(), platform::clYellow);
  EXPECT_EQ(colors.Select().BkColor(), platform::clNavy);

  QWidget* widget = t.info->Widget();
  EXPECT_EQ(widget->objectName(), "Editor1");
  EXPECT_EQ(widget->geometry(), QRect(1, 303, 571, 85));
}

TEST(RealInformationWindow, TabReachesTheLogAfterTheButtonsAndPassesOn) {
  RealFormUnderTest t;
  t.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t.form.get()));
  QWidget* button3 = t.form->findChild<QWidget*>("Button3");
  button3->setFocus();
  QTest::keyClick(button3, Qt::Key_Tab);
  QWidget* log = t.info->Widget();
  QWidget* focused = QApplication::focusWidget();
  ASSERT_NE(focused, nullptr);
  EXPECT_TRUE(focused == log || log->isAncestorOf(focused));
  // Tab leaves it again and types nothing into it; Shift+Tab goes back.
  const std::vector<std::string> before = t.LinesUtf8();
  QTest::keyClick(focused, Qt::Key_Tab);
  EXPECT_EQ(t.LinesUtf8(), before);
  EXPECT_FALSE(log->isAncestorOf(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_TRUE(log->isAncestorOf(QApplication::focusWidget()));
  QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), button3);
}

TEST(RealInformationWindow, LastLineStaysInView) {
  RealFormUnderTest t;
  for (int i = 0; i < 30; ++i) t.Editor().Lines().Add("line " + std::to_string(i));
  EXPECT_GT(t.Editor().VisibleRows(), 0);
  EXPECT_EQ(t.Editor().TopRow(), t.Editor().Lines().Count() - t.Editor().VisibleRows());
}

TEST(RealInformationWindow, SplitterKeepsItAtLeast85High) {
  RealFormUnderTest t;
  auto* splitter = t.form->findChild<SplitterBar*>("Splitter1");
  const auto drag = [splitter](int dy) {
    const QPoint at(100, 1), global = splitter->mapToGlobal(at);
    QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                      Qt::NoModifier);
    QApplication::sendEvent(splitter, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, at + QPoint(0, dy), global + QPoint(0, dy),
                        Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(splitter, &release);
  };
  drag(50);
  EXPECT_EQ(t.info->Widget()->height(), 85);
  const int rows = t.Editor().VisibleRows();
  drag(-100);
  EXPECT_EQ(t.info->Widget()->height(), 185);
  EXPECT_GT(t.Editor().VisibleRows(), rows);
}

struct Address {
  const char* text;
  editor::TTokenKind kind;
  QUrl opened;
};

TEST(RealInformationWindow, AboutTextAddressesAreFoundHintedAndOpened) {
  RealFormUnderTest t;
  {
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    t.form->Button5Click();
  }
  editor::TEditor& e = t.Editor();
  // A shown text is read from its top: no change of lines was recorded.
  EXPECT_EQ(e.TopRow(), 0);
  const Address addresses[] = {
      {"pirukko@example.org", editor::tkMail, QUrl("mailto:pirukko@example.org")},
      {"pirukko-bugs@example.org", editor::tkMail, QUrl("mailto:pirukko-bugs@example.org")},
      {"http://pirukko.example.org/", editor::tkUrl, QUrl("http://pirukko.example.org/")},
  };
  for (const Address& a : addresses) {
    SCOPED_TRACE(a.text);
    int row = -1, col = -1;
    for (int i = 0; i < e.Lines().Count() && row < 0; ++i) {
      const size_t at = e.Lines()[i].find(a.text);
      if (at != std::string::npos) row = i, col = static_cast<int>(at) + 3;
    }
    ASSERT_GE(row, 0);
    e.SetTopRow(row);
    e.SetRowCol(row, col);
    EXPECT_EQ(e.TokenKindFromCaret(), a.kind);
    EXPECT_EQ(t.info->TokenFromCaret(), a.text);

    // The pointer over the address: the hand and the hint.
    const platform::TPoint caret = e.CaretPixelPos();
    const QPoint point(caret.X + 1, caret.Y + 2);
    EXPECT_EQ(t.info->TokenKindFromPos(point), a.kind);
    QTest::mouseMove(platform::ClientWidget(e), QPoint(0, 0));  // from off the address
    QTest::mouseMove(platform::ClientWidget(e), point);
    EXPECT_EQ(e.Cursor(), platform::crHandPoint);
    ASSERT_TRUE(t.form->FHintWindow().HandleAllocated());
    EXPECT_EQ(t.form->FHintWindow().label()->text(),
              a.kind == editor::tkUrl ? "ﾎｰﾑﾍﾟｰｼﾞを開きます" : "ﾒｰﾗｰを起動します");

    t.desktop.opened.clear();
    t.form->Editor1DblClick();
    ASSERT_EQ(t.desktop.opened.size(), 1u);
    EXPECT_EQ(t.desktop.opened[0], a.opened);
    EXPECT_FALSE(t.form->FHintWindow().HandleAllocated());
  }

  // A plain word is selected instead.
  e.SetTopRow(0);
  e.SetRowCol(0, 3);
  t.desktop.opened.clear();
  t.form->Editor1DblClick();
  EXPECT_TRUE(t.desktop.opened.empty());
  EXPECT_EQ(e.GetSelText(), "Pirukko");
}

TEST(RealInformationWindow, HelpFileIsLoadedIntoIt) {
  RealFormUnderTest t(QString(), QStringLiteral(PIRUKKO_BUILD_DIR "/varnek"));
  MessageBoxAnswerer answerer(QMessageBox::Ok);
  t.form->Button4Click();
  const std::vector<std::string> lines = t.LinesUtf8();
  ASSERT_GT(lines.size(), 50u);
  EXPECT_EQ(lines[0], "■□■ Pirukko ヘルプ ■□■");
  EXPECT_EQ(t.Editor().TopRow(), 0);  // read from the top
  EXPECT_EQ(answerer.seen().size(), 1u);
}

TEST(RealInformationWindow, RunLogEndsInView) {
  QTemporaryDir folder;
  const QString dir = folder.path();
  for (const char* name : {"a.txt", "b.doc"}) {
    QFile file(dir + "/" + name);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  RealFormUnderTest t(dir);
  QTest::mouseClick(t.form->findChild<QPushButton*>("Button2"), Qt::LeftButton);
  ASSERT_TRUE(WaitForRun(*t.form));
  const std::vector<std::string> lines = t.LinesUtf8();
  ASSERT_FALSE(lines.empty());
  EXPECT_EQ(lines.front(), "□■□ 実行中 □■□");
  EXPECT_EQ(lines.back(), "正常に終了しました。");
  EXPECT_EQ(t.Editor().TopRow(), t.Editor().Lines().Count() - t.Editor().VisibleRows());
  EXPECT_EQ(QDir(dir + "/NewFolder").entryList(QDir::Files).size(), 2);
}

// The information window takes a long log in runs of lines, a turn of the
// event loop at a time; what it ends with is what adding every entry on its
// own leaves: the same lines in the same order, the caret, the undo steps.
TEST(RealInformationWindow, ALongPreviewEndsAsAddingEveryEntryAloneWould) {
  QTemporaryDir folder;
  const QString dir = folder.path();
  constexpr int kFiles = 3000;
  for (int i = 0; i < kFiles; ++i) {
    QFile file(dir + QString("/p%1.jpg").arg(i, 4, 10, QChar('0')));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
  }
  RealFormUnderTest t(dir);
  t.form->findChild<QAbstractButton*>("SpeedButton2")->click();
  ASSERT_TRUE(WaitForRun(*t.form));

  // The same preview written by the engine, every entry added alone.
  platform::TStringList entries;
  app::StringsCopyLog log(entries);
  app::NoCopyProgress progress;
  app::PreviewCopy(t.form->CurrentRunSettings(), log, progress);
  ASSERT_GT(entries.Count(), 3 * kFiles);
  editor::TEditor alone;
  app::ApplyInformationWindowLook(alone);
  alone.Lines().Clear();
  for (int i = 0; i < entries.Count(); ++i) alone.Lines().Add(entries[i]);

  editor::TEditor& shown = t.Editor();
  EXPECT_EQ(shown.Lines().Text(), alone.Lines().Text());
  EXPECT_EQ(shown.Row(), alone.Row());
  EXPECT_EQ(shown.Col(), alone.Col());
  const editor::TEditorUndoObj& a = shown.ScreenStrings().UndoObj();
  const editor::TEditorUndoObj& b = alone.ScreenStrings().UndoObj();
  ASSERT_EQ(a.UndoList().Count(), b.UndoList().Count());
  for (int i = 0; i < a.UndoList().Count(); ++i) {
    EXPECT_EQ(a.UndoList()[i].FirstRow, b.UndoList()[i].FirstRow) << i;
    EXPECT_EQ(a.UndoList()[i].NewRowCount, b.UndoList()[i].NewRowCount) << i;
    EXPECT_EQ(a.UndoList()[i].CaretRow, b.UndoList()[i].CaretRow) << i;
    EXPECT_EQ(a.UndoList()[i].Text, b.UndoList()[i].Text) << i;
  }
  EXPECT_EQ(shown.TopRow(), shown.Lines().Count() - shown.VisibleRows());
}

}  // namespace
}  // namespace app::test
