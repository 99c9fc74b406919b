#include "platform/colour.h"

namespace platform {

TSystemPalette TSystemPalette::Defaults() {
  TSystemPalette p;
  p[COLOR_SCROLLBAR] = RGB(0xC8, 0xC8, 0xC8);
  p[COLOR_BACKGROUND] = RGB(0x00, 0x00, 0x00);
  p[COLOR_ACTIVECAPTION] = RGB(0x99, 0xB4, 0xD1);
  p[COLOR_INACTIVECAPTION] = RGB(0xBF, 0xCD, 0xDB);
  p[COLOR_MENU] = RGB(0xF0, 0xF0, 0xF0);
  p[COLOR_WINDOW] = RGB(0xFF, 0xFF, 0xFF);
  p[COLOR_WINDOWFRAME] = RGB(0x64, 0x64, 0x64);
  p[COLOR_MENUTEXT] = RGB(0x00, 0x00, 0x00);
  p[COLOR_WINDOWTEXT] = RGB(0x00, 0x00, 0x00);
  p[COLOR_CAPTIONTEXT] = RGB(0x00, 0x00, 0x00);
  p[COLOR_ACTIVEBORDER] = RGB(0xB4, 0xB4, 0xB4);
  p[COLOR_INACTIVEBORDER] = RGB(0xF4, 0xF7, 0xFC);
  p[COLOR_APPWORKSPACE] = RGB(0xAB, 0xAB, 0xAB);
  p[COLOR_HIGHLIGHT] = RGB(0x00, 0x78, 0xD7);
  p[COLOR_HIGHLIGHTTEXT] = RGB(0xFF, 0xFF, 0xFF);
  p[COLOR_BTNFACE] = RGB(0xF0, 0xF0, 0xF0);
  p[COLOR_BTNSHADOW] = RGB(0xA0, 0xA0, 0xA0);
  p[COLOR_GRAYTEXT] = RGB(0x6D, 0x6D, 0x6D);
  p[COLOR_BTNTEXT] = RGB(0x00, 0x00, 0x00);
  p[COLOR_INACTIVECAPTIONTEXT] = RGB(0x00, 0x00, 0x00);
  p[COLOR_BTNHIGHLIGHT] = RGB(0xFF, 0xFF, 0xFF);
  p[COLOR_3DDKSHADOW] = RGB(0x69, 0x69, 0x69);
  p[COLOR_3DLIGHT] = RGB(0xE3, 0xE3, 0xE3);
  p[COLOR_INFOTEXT] = RGB(0x00, 0x00, 0x00);
  p[COLOR_INFOBK] = RGB(0xFF, 0xFF, 0xE1);
  return p;
}

TColor ColorToRGB(TColor color, const TSystemPalette& palette) {
  if (IsSystemColor(color)) {
    return palette[static_cast<TSystemColorRole>(color & ~kSystemColorFlag)];
  }
  if ((color & kSystemColorFlag) != 0) return clBlack;
  return color;
}

}  // namespace platform
