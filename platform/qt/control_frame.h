// The widgets of a control's window: the frame with its border, the client
// area that shows the surface and takes the input, and the filter that
// turns the scroll bars' own events into the control's. Each only forwards
// to its ControlWindow, and forgets it when the window goes first.
#pragma once

#include <QObject>
#include <QSize>
#include <QWidget>

class QContextMenuEvent;
class QEnterEvent;
class QFocusEvent;
class QInputMethodEvent;
class QKeyEvent;
class QMouseEvent;
class QPaintEvent;
class QResizeEvent;
class QWheelEvent;

namespace platform::control_detail {

class ControlWindow;

// The outer widget: the border, and the client and scroll bars inside it.
class FrameWidget : public QWidget {
 public:
  explicit FrameWidget(ControlWindow* owner, QWidget* parent) : QWidget(parent), owner_(owner) {}
  ~FrameWidget() override;
  ControlWindow* owner_;
  QSize hint_;  // the size the control was given, for layouts that ask

  QSize sizeHint() const override { return hint_.isValid() ? hint_ : QWidget::sizeHint(); }

 protected:
  void resizeEvent(QResizeEvent*) override;
  void paintEvent(QPaintEvent*) override;
};

// The client area: shows the surface and the caret, and takes the input.
class ClientWidget : public QWidget {
 public:
  ClientWidget(ControlWindow* window, QWidget* parent);
  ~ClientWidget() override;
  ControlWindow* window_;

 protected:
  void paintEvent(QPaintEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void keyReleaseEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
  void mouseDoubleClickEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void wheelEvent(QWheelEvent* e) override;
  void focusInEvent(QFocusEvent* e) override;
  void focusOutEvent(QFocusEvent* e) override;
  void enterEvent(QEnterEvent*) override;
  void leaveEvent(QEvent*) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void inputMethodEvent(QInputMethodEvent* e) override;
  QVariant inputMethodQuery(Qt::InputMethodQuery query) const override;
  bool focusNextPrevChild(bool next) override;
};

// Scroll bars: the end of a press, and the wheel, which scrolls the control.
class BarFilter : public QObject {
 public:
  BarFilter(ControlWindow* window, QObject* parent) : QObject(parent), window_(window) {}

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  ControlWindow* window_;
};

}  // namespace platform::control_detail
