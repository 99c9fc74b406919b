#include "app/window/title_bar_drag.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace app {

TitleBarDrag::TitleBarDrag(QWidget* window) : QObject(window), window_(window) {}

void TitleBarDrag::Watch(QWidget* widget) {
  widget->installEventFilter(this);
}

void TitleBarDrag::StartMove(QPoint global_press) {
  QWindow* handle = window_->windowHandle();
  if (handle && handle->startSystemMove()) return;
  following_ = true;
  offset_ = global_press - window_->pos();
}

bool TitleBarDrag::eventFilter(QObject* watched, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseButtonPress:
      // Taken here, so that a press on a part of the bar is not handed on to
      // the bar as a second press.
      if (OnMouseDown) OnMouseDown(static_cast<QMouseEvent*>(event));
      return true;
    case QEvent::MouseButtonDblClick:
      if (static_cast<QMouseEvent*>(event)->button() != Qt::LeftButton) return true;
      following_ = false;
      if (OnDoubleClick) OnDoubleClick();
      return true;
    case QEvent::MouseMove:
      if (following_) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        window_->move(mouse->globalPosition().toPoint() - offset_);
        return true;
      }
      return false;
    case QEvent::MouseButtonRelease:
      if (following_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        following_ = false;
        return true;
      }
      return false;
    default:
      return QObject::eventFilter(watched, event);
  }
}

}  // namespace app
