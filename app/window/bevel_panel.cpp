#include "app/window/bevel_panel.h"

#include <QPainter>
#include <QPalette>

namespace app {
namespace {

// The classic button-face highlight and shadow the layout was drawn with.
const QColor kLight(255, 255, 255);
const QColor kShadow(128, 128, 128);

// Draws `width` nested frames, light or shadow on the top and left edges,
// and shrinks `rect` past them.
void DrawBevel(QPainter& painter, QRect& rect, Bevel bevel, int width) {
  if (bevel == Bevel::bvNone) return;
  const QColor& light = kLight;
  const QColor& shadow = kShadow;
  const QColor top_left = bevel == Bevel::bvRaised ? light : shadow;
  const QColor bottom_right = bevel == Bevel::bvRaised ? shadow : light;
  for (int i = 0; i < width && rect.width() > 0 && rect.height() > 0; ++i) {
    painter.setPen(top_left);
    painter.drawLine(rect.left(), rect.bottom(), rect.left(), rect.top());
    painter.drawLine(rect.left(), rect.top(), rect.right(), rect.top());
    painter.setPen(bottom_right);
    painter.drawLine(rect.right(), rect.top(), rect.right(), rect.bottom());
    painter.drawLine(rect.right(), rect.bottom(), rect.left(), rect.bottom());
    rect.adjust(1, 1, -1, -1);
  }
}

int BevelSize(Bevel bevel, int width) {
  return bevel == Bevel::bvNone ? 0 : width;
}

}  // namespace

BevelPanel::BevelPanel(QWidget* parent, const char* name, const Style& style)
    : QWidget(parent), style_(style) {
  setObjectName(QString::fromLatin1(name));
  QPalette palette = this->palette();
  palette.setColor(QPalette::Window, style_.color);
  setPalette(palette);
}

QRect BevelPanel::AlignRect() const {
  const int inset =
      BevelSize(style_.outer, style_.bevel_width) + BevelSize(style_.inner, style_.bevel_width);
  return rect().adjusted(inset, inset, -inset, -inset);
}

void BevelPanel::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  QRect area = rect();
  painter.fillRect(area, style_.color);
  DrawBevel(painter, area, style_.outer, style_.bevel_width);
  DrawBevel(painter, area, style_.inner, style_.bevel_width);
}

}  // namespace app
