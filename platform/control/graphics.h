// Colours, fonts, brushes and pens as the control describes them, in plain
// values; the window-system side turns them into its own objects.
#pragma once

#include <cstdint>
#include <string>

#include "platform/colour.h"
#include "platform/font_style.h"

namespace platform {

// Colours (0x00BBGGRR or a system colour) and font-style sets are the ones
// the appearance settings keep; the canvas takes them as they are.

// The desktop's current colour of every system colour role, for
// ColorToRGB. Needs the application object.
TSystemPalette DesktopPalette();

// Screen resolution the point sizes of fonts are measured against.
inline constexpr int kPixelsPerInch = 96;

// a * b / c rounded half away from zero.
inline constexpr int MulDivRounded(int a, int b, int c) {
  long long n = static_cast<long long>(a) * b;
  long long q = (n < 0 ? n - c / 2 : n + c / 2) / c;
  return static_cast<int>(q);
}

// A font by name (CP932 bytes, as the layouts name it) and height. A negative
// height is the character height in pixels without the internal leading, a
// positive one the whole cell height: the convention of the layouts.
struct TFont {
  std::string Name = "MS Sans Serif";
  int Height = -11;
  TColor Color = clWindowText;
  TFontStyles Style;

  // Size in points, from and to Height, rounded to the nearest whole.
  int Size() const { return -MulDivRounded(Height, 72, kPixelsPerInch); }
  void SetSize(int points) { Height = -MulDivRounded(points, kPixelsPerInch, 72); }

  friend bool operator==(const TFont&, const TFont&) = default;
};

enum class TBrushStyle { bsSolid, bsClear };
inline constexpr TBrushStyle bsSolid = TBrushStyle::bsSolid;
inline constexpr TBrushStyle bsClear = TBrushStyle::bsClear;

// Fills rectangles and, while solid, the cells behind text.
struct TBrush {
  TColor Color = clWhite;
  TBrushStyle Style = bsSolid;
};

enum class TPenStyle { psSolid, psDash, psDot, psClear };
inline constexpr TPenStyle psSolid = TPenStyle::psSolid;
inline constexpr TPenStyle psDash = TPenStyle::psDash;
inline constexpr TPenStyle psDot = TPenStyle::psDot;
inline constexpr TPenStyle psClear = TPenStyle::psClear;

struct TPen {
  TColor Color = clBlack;
  int Width = 1;
  TPenStyle Style = psSolid;
};

// Metrics of a font, in pixels.
struct TTextMetric {
  int tmHeight = 0;  // ascent + descent
  int tmAscent = 0;
  int tmDescent = 0;
  int tmInternalLeading = 0;
  int tmExternalLeading = 0;
  int tmAveCharWidth = 0;  // the width of a single-byte cell
  int tmMaxCharWidth = 0;
};

// Options of text output.
inline constexpr unsigned ETO_OPAQUE = 2;   // fill the rectangle with the brush colour first
inline constexpr unsigned ETO_CLIPPED = 4;  // keep the text inside the rectangle

}  // namespace platform
