// The window above the layout's size: grown by a plain resize, by its edges
// and corners and by a double-click on the title bar, with every control in
// its place and the information window taking what was added; and the
// window from the keyboard.
#include <QAbstractButton>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

#include <map>

#include "app/window/bevel_panel.h"
#include "app/window/message_box.h"
#include "app/window/splitter_bar.h"
#include "app/window/tail_label.h"
#include "app/window/title_band_keys.h"
#include "app/window/window_edges.h"
#include "tests/app/window/window_test_support.h"

namespace app::test {
namespace {

const char* const kFrames[] = {"Panel1", "Panel2", "Panel6", "Panel3", "Panel4", "Panel5"};

// What takes the added width besides the frames: the title band's progress
// bar, and the sample, the directory and 実行; and what keeps to the right
// edge: × and the buttons beside 実行. Everything else keeps its place.
struct Follower {
  const char* name;
  QRect at_layout_size;
  bool stretches;  // else it moves
};
const Follower kFollowers[] = {
    {"ProgressBar1", {268, 12, 289, 7}, true}, {"GroupBox4", {188, 204, 289, 29}, true},
    {"Label15", {2, 13, 285, 14}, true},       {"GroupBox5", {188, 236, 289, 29}, true},
    {"Label2", {6, 13, 277, 14}, true},        {"Button2", {188, 268, 289, 25}, true},
    {"SpeedButton1", {564, 4, 17, 17}, false}, {"Button6", {480, 204, 85, 21}, false},
    {"Button4", {480, 228, 85, 17}, false},    {"Button5", {480, 248, 85, 17}, false},
    {"Button3", {480, 268, 85, 25}, false},
};

bool IsFollower(const QString& name) {
  return std::any_of(std::begin(kFollowers), std::end(kFollowers),
                     [&](const Follower& f) { return name == f.name; });
}

// Where every named control but the frames and the information window sits.
std::map<QString, QRect> ControlPlaces(const FormUnderTest& t) {
  std::map<QString, QRect> places;
  for (QWidget* w : t.form->findChildren<QWidget*>()) {
    const QString name = w->objectName();
    if (name.isEmpty() || name.startsWith("qt_") || name == "Editor1" || name == "Splitter1") {
      continue;
    }
    if (std::find(std::begin(kFrames), std::end(kFrames), name) != std::end(kFrames)) continue;
    if (IsFollower(name)) continue;
    places[name] = w->geometry();
  }
  return places;
}

// Everything's place, frames included.
std::map<QString, QRect> AllPlaces(const FormUnderTest& t) {
  std::map<QString, QRect> places = ControlPlaces(t);
  for (const char* frame : kFrames) places[frame] = t.Find<QWidget>(frame)->geometry();
  for (const Follower& f : kFollowers) places[f.name] = t.Find<QWidget>(f.name)->geometry();
  places["Editor1"] = t.info->geometry();
  places["Splitter1"] = t.Find<QWidget>("Splitter1")->geometry();
  return places;
}

void ExpectGrownBy(const FormUnderTest& t, QSize grown) {
  const int w = grown.width(), h = grown.height();
  EXPECT_EQ(t.form->size(), QSize(597 + w, 433 + h));
  EXPECT_EQ(t.Find<QWidget>("Panel1")->geometry(), QRect(0, 0, 597 + w, 433 + h));
  EXPECT_EQ(t.Find<QWidget>("Panel2")->geometry(), QRect(4, 4, 589 + w, 425 + h));
  EXPECT_EQ(t.Find<QWidget>("Panel6")->geometry(), QRect(0, 0, 589 + w, 25));
  EXPECT_EQ(t.Find<QWidget>("Panel3")->geometry(), QRect(4, 24, 581 + w, 397 + h));
  EXPECT_EQ(t.Find<QWidget>("Panel4")->geometry(), QRect(4, 4, 573 + w, 389 + h));
  // The settings keep their height; the log takes the added height.
  EXPECT_EQ(t.Find<QWidget>("Panel5")->geometry(), QRect(1, 1, 571 + w, 299));
  EXPECT_EQ(t.Find<QWidget>("Splitter1")->geometry(), QRect(1, 300, 571 + w, 3));
  EXPECT_EQ(t.info->geometry(), QRect(1, 303, 571 + w, 85 + h));
  for (const Follower& f : kFollowers) {
    const QRect expected =
        f.stretches ? f.at_layout_size.adjusted(0, 0, w, 0) : f.at_layout_size.translated(w, 0);
    EXPECT_EQ(t.Find<QWidget>(f.name)->geometry(), expected) << f.name;
  }
}

TEST(WindowSize, APlainResizeStretchesTheFramesAndTheLogAndNeverGoesBelowTheLayout) {
  FormUnderTest t;
  t.form->show();
  const std::map<QString, QRect> at_start = AllPlaces(t);
  for (QSize grown : {QSize(1, 1), QSize(200, 150), QSize(1920 - 597, 1080 - 433), QSize(0, 0)}) {
    SCOPED_TRACE(grown.width());
    t.form->resize(QSize(597, 433) + grown);
    ExpectGrownBy(t, grown);
    for (const auto& [name, place] : ControlPlaces(t))
      EXPECT_EQ(place, at_start.at(name)) << name.toStdString();
  }
  // Back at the layout's size, pixel for pixel as it started.
  EXPECT_EQ(AllPlaces(t), at_start);
  // Smaller is refused, in either direction.
  t.form->resize(596, 900);
  EXPECT_EQ(t.form->size(), QSize(597, 900));
  t.form->resize(900, 432);
  EXPECT_EQ(t.form->size(), QSize(900, 433));
}

TEST(WindowSize, TheSplittersChoiceHoldsWhileTheWindowGrowsAndShrinks) {
  FormUnderTest t;
  t.form->show();
  t.form->resize(597, 433 + 300);
  // The splitter down as far as it goes: the settings take the height.
  auto* splitter = t.Find<SplitterBar>("Splitter1");
  splitter->OnDrag(1000, true);
  EXPECT_EQ(t.info->height(), 85);
  // Shrinking takes from the settings then, never the log below 85.
  t.form->resize(597, 433);
  EXPECT_EQ(t.info->height(), 85);
  EXPECT_EQ(t.Find<QWidget>("Panel5")->height(), 299);
  // The splitter up, then growing: the log keeps what the splitter gave it.
  splitter->OnDrag(-60, true);
  EXPECT_EQ(t.info->height(), 145);
  t.form->resize(597, 533);
  EXPECT_EQ(t.info->height(), 245);
  EXPECT_EQ(t.Find<QWidget>("Panel5")->height(), 239);
}

// The sample takes the width the window gives it; a name still too long
// keeps its end (serial and extension) in view, its beginning giving way.
TEST(WindowSize, TheSampleTakesTheWidthAndKeepsTheEndOfALongName) {
  FormUnderTest t;
  t.form->show();
  auto* sample = t.Find<TailLabel>("Label15");
  ASSERT_NE(sample, nullptr);
  const QString short_name = sample->text();
  EXPECT_EQ(sample->ShownText(), short_name);
  t.Find<QLineEdit>("Edit2")->setText(QString(60, QChar(u'長')));
  const QString full = sample->text();
  ASSERT_TRUE(full.endsWith(short_name));
  const QString shown = sample->ShownText();
  EXPECT_TRUE(shown.startsWith(QChar(0x2026))) << shown.toStdString();
  EXPECT_TRUE(full.endsWith(shown.mid(1))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(short_name));
  EXPECT_LE(sample->fontMetrics().horizontalAdvance(shown), sample->contentsRect().width());
  t.form->resize(597 + 1000, 433);
  EXPECT_EQ(sample->width(), 285 + 1000);
  EXPECT_EQ(sample->ShownText(), full);
}

struct EdgeCase {
  QPoint at;
  Qt::Edges edges;
};

TEST(WindowSize, TheYellowRimIsTheGripWithItsCorners) {
  FormUnderTest t;
  WindowEdges edges(t.form.get(), t.Find<QWidget>("Panel1"), 4);
  const EdgeCase cases[] = {
      {{0, 0}, Qt::TopEdge | Qt::LeftEdge},
      {{15, 0}, Qt::TopEdge | Qt::LeftEdge},
      {{16, 0}, Qt::TopEdge},
      {{0, 15}, Qt::TopEdge | Qt::LeftEdge},
      {{300, 3}, Qt::TopEdge},
      {{300, 4}, {}},
      {{3, 200}, Qt::LeftEdge},
      {{4, 200}, {}},
      {{592, 200}, {}},
      {{593, 200}, Qt::RightEdge},
      {{596, 0}, Qt::TopEdge | Qt::RightEdge},
      {{300, 429}, Qt::BottomEdge},
      {{300, 428}, {}},
      {{0, 432}, Qt::BottomEdge | Qt::LeftEdge},
      {{596, 432}, Qt::BottomEdge | Qt::RightEdge},
      {{581, 432}, Qt::BottomEdge | Qt::RightEdge},
      {{580, 432}, Qt::BottomEdge},
      {{597, 200}, {}},
  };
  for (const EdgeCase& c : cases) {
    EXPECT_EQ(edges.EdgesAt(c.at), c.edges) << c.at.x() << "," << c.at.y();
  }
}

// Drags `widget` from `at` by `distance` with the left button.
void Drag(QWidget* widget, QPoint at, QPoint distance) {
  const QPoint global = widget->mapToGlobal(at);
  QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                    Qt::NoModifier);
  QApplication::sendEvent(widget, &press);
  QMouseEvent move(QEvent::MouseMove, at + distance, global + distance, Qt::NoButton,
                   Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  QMouseEvent release(QEvent::MouseButtonRelease, at + distance, global + distance, Qt::LeftButton,
                      Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &release);
}

TEST(WindowSize, EdgesAndCornersResizeTheWindow) {
  FormUnderTest t;
  t.form->show();
  QWidget* rim = t.Find<QWidget>("Panel1");
  const QRect start = t.form->geometry();
  // The pointer shows what a press there would do.
  QMouseEvent hover(QEvent::MouseMove, QPointF(596, 432), rim->mapToGlobal(QPointF(596, 432)),
                    Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(rim, &hover);
  EXPECT_EQ(rim->cursor().shape(), Qt::SizeFDiagCursor);

  Drag(rim, QPoint(596, 432), QPoint(100, 50));  // the bottom-right corner
  EXPECT_EQ(t.form->geometry(), QRect(start.topLeft(), QSize(697, 483)));
  ExpectGrownBy(t, QSize(100, 50));
  Drag(rim, QPoint(1, 200), QPoint(-40, 0));  // the left edge, outwards
  EXPECT_EQ(t.form->geometry(), QRect(start.topLeft() - QPoint(40, 0), QSize(737, 483)));
  // Inwards past the least size: it stops there, the right edge in place.
  Drag(rim, QPoint(1, 200), QPoint(500, 0));
  EXPECT_EQ(t.form->geometry(), QRect(start.x() + 100, start.y(), 597, 483));
  Drag(rim, QPoint(300, 1), QPoint(0, 300));  // the top edge, inwards
  EXPECT_EQ(t.form->geometry(), QRect(start.x() + 100, start.y() + 50, 597, 433));
}

TEST(WindowSize, ADoubleClickOnTheTitleBarTogglesMaximized) {
  FormUnderTest t;
  t.form->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(t.form.get()));
  const QRect normal = t.form->geometry();
  for (const char* part : {"Panel6", "Label1", "ProgressBar1"}) {
    SCOPED_TRACE(part);
    QTest::mouseDClick(t.Find<QWidget>(part), Qt::LeftButton, {}, QPoint(3, 3));
    QTRY_VERIFY(t.form->isMaximized());
    QTRY_VERIFY(t.info->height() > 85);
    EXPECT_EQ(t.Find<QWidget>("Panel6")->width(), t.form->width() - 8);
    QTest::mouseDClick(t.Find<QWidget>(part), Qt::LeftButton, {}, QPoint(3, 3));
    QTRY_VERIFY(!t.form->isMaximized());
    QTRY_COMPARE(t.form->geometry(), normal);
    EXPECT_EQ(t.info->height(), 85);
  }
}

TEST(WindowKeyboard, F5PreviewsAndTheTitleBandsHintsNameTheirKeys) {
  QTemporaryDir folder;
  FormUnderTest t(folder.path());
  t.form->show();
  t.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t.form.get()));
  auto* preview = t.Find<QToolButton>("SpeedButton2");
  EXPECT_EQ(preview->toolTip(), "プレビュー (F5)");
  EXPECT_EQ(preview->focusPolicy(), Qt::NoFocus);
  EXPECT_EQ(HintWithKey("設定", kSettingsKey), "設定 (Alt+S)");
  int clicks = 0;
  QObject::connect(preview, &QAbstractButton::clicked, [&] { ++clicks; });
  // From any control, a text field among them.
  t.Find<QWidget>("Edit2")->setFocus();
  QTest::keyClick(t.form->focusWidget(), Qt::Key_F5);
  // The button shows itself pressed for a moment, as a click does.
  QTRY_COMPARE(clicks, 1);
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_GT(t.info->LinesUtf8().size(), 1u);
}

