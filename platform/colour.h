// Colour values as the settings store them: 0x00BBGGRR for a plain colour,
// or a system colour that stands for whatever the desktop's theme uses for
// that role (window background, window text, selection, ...). System colours
// are resolved against a palette only when something is drawn.
#pragma once

#include <array>
#include <cstdint>

namespace platform {

using TColor = std::int32_t;

constexpr TColor RGB(int r, int g, int b) {
  return static_cast<TColor>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(TColor c) {
  return c & 0xFF;
}
constexpr int GetGValue(TColor c) {
  return (c >> 8) & 0xFF;
}
constexpr int GetBValue(TColor c) {
  return (c >> 16) & 0xFF;
}

// The roles of the system colours, numbered as the stored values number them.
enum TSystemColorRole : int {
  COLOR_SCROLLBAR = 0,
  COLOR_BACKGROUND = 1,
  COLOR_ACTIVECAPTION = 2,
  COLOR_INACTIVECAPTION = 3,
  COLOR_MENU = 4,
  COLOR_WINDOW = 5,
  COLOR_WINDOWFRAME = 6,
  COLOR_MENUTEXT = 7,
  COLOR_WINDOWTEXT = 8,
  COLOR_CAPTIONTEXT = 9,
  COLOR_ACTIVEBORDER = 10,
  COLOR_INACTIVEBORDER = 11,
  COLOR_APPWORKSPACE = 12,
  COLOR_HIGHLIGHT = 13,
  COLOR_HIGHLIGHTTEXT = 14,
  COLOR_BTNFACE = 15,
  COLOR_BTNSHADOW = 16,
  COLOR_GRAYTEXT = 17,
  COLOR_BTNTEXT = 18,
  COLOR_INACTIVECAPTIONTEXT = 19,
  COLOR_BTNHIGHLIGHT = 20,
  COLOR_3DDKSHADOW = 21,
  COLOR_3DLIGHT = 22,
  COLOR_INFOTEXT = 23,
  COLOR_INFOBK = 24,
  kSystemColorRoleCount = 25,
};

// A system colour is the role number with the top byte set.
constexpr TColor kSystemColorFlag = static_cast<TColor>(0xFF000000u);
constexpr TColor SystemColor(TSystemColorRole role) {
  return kSystemColorFlag | role;
}

constexpr TColor clBlack = RGB(0x00, 0x00, 0x00);
constexpr TColor clMaroon = RGB(0x80, 0x00, 0x00);
constexpr TColor clGreen = RGB(0x00, 0x80, 0x00);
constexpr TColor clOlive = RGB(0x80, 0x80, 0x00);
constexpr TColor clNavy = RGB(0x00, 0x00, 0x80);
constexpr TColor clPurple = RGB(0x80, 0x00, 0x80);
constexpr TColor clTeal = RGB(0x00, 0x80, 0x80);
constexpr TColor clGray = RGB(0x80, 0x80, 0x80);
constexpr TColor clSilver = RGB(0xC0, 0xC0, 0xC0);
constexpr TColor clRed = RGB(0xFF, 0x00, 0x00);
constexpr TColor clLime = RGB(0x00, 0xFF, 0x00);
constexpr TColor clYellow = RGB(0xFF, 0xFF, 0x00);
constexpr TColor clBlue = RGB(0x00, 0x00, 0xFF);
constexpr TColor clFuchsia = RGB(0xFF, 0x00, 0xFF);
constexpr TColor clAqua = RGB(0x00, 0xFF, 0xFF);
constexpr TColor clWhite = RGB(0xFF, 0xFF, 0xFF);

constexpr TColor clScrollBar = SystemColor(COLOR_SCROLLBAR);
constexpr TColor clBackground = SystemColor(COLOR_BACKGROUND);
constexpr TColor clActiveCaption = SystemColor(COLOR_ACTIVECAPTION);
constexpr TColor clInactiveCaption = SystemColor(COLOR_INACTIVECAPTION);
constexpr TColor clMenu = SystemColor(COLOR_MENU);
constexpr TColor clWindow = SystemColor(COLOR_WINDOW);
constexpr TColor clWindowFrame = SystemColor(COLOR_WINDOWFRAME);
constexpr TColor clMenuText = SystemColor(COLOR_MENUTEXT);
constexpr TColor clWindowText = SystemColor(COLOR_WINDOWTEXT);
constexpr TColor clCaptionText = SystemColor(COLOR_CAPTIONTEXT);
constexpr TColor clActiveBorder = SystemColor(COLOR_ACTIVEBORDER);
constexpr TColor clInactiveBorder = SystemColor(COLOR_INACTIVEBORDER);
constexpr TColor clAppWorkSpace = SystemColor(COLOR_APPWORKSPACE);
constexpr TColor clHighlight = SystemColor(COLOR_HIGHLIGHT);
constexpr TColor clHighlightText = SystemColor(COLOR_HIGHLIGHTTEXT);
constexpr TColor clBtnFace = SystemColor(COLOR_BTNFACE);
constexpr TColor clBtnShadow = SystemColor(COLOR_BTNSHADOW);
constexpr TColor clGrayText = SystemColor(COLOR_GRAYTEXT);
constexpr TColor clBtnText = SystemColor(COLOR_BTNTEXT);
constexpr TColor clInactiveCaptionText = SystemColor(COLOR_INACTIVECAPTIONTEXT);
constexpr TColor clBtnHighlight = SystemColor(COLOR_BTNHIGHLIGHT);
constexpr TColor cl3DDkShadow = SystemColor(COLOR_3DDKSHADOW);
constexpr TColor cl3DLight = SystemColor(COLOR_3DLIGHT);
constexpr TColor clInfoText = SystemColor(COLOR_INFOTEXT);
constexpr TColor clInfoBk = SystemColor(COLOR_INFOBK);

// "No colour" and "the owner's colour": never resolved to a plain colour.
constexpr TColor clNone = 0x1FFFFFFF;
constexpr TColor clDefault = 0x20000000;

constexpr bool IsSystemColor(TColor c) {
  return (c & kSystemColorFlag) == kSystemColorFlag &&
         (c & ~kSystemColorFlag) < kSystemColorRoleCount;
}

// The plain colour of every system colour role. The window layer fills one
// from the desktop's theme; Defaults() is the classic light theme, which
// tests and a desktop without a theme use.
struct TSystemPalette {
  std::array<TColor, kSystemColorRoleCount> colors{};

  TColor operator[](TSystemColorRole role) const { return colors[role]; }
  TColor& operator[](TSystemColorRole role) { return colors[role]; }

  static TSystemPalette Defaults();
};

// The plain colour that `color` stands for: system colours through
// `palette`, plain colours as they are. Unknown system roles give black.
TColor ColorToRGB(TColor color, const TSystemPalette& palette = TSystemPalette::Defaults());

}  // namespace platform
