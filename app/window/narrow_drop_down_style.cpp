#include "app/window/narrow_drop_down_style.h"

#include <QStyleOptionComplex>

#include "ui/layout_look.h"

namespace app {

// Over the window's own style, never the desktop's.
NarrowDropDownStyle::NarrowDropDownStyle() : QProxyStyle(new ui::LayoutStyle) {}

QRect NarrowDropDownStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                          SubControl part, const QWidget* widget) const {
  if (control == CC_ComboBox && option) {
    const QRect frame = option->rect;
    if (part == SC_ComboBoxArrow) {
      return QRect(frame.right() - kButtonWidth + 1, frame.top(), kButtonWidth, frame.height());
    }
    if (part == SC_ComboBoxEditField) {
      // Inside the one-pixel frame, up to the button: ten digits of the
      // fixed-pitch face ("2000/08/09") need all of it.
      return QRect(frame.left() + 1, frame.top() + 2, frame.width() - kButtonWidth - 2,
                   frame.height() - 4);
    }
  }
  return QProxyStyle::subControlRect(control, option, part, widget);
}

}  // namespace app
