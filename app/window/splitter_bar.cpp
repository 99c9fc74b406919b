#include "app/window/splitter_bar.h"

#include <QMouseEvent>

namespace app {

SplitterBar::SplitterBar(QWidget* parent, const char* name) : QWidget(parent) {
  setObjectName(QString::fromLatin1(name));
  setCursor(Qt::SplitVCursor);
}

void SplitterBar::mousePressEvent(QMouseEvent* event) {
  if (event->button() != Qt::LeftButton) return;
  dragging_ = true;
  press_y_ = event->globalPosition().toPoint().y();
}

void SplitterBar::mouseMoveEvent(QMouseEvent* event) {
  if (!dragging_) return;
  if (OnDrag) OnDrag(event->globalPosition().toPoint().y() - press_y_, false);
}

void SplitterBar::mouseReleaseEvent(QMouseEvent* event) {
  if (!dragging_ || event->button() != Qt::LeftButton) return;
  dragging_ = false;
  if (OnDrag) OnDrag(event->globalPosition().toPoint().y() - press_y_, true);
}

}  // namespace app
