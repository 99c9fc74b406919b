// The window's look, the same on every desktop. The layout places its
// controls in fixed pixels on panels of fixed colours, so neither the colours
// nor the metrics of the desktop's theme may reach them: the program uses one
// widget style and one palette of its own, whatever the desktop sets.
#pragma once

#include <QPalette>
#include <QProxyStyle>
#include <QRect>

namespace ui {

// The colours the layout's controls were drawn with: the classic light
// system colours (window text black on white, grey button faces), the same
// in every colour group but the disabled one, which greys its texts.
QPalette LayoutPalette();

// Fusion, whose metrics fit the layout's pixels, with a group box drawn as on
// the platform the layout comes from (its etched frame line through the
// middle of its caption, the caption sitting in a gap of the line), a panel
// frame (the mask memo, the directory tree) made of whole device pixels, so
// that it stays visible at any scale, and a spin box's field reaching up to
// its buttons, so that the start value's eight digits fit. Where the
// keyboard is shows plainly from the start: a focused field is framed in the
// highlight colour, and a check box, radio button or list entry gets the
// classic dotted rectangle, black or white as its background asks.
class LayoutStyle : public QProxyStyle {
 public:
  LayoutStyle();

  void drawPrimitive(PrimitiveElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override;
  void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                          QPainter* painter, const QWidget* widget) const override;
  QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl part,
                       const QWidget* widget) const override;
  void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                   const QWidget* widget) const override;
};

// Gives the whole program the layout's style and palette (message boxes,
// hints and drop-down lists included) in place of the desktop theme's style,
// palettes and style sheet. Call it once the application exists, after the
// desktop's theme has been applied.
void UseLayoutLook();

}  // namespace ui