TEST(WindowKeyboard, TabGoesFromTheLastButtonToTheInformationWindowAndBack) {
  FormUnderTest t;
  t.info->setFocusPolicy(Qt::TabFocus);
  t.form->show();
  t.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t.form.get()));
  t.Find<QWidget>("Button3")->setFocus();
  QTest::keyClick(t.Find<QWidget>("Button3"), Qt::Key_Tab);
  EXPECT_EQ(QApplication::focusWidget(), t.info);
  QTest::keyClick(t.info, Qt::Key_Backtab);
  EXPECT_EQ(QApplication::focusWidget(), t.Find<QWidget>("Button3"));
}

// A run rests the control the keyboard was on: the log holds the focus
// meanwhile, and the control has it back when the run ends, whether the run
// came from F5 in a field or from Space on 実行 (a second Space then runs
// again instead of reaching 終了).
TEST(WindowKeyboard, TheFocusComesBackWhereItWasAfterARunOrAPreview) {
  QTemporaryDir folder;
  FormUnderTest t(folder.path());
  t.info->setFocusPolicy(Qt::TabFocus);
  t.form->show();
  t.form->activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(t.form.get()));
  // Where the keyboard is once the run has started.
  bool started = false;
  QWidget* during = nullptr;
  for (const char* button : {"SpeedButton2", "Button2"}) {
    QObject::connect(t.Find<QAbstractButton>(button), &QAbstractButton::clicked, [&] {
      started = true;
      during = QApplication::focusWidget();
    });
  }
  for (const char* name : {"Edit1", "Edit2", "ComboBox2", "DirectoryListBox1", "Button2"}) {
    SCOPED_TRACE(name);
    QWidget* control = t.Find<QWidget>(name);
    control->setFocus();
    ASSERT_EQ(QApplication::focusWidget(), control);
    started = false;
    QTest::keyClick(control, QByteArray(name) == "Button2" ? Qt::Key_Space : Qt::Key_F5);
    ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, 5000));
    EXPECT_EQ(during, t.info);
    ASSERT_TRUE(WaitForRun(*t.form));
    EXPECT_EQ(QApplication::focusWidget(), control);
  }
  // Focus the user put elsewhere during the run stays there.
  QWidget* const quit = t.Find<QWidget>("Button3");
  QObject::connect(t.Find<QAbstractButton>("SpeedButton2"), &QAbstractButton::clicked,
                   [&] { quit->setFocus(); });
  t.Find<QWidget>("Edit2")->setFocus();
  started = false;
  QTest::keyClick(t.Find<QWidget>("Edit2"), Qt::Key_F5);
  ASSERT_TRUE(QTest::qWaitFor([&] { return started; }, 5000));
  ASSERT_TRUE(WaitForRun(*t.form));
  EXPECT_EQ(QApplication::focusWidget(), quit);
}

TEST(WindowKeyboard, EscapeInAQuestionAnswersNoOrCancel) {
  TestApplication();
  const struct {
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton escape;
  } cases[] = {
      {QMessageBox::Yes | QMessageBox::No, QMessageBox::No},
      {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel},
      {QMessageBox::Ok, QMessageBox::Ok},
  };
  for (const auto& c : cases) {
    QTimer::singleShot(20, [] {
      QWidget* box = QApplication::activeModalWidget();
      if (box) QTest::keyClick(box, Qt::Key_Escape);
    });
    EXPECT_EQ(ShowMessageBox(nullptr, "実行を中止しますか？", "問い合わせ", QMessageBox::Question,
                             c.buttons),
              c.escape);
  }
}

}  // namespace
}  // namespace app::test
