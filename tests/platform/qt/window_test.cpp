// The window of a control: painting on request, scrolling the surface, the
// caret, sizes, and what happens without a window.
#include <gtest/gtest.h>

#include <QScrollBar>
#include <QStyleHints>

#include "test_control.h"

namespace platform {
namespace {

using testing::TestControl;

class ControlWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::App();
    control.SetColor(clWhite);
    control.Create(200, 100);
  }
  TestControl control;
};

TEST_F(ControlWindowTest, CreationSendsCreateAndSizeWithTheClientSize) {
  TestControl fresh;
  fresh.SetBounds(0, 0, 120, 80);
  fresh.HandleNeeded();
  ASSERT_TRUE(fresh.HandleAllocated());
  auto ids = fresh.Ids();
  ASSERT_GE(ids.size(), 2u);
  EXPECT_EQ(ids[0], WM_CREATE);
  auto sizes = fresh.Of(WM_SIZE);
  ASSERT_EQ(sizes.size(), 1u);
  EXPECT_EQ(LOWORD(sizes[0].LParam), 120);
  EXPECT_EQ(HIWORD(sizes[0].LParam), 80);
}

TEST_F(ControlWindowTest, InvalidatedAreaIsErasedAndPaintedOnUpdate) {
  control.paint_colour = clWhite;
  control.Update();  // the first paint of the new window
  control.paint_colour = clBlue;
  control.paints.clear();
  control.messages.clear();
  const TRect area{10, 20, 50, 40};
  control.InvalidateRect(&area, true);
  EXPECT_TRUE(control.paints.empty());  // nothing before the update
  control.Update();
  EXPECT_EQ(control.Ids(), (std::vector<std::uint32_t>{WM_ERASEBKGND, WM_PAINT}));
  ASSERT_EQ(control.paints.size(), 1u);
  EXPECT_EQ(control.paints[0], area);
  QImage image = control.Surface();
  EXPECT_EQ(image.pixelColor(10, 20), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(49, 39), QColor(Qt::blue));
  // Painting is limited to the invalid area, whatever Paint draws.
  EXPECT_NE(image.pixelColor(50, 20), QColor(Qt::blue));

  control.messages.clear();
  control.Update();  // nothing left to paint
  EXPECT_TRUE(control.messages.empty());
}

TEST_F(ControlWindowTest, InvalidationWithoutEraseLeavesTheBackground) {
  control.Update();
  control.messages.clear();
  const TRect area{0, 0, 10, 10};
  control.InvalidateRect(&area, false);
  control.Update();
  EXPECT_EQ(control.Ids(), (std::vector<std::uint32_t>{WM_PAINT}));
}

TEST_F(ControlWindowTest, PaintingWaitsWhileRedrawIsOff) {
  control.Update();
  control.Perform(WM_SETREDRAW, 0);
  EXPECT_TRUE(control.RedrawSuspended());
  control.paints.clear();
  control.Invalidate();
  control.Update();
  EXPECT_TRUE(control.paints.empty());
  control.Perform(WM_SETREDRAW, 1);
  control.Update();
  EXPECT_EQ(control.paints.size(), 1u);
}

// Rows of 10 pixels, each in its own grey, so that moved rows can be found.
void DrawBands(TestControl& c) {
  TCanvas& k = c.Canvas();
  for (int band = 0; band < 10; ++band) {
    k.Brush.Color = RGB(band * 20, band * 20, band * 20);
    k.FillRect({0, band * 10, 200, band * 10 + 10});
  }
}
int BandAt(const QImage& image, int x, int y) {
  return image.pixelColor(x, y).red() / 20;
}

TEST_F(ControlWindowTest, ScrollingMovesPixelsAndPaintsTheUncoveredBand) {
  control.Update();
  DrawBands(control);
  control.paints.clear();
  // Scroll the area below a 10-pixel top margin up by two bands.
  const TRect clip{0, 10, 200, 100};
  TRect uncovered;
  ASSERT_EQ(control.ScrollWindowEx(0, -20, nullptr, &clip, &uncovered, SW_INVALIDATE), 1);
  EXPECT_EQ(uncovered, (TRect{0, 80, 200, 100}));
  QImage image = control.Surface();
  EXPECT_EQ(BandAt(image, 5, 5), 0);   // the margin stays
  EXPECT_EQ(BandAt(image, 5, 15), 3);  // band 3 moved up to where band 1 was
  EXPECT_EQ(BandAt(image, 5, 75), 9);
  control.Update();
  ASSERT_EQ(control.paints.size(), 1u);
  EXPECT_EQ(control.paints[0], uncovered);
  EXPECT_EQ(control.Surface().pixelColor(5, 85), QColor(Qt::blue));
}

