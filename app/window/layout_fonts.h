// The layout names Windows font faces; here each is drawn with the font that
// stands in for it on this desktop, through the platform's one substitution
// table ("ＭＳ ゴシック" → IPAGothic, "ＭＳ Ｐゴシック" → IPAPGothic, ...).
#pragma once

#include <QFont>
#include <QString>

namespace app {

// The font of a layout entry: its face, its character height in pixels.
QFont LayoutFont(const QString& layout_face, int pixel_size, bool bold = false);

}  // namespace app
