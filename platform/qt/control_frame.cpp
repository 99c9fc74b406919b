#include "platform/qt/control_frame.h"

#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPalette>
#include <QScrollBar>
#include <QWheelEvent>

#include "platform/control/messages.h"
#include "platform/qt/control_window.h"
#include "platform/qt/qt_graphics.h"

namespace platform::control_detail {

// --- The frame ----------------------------------------------------------------

FrameWidget::~FrameWidget() {
  if (owner_) owner_->FrameDestroyed();
}

void FrameWidget::resizeEvent(QResizeEvent*) {
  if (owner_) owner_->SyncGeometry();
}

void FrameWidget::paintEvent(QPaintEvent*) {
  if (!owner_) return;
  const TCreateParams& params = owner_->params_;
  QPainter p(this);
  QRect r = rect();
  if (params.ExStyle & WS_EX_CLIENTEDGE) {
    // The sunken edge: shadow above and left, light below and right, twice.
    const QPalette& pal = palette();
    auto edge = [&](const QRect& e, const QColor& top_left, const QColor& bottom_right) {
      p.setPen(top_left);
      p.drawLine(e.left(), e.bottom() - 1, e.left(), e.top());
      p.drawLine(e.left(), e.top(), e.right() - 1, e.top());
      p.setPen(bottom_right);
      p.drawLine(e.left(), e.bottom(), e.right(), e.bottom());
      p.drawLine(e.right(), e.bottom(), e.right(), e.top());
    };
    edge(r, pal.color(QPalette::Mid), pal.color(QPalette::Light));
    edge(r.adjusted(1, 1, -1, -1), pal.color(QPalette::Shadow), pal.color(QPalette::Button));
  } else if (params.Style & WS_BORDER) {
    p.setPen(ToQColor(clWindowFrame));
    p.drawRect(r.adjusted(0, 0, -1, -1));
  }
}

// --- The client area ----------------------------------------------------------

ClientWidget::ClientWidget(ControlWindow* window, QWidget* parent)
    : QWidget(parent), window_(window) {
  setAttribute(Qt::WA_OpaquePaintEvent);
  setAttribute(Qt::WA_InputMethodEnabled);
  setAttribute(Qt::WA_KeyCompression, false);
  setMouseTracking(true);
}

ClientWidget::~ClientWidget() {
  if (window_) window_->ClientDestroyed();
}

void ClientWidget::paintEvent(QPaintEvent* e) {
  if (window_) window_->PaintEvent(this, e->region());
}

void ClientWidget::keyPressEvent(QKeyEvent* e) {
  if (window_) window_->KeyPress(e);
}

void ClientWidget::keyReleaseEvent(QKeyEvent* e) {
  if (window_) window_->KeyRelease(e);
}

void ClientWidget::mousePressEvent(QMouseEvent* e) {
  if (window_) window_->MouseEvent(e);
}

void ClientWidget::mouseReleaseEvent(QMouseEvent* e) {
  if (window_) window_->MouseEvent(e);
}

void ClientWidget::mouseDoubleClickEvent(QMouseEvent* e) {
  if (window_) window_->MouseEvent(e);
}

void ClientWidget::mouseMoveEvent(QMouseEvent* e) {
  if (window_) window_->MouseEvent(e);
}

void ClientWidget::wheelEvent(QWheelEvent* e) {
  if (window_) window_->Wheel(e);
}

void ClientWidget::focusInEvent(QFocusEvent* e) {
  // A popup menu borrows the keyboard without taking the focus away.
  if (window_ && e->reason() != Qt::PopupFocusReason) window_->Focus(true);
}

void ClientWidget::focusOutEvent(QFocusEvent* e) {
  if (window_ && e->reason() != Qt::PopupFocusReason) window_->Focus(false);
}

void ClientWidget::enterEvent(QEnterEvent*) {
  if (window_) window_->Hover(true);
}

void ClientWidget::leaveEvent(QEvent*) {
  if (window_) window_->Hover(false);
}

void ClientWidget::contextMenuEvent(QContextMenuEvent* e) {
  if (window_) window_->ContextMenu(e->globalPos(), e->reason() == QContextMenuEvent::Keyboard);
}

void ClientWidget::inputMethodEvent(QInputMethodEvent* e) {
  if (window_) window_->InputMethod(e);
}

QVariant ClientWidget::inputMethodQuery(Qt::InputMethodQuery query) const {
  return window_ ? window_->InputMethodQuery(query) : QVariant();
}

bool ClientWidget::focusNextPrevChild(bool next) {
  // A control that wants Tab keeps it instead of passing the focus on.
  if (window_ && window_->WantsTab()) return false;
  return QWidget::focusNextPrevChild(next);
}

// --- The scroll bars ----------------------------------------------------------

bool BarFilter::eventFilter(QObject* watched, QEvent* event) {
  auto* bar = qobject_cast<QScrollBar*>(watched);
  if (!bar) return false;
  int which = bar->orientation() == Qt::Vertical ? SB_VERT : SB_HORZ;
  if (event->type() == QEvent::MouseButtonRelease && !bar->isSliderDown()) {
    // Let the bar finish its press first; the end comes after it.
    bar->event(event);
    window_->ScrollReleased(which, false);
    return true;
  }
  if (event->type() == QEvent::Wheel) {
    window_->Wheel(static_cast<QWheelEvent*>(event));
    return true;
  }
  return false;
}

}  // namespace platform::control_detail
