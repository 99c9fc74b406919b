#include "app/window/layout_fonts.h"

#include "app/window/cp932_text.h"
#include "platform/qt/qt_graphics.h"

namespace app {

QFont LayoutFont(const QString& layout_face, int pixel_size, bool bold) {
  platform::TFont font;
  font.Name = ToCp932(layout_face).value_or(std::string());
  font.Height = -pixel_size;
  if (bold) font.Style.Include(platform::fsBold);
  return platform::ToQFont(font);
}

}  // namespace app
