// Colours, fonts, brushes and pens as the control describes them, in plain
// values; the window-system side turns them into its own objects.
#pragma once

#include <cstdint>
#include <string>

namespace platform {

// A colour as the layouts store it: 0x00BBGGRR, or a system colour
// (0x80000000 | index) that stands for the desktop's current colour.
using TColor = std::int32_t;

inline constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}

inline constexpr TColor clBlack = 0x000000;
inline constexpr TColor clMaroon = 0x000080;
inline constexpr TColor clGreen = 0x008000;
inline constexpr TColor clOlive = 0x008080;
inline constexpr TColor clNavy = 0x800000;
inline constexpr TColor clPurple = 0x800080;
inline constexpr TColor clTeal = 0x808000;
inline constexpr TColor clGray = 0x808080;
inline constexpr TColor clSilver = 0xC0C0C0;
inline constexpr TColor clRed = 0x0000FF;
inline constexpr TColor clLime = 0x00FF00;
inline constexpr TColor clYellow = 0x00FFFF;
inline constexpr TColor clBlue = 0xFF0000;
inline constexpr TColor clFuchsia = 0xFF00FF;
inline constexpr TColor clAqua = 0xFFFF00;
inline constexpr TColor clWhite = 0xFFFFFF;

inline constexpr TColor SystemColor(int index) {
  return static_cast<TColor>(0x80000000u | static_cast<unsigned>(index));
}
inline constexpr TColor clScrollBar = SystemColor(0);
inline constexpr TColor clBackground = SystemColor(1);
inline constexpr TColor clWindow = SystemColor(5);
inline constexpr TColor clWindowFrame = SystemColor(6);
inline constexpr TColor clWindowText = SystemColor(8);
inline constexpr TColor clHighlight = SystemColor(13);
inline constexpr TColor clHighlightText = SystemColor(14);
inline constexpr TColor clBtnFace = SystemColor(15);
inline constexpr TColor clBtnShadow = SystemColor(16);
inline constexpr TColor clGrayText = SystemColor(17);
inline constexpr TColor clBtnText = SystemColor(18);
inline constexpr TColor clBtnHighlight = SystemColor(20);
inline constexpr TColor clInfoText = SystemColor(23);
inline constexpr TColor clInfoBk = SystemColor(24);

// The colour's red, green and blue as 0x00BBGGRR, system colours resolved
// against the desktop's current palette. Needs the application object.
TColor ColorToRGB(TColor color);

// Font styles, combined as a set of bits.
using TFontStyles = unsigned;
inline constexpr TFontStyles fsBold = 1;
inline constexpr TFontStyles fsItalic = 2;
inline constexpr TFontStyles fsUnderline = 4;
inline constexpr TFontStyles fsStrikeOut = 8;

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
  TFontStyles Style = 0;

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