TEST_F(ControlWindowTest, ScrollingSidewaysAndDown) {
  control.Update();
  DrawBands(control);
  TRect uncovered;
  control.ScrollWindowEx(0, 10, nullptr, nullptr, &uncovered, 0);
  EXPECT_EQ(uncovered, (TRect{0, 0, 200, 10}));
  EXPECT_EQ(BandAt(control.Surface(), 5, 95), 8);

  // Sideways inside a scroll rectangle: only its pixels move.
  TCanvas& k = control.Canvas();
  k.Brush.Color = clRed;
  k.FillRect({100, 0, 110, 100});
  const TRect area{50, 0, 200, 100};
  control.ScrollWindowEx(-40, 0, &area, nullptr, &uncovered, 0);
  EXPECT_EQ(uncovered, (TRect{160, 0, 200, 100}));
  QImage image = control.Surface();
  EXPECT_EQ(image.pixelColor(60, 50), QColor(Qt::red));
  EXPECT_NE(image.pixelColor(100, 50), QColor(Qt::red));
}

TEST_F(ControlWindowTest, AreaWaitingToBePaintedMovesWithItsPixels) {
  control.Update();
  control.paints.clear();
  const TRect row{0, 50, 200, 60};
  control.InvalidateRect(&row, false);
  control.ScrollWindowEx(0, -20, nullptr, nullptr, nullptr, 0);
  control.Update();
  ASSERT_EQ(control.paints.size(), 1u);
  EXPECT_EQ(control.paints[0], (TRect{0, 30, 200, 40}));
}

TEST_F(ControlWindowTest, ResizePaintsTheNewAreaOrAllAsTheClassAsks) {
  for (bool all : {true, false}) {
    TestControl c;
    c.repaint_all_on_resize = all;
    c.Create(200, 100);
    c.Update();
    c.paints.clear();
    c.SetBounds(0, 0, 250, 100);
    ASSERT_EQ(c.Of(WM_SIZE).size(), 1u);
    EXPECT_EQ(LOWORD(c.Of(WM_SIZE)[0].LParam), 250);
    EXPECT_EQ(HIWORD(c.Of(WM_SIZE)[0].LParam), 100);
    c.Update();
    ASSERT_EQ(c.paints.size(), 1u);
    EXPECT_EQ(c.paints[0], all ? (TRect{0, 0, 250, 100}) : (TRect{200, 0, 250, 100}));
    // Shrinking uncovers nothing.
    c.paints.clear();
    c.SetBounds(0, 0, 250, 90);
    c.Update();
    EXPECT_EQ(c.paints.size(), all ? 1u : 0u);
  }
}

TEST_F(ControlWindowTest, CaretShowsWhenEveryHideIsAnswered) {
  EXPECT_FALSE(control.ShowCaret());  // no caret yet
  ASSERT_TRUE(control.CreateCaret(2, 14));
  EXPECT_TRUE(control.CaretExists());
  EXPECT_FALSE(control.CaretVisible());  // created hidden
  EXPECT_TRUE(control.ShowCaret());
  EXPECT_TRUE(control.CaretVisible());
  control.HideCaret();
  control.HideCaret();
  control.ShowCaret();
  EXPECT_FALSE(control.CaretVisible());
  control.ShowCaret();
  EXPECT_TRUE(control.CaretVisible());
  control.ShowCaret();  // an extra show does not bank a hide
  control.HideCaret();
  EXPECT_FALSE(control.CaretVisible());

  TPoint p;
  ASSERT_TRUE(control.SetCaretPos(30, 40));
  ASSERT_TRUE(control.GetCaretPos(p));
  EXPECT_EQ(p, (TPoint{30, 40}));

  ASSERT_TRUE(control.DestroyCaret());
  EXPECT_FALSE(control.CaretExists());
  EXPECT_FALSE(control.GetCaretPos(p));
  EXPECT_FALSE(control.DestroyCaret());
}

