#include "app/window/window_edges.h"

#include <QMouseEvent>
#include <QWidget>
#include <QWindow>

namespace app {
namespace {

// How far a corner's grip reaches along each side.
constexpr int kCornerReach = 16;

Qt::CursorShape ShapeFor(Qt::Edges edges) {
  const bool left = edges & Qt::LeftEdge, right = edges & Qt::RightEdge;
  const bool top = edges & Qt::TopEdge, bottom = edges & Qt::BottomEdge;
  if ((top && left) || (bottom && right)) return Qt::SizeFDiagCursor;
  if ((top && right) || (bottom && left)) return Qt::SizeBDiagCursor;
  if (left || right) return Qt::SizeHorCursor;
  if (top || bottom) return Qt::SizeVerCursor;
  return Qt::ArrowCursor;
}

}  // namespace

WindowEdges::WindowEdges(QWidget* window, QWidget* frame, int width)
    : QObject(frame), window_(window), frame_(frame), width_(width) {
  frame_->setMouseTracking(true);
  frame_->installEventFilter(this);
}

Qt::Edges WindowEdges::EdgesAt(QPoint p) const {
  const QRect r = frame_->rect();
  if (!r.contains(p)) return {};
  const bool left = p.x() < width_;
  const bool right = p.x() > r.right() - width_;
  const bool top = p.y() < width_;
  const bool bottom = p.y() > r.bottom() - width_;
  Qt::Edges edges;
  if (left || right) {
    edges |= left ? Qt::LeftEdge : Qt::RightEdge;
    if (p.y() < kCornerReach) edges |= Qt::TopEdge;
    if (p.y() > r.bottom() - kCornerReach) edges |= Qt::BottomEdge;
  }
  if (top || bottom) {
    edges |= top ? Qt::TopEdge : Qt::BottomEdge;
    if (p.x() < kCornerReach) edges |= Qt::LeftEdge;
    if (p.x() > r.right() - kCornerReach) edges |= Qt::RightEdge;
  }
  return edges;
}

void WindowEdges::Follow(QPoint global) {
  const QPoint moved = global - press_;
  const QSize least = window_->minimumSize();
  QRect r = start_;
  if (dragging_ & Qt::LeftEdge)
    r.setLeft(std::min(start_.left() + moved.x(), start_.right() + 1 - least.width()));
  if (dragging_ & Qt::RightEdge) r.setRight(start_.right() + moved.x());
  if (dragging_ & Qt::TopEdge)
    r.setTop(std::min(start_.top() + moved.y(), start_.bottom() + 1 - least.height()));
  if (dragging_ & Qt::BottomEdge) r.setBottom(start_.bottom() + moved.y());
  r.setSize(r.size().expandedTo(least));
  window_->setGeometry(r);
}

bool WindowEdges::eventFilter(QObject* watched, QEvent* event) {
  if (watched != frame_) return false;
  const bool resizable = !window_->isMaximized() && !window_->isFullScreen();
  switch (event->type()) {
    case QEvent::MouseMove: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      if (dragging_) {
        Follow(mouse->globalPosition().toPoint());
        return true;
      }
      const Qt::Edges edges = resizable ? EdgesAt(mouse->position().toPoint()) : Qt::Edges();
      if (edges) {
        frame_->setCursor(ShapeFor(edges));
      } else {
        frame_->unsetCursor();
      }
      return false;
    }
    case QEvent::Leave:
      if (!dragging_) frame_->unsetCursor();
      return false;
    case QEvent::MouseButtonPress: {
      auto* mouse = static_cast<QMouseEvent*>(event);
      const Qt::Edges edges = EdgesAt(mouse->position().toPoint());
      if (mouse->button() != Qt::LeftButton || !edges || !resizable) return false;
      QWindow* handle = window_->windowHandle();
      if (handle && handle->startSystemResize(edges)) return true;
      dragging_ = edges;
      press_ = mouse->globalPosition().toPoint();
      start_ = window_->geometry();
      return true;
    }
    case QEvent::MouseButtonRelease:
      if (dragging_ && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        dragging_ = {};
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace app
