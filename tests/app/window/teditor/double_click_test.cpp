// A double click with the real mouse on Editor1 in the real window: the
// first click puts the caret under the pointer, and the window then opens the
// address there or selects the word.
#include <QTest>

#include <gtest/gtest.h>

#include "app/window/program_info_window.h"
#include "app/window/teditor/editor_info_window.h"
#include "platform/qt/control_widget.h"
#include "tests/app/window/teditor/real_form.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

// A double click as the window system delivers it: a click, then the
// double click in place of the second press, then its release.
void DoubleClick(QWidget* client, QPoint point) {
  QTest::mouseClick(client, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseDClick(client, Qt::LeftButton, Qt::NoModifier, point);
  QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, point);
}

// Brings the row holding `text` to the top of the view and answers the
// client point a little inside its `offset`-th byte; the caret waits
// elsewhere, so that only the click can bring it there.
QPoint PointOn(editor::TEditor& e, const char* text, int offset) {
  for (int row = 0; row < e.Lines().Count(); ++row) {
    const std::size_t at = e.Lines()[row].find(text);
    if (at == std::string::npos) continue;
    e.SetRowCol(0, 0);
    e.SetTopRow(row);
    const int col = static_cast<int>(at) + offset - e.TopCol();
    return QPoint(e.Margin().Left() + col * e.CharWidth() + e.CharWidth() / 4,
                  e.Margin().Top() + (row - e.TopRow()) * e.RowHeight() + e.CharHeight() / 2);
  }
  ADD_FAILURE() << "not in the text: " << text;
  return {};
}

TEST(DoubleClickOnEditor1, OpensTheAddressUnderThePointerOrSelectsTheWord) {
  RealFormUnderTest t;
  {
    MessageBoxAnswerer answerer(QMessageBox::Ok);
    t.form->Button5Click();
  }
  QWidget* client = platform::ClientWidget(t.Editor());
  ASSERT_NE(client, nullptr);

  const struct {
    const char* text;
    int offset;
    QUrl opened;
  } addresses[] = {
      {"http://pirukko.example.org/", 9, QUrl("http://pirukko.example.org/")},
      {"pirukko-bugs@example.org", 2, QUrl("mailto:pirukko-bugs@example.org")},
  };
  for (const auto& a : addresses) {
    SCOPED_TRACE(a.text);
    const QPoint point = PointOn(t.Editor(), a.text, a.offset);
    t.desktop.opened.clear();
    DoubleClick(client, point);
    ASSERT_EQ(t.desktop.opened.size(), 1u);
    EXPECT_EQ(t.desktop.opened[0], a.opened);
  }

  const QPoint word = PointOn(t.Editor(), "Pirukko", 2);
  t.desktop.opened.clear();
  QTest::mouseClick(client, Qt::LeftButton, Qt::NoModifier, word);
  QTest::mouseDClick(client, Qt::LeftButton, Qt::NoModifier, word);
  EXPECT_TRUE(t.desktop.opened.empty());
  EXPECT_EQ(t.Editor().GetSelText(), "Pirukko");
  // The hand trembling before the release keeps the word selected.
  QTest::mouseMove(client, word + QPoint(t.Editor().CharWidth() * 3, 0));
  QTest::mouseRelease(client, Qt::LeftButton, Qt::NoModifier, word);
  EXPECT_EQ(t.Editor().GetSelText(), "Pirukko");
}

}  // namespace
}  // namespace app::test