TEST_F(ControlWindowTest, CaretIsDrawnOverTheSurfaceNotIntoIt) {
  control.Update();
  control.CreateCaret(2, 14);
  control.SetCaretPos(30, 40);
  control.ShowCaret();
  QImage shown = ClientWidget(control)->grab().toImage();
  // Blue inverted is yellow; the surface itself keeps its blue.
  EXPECT_EQ(shown.pixelColor(31, 45), QColor(Qt::yellow));
  EXPECT_EQ(shown.pixelColor(32, 45), QColor(Qt::blue));
  EXPECT_EQ(control.Surface().pixelColor(31, 45), QColor(Qt::blue));
  control.HideCaret();
  shown = ClientWidget(control)->grab().toImage();
  EXPECT_EQ(shown.pixelColor(31, 45), QColor(Qt::blue));
}

TEST_F(ControlWindowTest, CaretBlinksAtTheFlashRateAndShowsAtOnceWhenMoved) {
  QStyleHints* hints = QGuiApplication::styleHints();
  const int flash = hints->cursorFlashTime();
  hints->setCursorFlashTime(100);
  control.Update();
  control.CreateCaret(2, 14);
  control.SetCaretPos(30, 40);
  control.ShowCaret();
  auto caret_drawn = [&] {
    return ClientWidget(control)->grab().toImage().pixelColor(31, 45) == QColor(Qt::yellow);
  };
  EXPECT_TRUE(caret_drawn());
  EXPECT_TRUE(QTest::qWaitFor([&] { return !caret_drawn(); }, 1000));
  control.SetCaretPos(30, 40);
  EXPECT_TRUE(caret_drawn());
  EXPECT_TRUE(control.CaretVisible());  // blinking never hides it for the counting
  hints->setCursorFlashTime(flash);
}

TEST_F(ControlWindowTest, ScrollBarsTakeTheirPlaceFromTheClientArea) {
  TestControl bars(WS_VSCROLL | WS_HSCROLL);
  bars.Create(200, 100);
  const int extent = GetSystemMetrics(SM_CXVSCROLL);
  ASSERT_GT(extent, 0);
  EXPECT_EQ(bars.ClientWidth(), 200 - extent);
  EXPECT_EQ(bars.ClientHeight(), 100 - GetSystemMetrics(SM_CYHSCROLL));
  EXPECT_EQ(bars.Width(), 200);
  EXPECT_TRUE(ControlScrollBar(bars, SB_VERT)->isVisibleTo(ControlWidget(bars)));
  EXPECT_FALSE(ControlScrollBar(control, SB_VERT)->isVisibleTo(ControlWidget(control)));
}

TEST_F(ControlWindowTest, ScrollInfoKeepsThePositionInsideTheRange) {
  TestControl bars(WS_VSCROLL);
  bars.Create(200, 100);
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMin = 0;
  info.nMax = 100;
  info.nPage = 10;
  info.nPos = 95;
  EXPECT_EQ(bars.SetScrollInfo(SB_VERT, info, true), 91);  // the last position is max - page + 1
  QScrollBar* bar = ControlScrollBar(bars, SB_VERT);
  EXPECT_EQ(bar->maximum(), 91);
  EXPECT_EQ(bar->pageStep(), 10);
  EXPECT_EQ(bar->value(), 91);
  EXPECT_TRUE(bar->isEnabled());
  EXPECT_EQ(bars.SetScrollPos(SB_VERT, 7, true), 91);
  TScrollInfo read;
  read.fMask = SIF_ALL;
  ASSERT_TRUE(bars.GetScrollInfo(SB_VERT, read));
  EXPECT_EQ(read.nPos, 7);
  EXPECT_EQ(read.nMax, 100);
  EXPECT_EQ(read.nPage, 10u);
  EXPECT_EQ(read.nTrackPos, 7);
  // A range the page covers leaves nothing to scroll.
  info.nMax = 5;
  bars.SetScrollInfo(SB_VERT, info, true);
  EXPECT_FALSE(bar->isEnabled());
  EXPECT_EQ(bars.GetScrollPos(SB_VERT), 0);
}

TEST_F(ControlWindowTest, PostedMessagesArriveFromTheEventLoop) {
  control.PostMessage(WM_USER + 1, 2, 3);
  EXPECT_TRUE(control.Of(WM_USER + 1).empty());
  QCoreApplication::processEvents();
  ASSERT_EQ(control.Of(WM_USER + 1).size(), 1u);
  EXPECT_EQ(control.Of(WM_USER + 1)[0].LParam, 3);
}

