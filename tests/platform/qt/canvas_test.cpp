// Text and lines on the control's surface, read back as pixels.
#include "platform/control/canvas.h"

#include <gtest/gtest.h>

#include "platform/qt/qt_graphics.h"
#include "test_control.h"

namespace platform {
namespace {

using testing::Sjis;
using testing::TestControl;

constexpr int kCell = 10;  // wider than any half-width glyph of the test font
constexpr int kHeight = 40;

class ControlCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    testing::App();
    control.Create(300, kHeight);
    TCanvas& c = control.Canvas();
    c.Brush.Color = clWhite;
    c.Brush.Style = bsSolid;
    c.FillRect(control.ClientRect());
    c.Font.Name = Sjis("ＭＳ ゴシック");
    c.Font.Height = -13;
    c.Font.Color = clBlack;
    c.Font.Style = {};
  }

  // Draws `text` at the top-left with one cell per byte.
  void Draw(std::string_view text, unsigned options = 0, const TRect* rect = nullptr) {
    control.Canvas().ExtTextOut(0, 0, options, rect, text, kCell);
  }

  bool Ink(const QImage& image, int left, int right) const {
    for (int x = left; x < right; ++x)
      for (int y = 0; y < kHeight; ++y)
        if (qGray(image.pixel(x, y)) < 128) return true;
    return false;
  }
  bool InkInCell(const QImage& image, int cell) const {
    return Ink(image, cell * kCell, (cell + 1) * kCell);
  }

  TestControl control;
};

TEST_F(ControlCanvasTest, EveryByteAdvancesOneCell) {
  Draw("I I  I");
  QImage image = control.Surface();
  const bool expected[] = {true, false, true, false, false, true, false};
  for (int cell = 0; cell < 7; ++cell) EXPECT_EQ(InkInCell(image, cell), expected[cell]) << cell;
}

TEST_F(ControlCanvasTest, DoubleByteCharacterCoversTwoCells) {
  Draw(Sjis("あI"));
  QImage image = control.Surface();
  EXPECT_TRUE(InkInCell(image, 0));
  EXPECT_TRUE(InkInCell(image, 1));
  // The letter after it starts in the third cell, not the second.
  EXPECT_FALSE(Ink(image, 14, 2 * kCell));
  EXPECT_TRUE(InkInCell(image, 2));
  EXPECT_FALSE(InkInCell(image, 3));
}

TEST_F(ControlCanvasTest, AdvancesComeFromTheArrayAndItsLastEntry) {
  const int dx[] = {30, 5};
  control.Canvas().ExtTextOut(0, 0, 0, nullptr, "III", dx);
  QImage image = control.Surface();
  EXPECT_TRUE(Ink(image, 0, 5));
  EXPECT_FALSE(Ink(image, 10, 30));
  EXPECT_TRUE(Ink(image, 30, 35));  // second byte at 30
  EXPECT_TRUE(Ink(image, 35, 40));  // third at 35: past the array, its last entry
}

TEST_F(ControlCanvasTest, BytesThatAreNoCharacterShowAMark) {
  for (const std::string& text : {std::string("\x80"), std::string("\xFF"), std::string("\x82"),
                                  std::string("\x09"), std::string("\x82\x20", 2)}) {
    SetUp();
    Draw(text);
    EXPECT_TRUE(InkInCell(control.Surface(), 0)) << "byte " << int(uint8_t(text[0]));
  }
}

TEST_F(ControlCanvasTest, OpaqueFillsTheRectangleWithTheBrush) {
  control.Canvas().Brush.Color = clRed;
  const TRect box{5, 5, 60, 25};
  Draw("", ETO_OPAQUE, &box);
  QImage image = control.Surface();
  EXPECT_EQ(image.pixelColor(5, 5), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(59, 24), QColor(Qt::red));
  EXPECT_EQ(image.pixelColor(60, 24), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(4, 5), QColor(Qt::white));
}

TEST_F(ControlCanvasTest, ClippedKeepsTextInsideTheRectangle) {
  const TRect box{0, 0, 15, kHeight};
  Draw("III", ETO_CLIPPED, &box);
  EXPECT_FALSE(Ink(control.Surface(), 15, 40));
  SetUp();
  Draw("III", 0, &box);
  EXPECT_TRUE(InkInCell(control.Surface(), 2));
}

TEST_F(ControlCanvasTest, SolidBrushFillsTheCellsBehindTextOnly) {
  control.Canvas().Brush.Color = clBlue;
  Draw("II");
  QImage image = control.Surface();
  TTextMetric tm;
  ASSERT_TRUE(control.Canvas().GetTextMetrics(tm));
  EXPECT_EQ(image.pixelColor(2 * kCell - 1, 1), QColor(Qt::blue));
  EXPECT_EQ(image.pixelColor(2 * kCell, 1), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(1, tm.tmHeight), QColor(Qt::white));

  SetUp();
  control.Canvas().Brush.Style = bsClear;
  Draw("II");
  EXPECT_EQ(control.Surface().pixelColor(2 * kCell - 1, 1), QColor(Qt::white));
}

