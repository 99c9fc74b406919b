#include "app/window/layout_fonts.h"

#include <QFontDatabase>

namespace app {

QString SubstituteFace(const QString& layout_face) {
  if (layout_face == QStringLiteral(u"ＭＳ ゴシック")) return QStringLiteral("IPAGothic");
  if (layout_face == QStringLiteral(u"ＭＳ Ｐゴシック")) return QStringLiteral("IPAPGothic");
  if (layout_face == QStringLiteral("FixedSys")) {
    return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
  }
  return layout_face;
}

QFont LayoutFont(const QString& layout_face, int pixel_size, bool bold) {
  QFont font(SubstituteFace(layout_face));
  font.setPixelSize(pixel_size);
  font.setBold(bold);
  return font;
}

}  // namespace app