TEST_F(ControlWindowTest, PropertyChangesNotifyTheControl) {
  TFont font = control.Font();
  font.Height = -20;
  control.SetFont(font);
  control.SetFont(font);  // unchanged: no second notice
  control.SetColor(clYellow);
  control.SetCtl3D(false);
  EXPECT_EQ(control.Of(CM_FONTCHANGED).size(), 1u);
  EXPECT_EQ(control.Of(CM_COLORCHANGED).size(), 1u);
  EXPECT_EQ(control.Of(CM_CTL3DCHANGED).size(), 1u);
  // A colour change repaints with the new background.
  control.Update();
  EXPECT_EQ(control.Of(WM_ERASEBKGND).size(), 1u);
}

TEST(WindowlessControlTest, NothingThatNeedsAWindowHappens) {
  testing::App();
  TestControl control;
  control.SetBounds(0, 0, 100, 50);
  EXPECT_FALSE(control.HandleAllocated());
  EXPECT_EQ(control.Width(), 100);
  EXPECT_EQ(control.ClientWidth(), 100);

  TCanvas& k = control.Canvas();
  EXPECT_FALSE(k.HandleAllocated());
  k.FillRect({0, 0, 10, 10});
  k.ExtTextOut(0, 0, ETO_OPAQUE, nullptr, "abc", 8);
  k.MoveTo(0, 0);
  k.LineTo(5, 5);
  EXPECT_EQ(k.ClipRect(), TRect{});
  EXPECT_TRUE(control.Surface().isNull());

  control.Invalidate();
  control.Update();
  EXPECT_TRUE(control.paints.empty());
  TRect update{1, 2, 3, 4};
  EXPECT_EQ(control.ScrollWindowEx(0, 10, nullptr, nullptr, &update, SW_INVALIDATE), 0);
  EXPECT_EQ(update, TRect{});
  EXPECT_FALSE(control.CreateCaret(2, 10));
  EXPECT_FALSE(control.ShowCaret());
  EXPECT_FALSE(control.SetCaretPos(1, 1));
  TScrollInfo info;
  info.fMask = SIF_ALL;
  info.nMax = 10;
  EXPECT_EQ(control.SetScrollInfo(SB_VERT, info, true), 0);
  EXPECT_FALSE(control.GetScrollInfo(SB_VERT, info));
  control.SetFocus();
  EXPECT_FALSE(control.Focused());
  control.PostMessage(WM_USER);
  control.SetImeCompositionWindow({1, 1}, control.Font());
  QCoreApplication::processEvents();
  EXPECT_TRUE(control.Of(WM_USER).empty());

  // Messages still reach the handlers.
  control.Perform(WM_USER + 2);
  EXPECT_EQ(control.Of(WM_USER + 2).size(), 1u);
}

TEST(WindowlessControlTest, AfterDestroyHandleTheControlKeepsItsProperties) {
  testing::App();
  TestControl control;
  control.Create(150, 60);
  control.SetCursor(crIBeam);
  control.CreateCaret(2, 10);
  control.DestroyHandle();
  EXPECT_FALSE(control.HandleAllocated());
  EXPECT_FALSE(control.CaretExists());
  EXPECT_EQ(control.Width(), 150);
  EXPECT_EQ(control.Cursor(), crIBeam);
  control.Canvas().FillRect({0, 0, 5, 5});
  control.HandleNeeded();
  EXPECT_TRUE(control.HandleAllocated());
  EXPECT_EQ(control.ClientWidth(), 150);
}

TEST(WindowlessControlTest, AParentThatDeletesTheWidgetLeavesTheControlWithoutAWindow) {
  testing::App();
  auto parent = std::make_unique<QWidget>();
  TestControl control;
  control.SetBounds(0, 0, 80, 40);
  SetParentWidget(control, parent.get());
  ASSERT_TRUE(control.HandleAllocated());
  EXPECT_EQ(ControlWidget(control)->parentWidget(), parent.get());
  parent.reset();
  EXPECT_FALSE(control.HandleAllocated());
  control.Canvas().FillRect({0, 0, 5, 5});
  control.Invalidate();
  control.HandleNeeded();  // a new window, without a parent
  EXPECT_TRUE(control.HandleAllocated());
}

}  // namespace
}  // namespace platform
