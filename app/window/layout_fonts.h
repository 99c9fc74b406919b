// The layout names Windows font faces; here each is drawn with the font that
// stands in for it on this desktop.
#pragma once

#include <QFont>
#include <QString>

namespace app {

// The face that stands in for `layout_face` ("ＭＳ ゴシック" → IPAGothic,
// "ＭＳ Ｐゴシック" → IPAPGothic, "FixedSys" → the system's fixed font);
// a face not in the table is used as it is.
QString SubstituteFace(const QString& layout_face);

// The font of a layout entry: its face through the table, its size in pixels.
QFont LayoutFont(const QString& layout_face, int pixel_size, bool bold = false);

}  // namespace app
