// The window-system forms of the control's colours, fonts and pointer
// shapes. For the platform's Qt side and for app/, which lays out Qt widgets
// next to the controls.
#pragma once

#include <QColor>
#include <QCursor>
#include <QFont>

#include "platform/control/cursors.h"
#include "platform/control/graphics.h"

namespace platform {

QColor ToQColor(TColor color);

// The font with the layouts' Japanese and system font names replaced by the
// fonts this desktop has: "ＭＳ ゴシック" by IPAGothic, "ＭＳ Ｐゴシック" by
// IPAPGothic, "FixedSys" and "Courier New" by the system's fixed-pitch font,
// "MS Sans Serif" by the system's general font.
QFont ToQFont(const TFont& font);

// The shape of a cursor-table index; indexes that hold nothing give the arrow.
QCursor CursorFor(TCursor index);

}  // namespace platform