TEST_F(ControlCanvasTest, UnderlineRunsUnderEveryCell) {
  control.Canvas().Font.Style = TFontStyles{fsUnderline};
  Draw("I  I");
  QImage image = control.Surface();
  // Below the glyphs, ink in the blank cells in the middle.
  EXPECT_TRUE(Ink(image, 15, 25));
}

TEST_F(ControlCanvasTest, TextTakesTheFontColour) {
  control.Canvas().Font.Color = clRed;
  control.Canvas().Font.Height = -30;
  control.Canvas().ExtTextOut(0, 0, 0, nullptr, Sjis("■"), 20);
  QImage image = control.Surface();
  // The middle of a full block is solid text colour.
  EXPECT_EQ(image.pixelColor(10, 15), QColor(Qt::red));
}

TEST_F(ControlCanvasTest, MetricsOfTheFont) {
  TTextMetric tm;
  ASSERT_TRUE(control.Canvas().GetTextMetrics(tm));
  EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
  EXPECT_GE(tm.tmHeight, 13);
  EXPECT_GT(tm.tmAveCharWidth, 3);
  EXPECT_LE(tm.tmAveCharWidth, 8);  // a half-width cell of a 13-pixel font
  // Without a window there are no metrics.
  TestControl windowless;
  EXPECT_FALSE(windowless.Canvas().GetTextMetrics(tm));
  EXPECT_EQ(tm.tmHeight, 0);
}

TEST_F(ControlCanvasTest, LineToLeavesOutItsEndPoint) {
  TCanvas& c = control.Canvas();
  c.Pen.Color = clBlack;
  c.MoveTo(2, 2);
  c.LineTo(8, 2);
  c.LineTo(8, 8);  // starts on the pixel the first line left out
  c.MoveTo(20, 20);
  c.LineTo(24, 24);
  QImage image = control.Surface();
  for (int x = 2; x <= 8; ++x) EXPECT_EQ(image.pixelColor(x, 2), QColor(Qt::black)) << x;
  EXPECT_EQ(image.pixelColor(9, 2), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(8, 7), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(8, 8), QColor(Qt::white));
  EXPECT_EQ(image.pixelColor(23, 23), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(24, 24), QColor(Qt::white));
  EXPECT_EQ(c.PenPos(), (TPoint{24, 24}));
}

TEST_F(ControlCanvasTest, RectangleHasAPenOutlineAndABrushInside) {
  TCanvas& c = control.Canvas();
  c.Pen.Color = clBlack;
  c.Brush.Color = clLime;
  c.Rectangle({10, 10, 20, 16});
  QImage image = control.Surface();
  EXPECT_EQ(image.pixelColor(10, 10), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(19, 15), QColor(Qt::black));
  EXPECT_EQ(image.pixelColor(15, 12), QColor(Qt::green));
  EXPECT_EQ(image.pixelColor(20, 16), QColor(Qt::white));
}

TEST(ControlColourTest, LayoutColoursAndSystemColours) {
  testing::App();
  EXPECT_EQ(ToQColor(clNavy), QColor(0, 0, 0x80));
  EXPECT_EQ(ToQColor(RGB(1, 2, 3)), QColor(1, 2, 3));
  EXPECT_EQ(ToQColor(clWindow), QGuiApplication::palette().color(QPalette::Base));
  EXPECT_EQ(ColorToRGB(clWindowText, DesktopPalette()) & 0xFFFFFF,
            RGB(ToQColor(clWindowText).red(), ToQColor(clWindowText).green(),
                ToQColor(clWindowText).blue()));
}

TEST(ControlFontTest, LayoutNamesFindDesktopFonts) {
  testing::App();
  TFont gothic;
  gothic.Name = Sjis("ＭＳ ゴシック");
  gothic.Height = -13;
  gothic.Style = TFontStyles{fsBold, fsItalic};
  QFont q = ToQFont(gothic);
  EXPECT_EQ(q.families().value(0), "IPAGothic");
  EXPECT_EQ(q.pixelSize(), 13);
  EXPECT_TRUE(q.bold());
  EXPECT_TRUE(q.italic());
  TFont fixed;
  fixed.Name = "FixedSys";
  EXPECT_EQ(ToQFont(fixed).styleHint(), QFont::TypeWriter);

  TFont sized;
  sized.SetSize(9);
  EXPECT_EQ(sized.Height, -12);
  EXPECT_EQ(sized.Size(), 9);
}

}  // namespace
}  // namespace platform
