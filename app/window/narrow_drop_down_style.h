// The window's own style with a narrow drop-down button, for the layout's
// small date picker: its date must stay readable in its 81 pixels.
#pragma once

#include <QProxyStyle>

namespace app {

class NarrowDropDownStyle : public QProxyStyle {
 public:
  static constexpr int kButtonWidth = 15;

  NarrowDropDownStyle();

  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override;
};

}  // namespace app
