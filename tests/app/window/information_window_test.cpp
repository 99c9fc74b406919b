// The information window's handlers: the last line kept in view, hints and
// pointer shapes over addresses, and double-clicks that open them.
#include <QCursor>
#include <QLabel>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

#include "app/window/hint_window.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

TEST(InformationWindow, EveryChangeKeepsTheLastLineInView) {
  FormUnderTest t;
  t.info->visible_rows = 5;
  for (int i = 0; i < 12; ++i) t.info->Lines().Add("line");
  EXPECT_EQ(t.info->top_row, 13 - 5);
}

struct HoverCase {
  TTokenKind kind;
  const char* hint;
};

TEST(InformationWindow, HoverOverAnAddressShowsTheHandAndAHint) {
  FormUnderTest t;
  t.form->show();
  const HoverCase cases[] = {{tkUrl, "ﾎｰﾑﾍﾟｰｼﾞを開きます"}, {tkMail, "ﾒｰﾗｰを起動します"}};
  for (const HoverCase& c : cases) {
    SCOPED_TRACE(c.hint);
    t.info->kind_at = [&c](QPoint point) { return point.x() < 100 ? c.kind : tkEnd; };
    t.info->control_cursor = 9999;
    for (QPoint at : {QPoint(20, 10), QPoint(60, 30)}) {
      QTest::mouseMove(t.info, at);
      EXPECT_EQ(t.info->control_cursor, platform::crHandPoint);
      const QLabel* hint = t.form->FHintWindow().label();
      ASSERT_NE(hint, nullptr);
      EXPECT_TRUE(hint->isVisible());
      EXPECT_EQ(hint->text(), c.hint);
      // The hint follows the pointer, below it by a caption's height.
      const int caption = t.form->style()->pixelMetric(QStyle::PM_TitleBarHeight);
      EXPECT_EQ(hint->geometry().topLeft(), QCursor::pos() + QPoint(0, caption));
      EXPECT_GT(hint->width(), 6);
    }
    // Onto plain text: the hint goes and the text pointer comes back.
    QTest::mouseMove(t.info, QPoint(200, 10));
    EXPECT_FALSE(t.form->FHintWindow().HandleAllocated());
    EXPECT_EQ(t.info->control_cursor, platform::crIBeam);
  }
  // Out of the information window, the hint goes too, and with the window.
  QTest::mouseMove(t.info, QPoint(20, 10));
  ASSERT_TRUE(t.form->FHintWindow().HandleAllocated());
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(t.info, &leave);
  EXPECT_FALSE(t.form->FHintWindow().HandleAllocated());
  QTest::mouseMove(t.info, QPoint(20, 10));
  t.form->close();
  EXPECT_FALSE(t.form->FHintWindow().HandleAllocated());
}

TEST(InformationWindow, AwayFromAddressesThePointerFollowsTheCursorKind) {
  FormUnderTest t;
  // Distinct shapes for the five kinds, so that each lands where it must.
  editor::TEditorCursors& cursors = t.info->cursors;
  cursors.SetDefaultCursor(platform::crIBeam);
  cursors.SetDragSelCursor(platform::crDrag);
  cursors.SetDragSelCopyCursor(2);
  cursors.SetInSelCursor(platform::crDefault);
  cursors.SetLeftMarginCursor(1);
  struct Case {
    int kind;
    platform::TCursor control, screen;
  } cases[] = {{0, -4, 9999},  {1, 1, 9999}, {2, 0, 9999},
               {3, 9999, -12}, {4, 9999, 2}, {5, 9999, 9999}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    t.info->cursor_kind = c.kind;
    t.info->control_cursor = t.info->screen_cursor = 9999;
    t.form->Editor1MouseMove(QPoint(5, 5));
    EXPECT_EQ(t.info->control_cursor, c.control);
    EXPECT_EQ(t.info->screen_cursor, c.screen);
  }
}

struct OpenCase {
  TTokenKind kind;
  std::string token;
  QUrl opened;
};

TEST(InformationWindow, DoubleClickOpensAddressesAndSelectsWords) {
  const OpenCase cases[] = {
      {tkUrl, "http://pirukko.example.org/", QUrl("http://pirukko.example.org/")},
      {tkUrl, "https://example.org/a?b=c", QUrl("https://example.org/a?b=c")},
      {tkUrl, "www.example.org", QUrl("http://www.example.org")},
      {tkUrl, "ftp://files.example.org", QUrl("ftp://files.example.org")},
      {tkMail, "pirukko@example.org", QUrl("mailto:pirukko@example.org")},
  };
  for (const OpenCase& c : cases) {
    SCOPED_TRACE(c.token);
    FormUnderTest t;
    t.form->show();
    t.info->kind_at = [&c](QPoint) { return c.kind; };
    QTest::mouseMove(t.info, QPoint(10, 10));  // the hint is up
    t.info->caret_kind = c.kind;
    t.info->caret_token = c.token;
    QTest::mouseDClick(t.info, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(t.desktop.opened.size(), 1u);
    EXPECT_EQ(t.desktop.opened[0], c.opened);
    EXPECT_FALSE(t.form->FHintWindow().HandleAllocated());
    EXPECT_EQ(t.info->select_calls, 0);
  }

  FormUnderTest t;
  t.info->caret_kind = editor::tkAnkWord;
  t.info->caret_token = "NewFolder";
  QTest::mouseDClick(t.info, Qt::LeftButton, {}, QPoint(10, 10));
  EXPECT_TRUE(t.desktop.opened.empty());
  EXPECT_EQ(t.info->select_calls, 1);
}

TEST(InformationWindow, AnAddressNoProgramTakesIsSaidSo) {
  const struct {
    TTokenKind kind;
    std::string token;
    QString text;
  } cases[] = {
      {tkUrl, "https://example.org/",
       "ホームページを開くプログラムが見つかりません。\n  https://example.org/"},
      {tkMail, "pirukko@example.org", "メーラーが見つかりません。\n  mailto:pirukko@example.org"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.token);
    FormUnderTest t;
    t.form->show();
    t.desktop.answer = false;
    t.info->caret_kind = c.kind;
    t.info->caret_token = c.token;
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    QTest::mouseDClick(t.info, Qt::LeftButton, {}, QPoint(10, 10));
    ASSERT_EQ(answerer.seen().size(), 1u);
    EXPECT_EQ(answerer.seen()[0].text, c.text);
    EXPECT_EQ(answerer.seen()[0].caption, "警告");
    EXPECT_EQ(answerer.seen()[0].icon, QMessageBox::Warning);
  }
}

}  // namespace
}  // namespace app::test
