// Moves a border-less window by its title bar. The title bar and the
// controls on it report their mouse presses; StartMove hands the move to the
// window manager, or, where it cannot take it (no window manager, offscreen),
// follows the mouse until the button is released. A double-click on them is
// reported too (the window toggles maximised).
#pragma once

#include <QObject>
#include <QPoint>

#include <functional>

class QMouseEvent;
class QWidget;

namespace app {

class TitleBarDrag : public QObject {
 public:
  explicit TitleBarDrag(QWidget* window);

  // Reports the presses on `widget` through OnMouseDown.
  void Watch(QWidget* widget);
  std::function<void(QMouseEvent* event)> OnMouseDown;
  std::function<void()> OnDoubleClick;

  // Starts moving the window; `global_press` is where the mouse went down.
  void StartMove(QPoint global_press);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QWidget* window_;
  bool following_ = false;
  QPoint offset_;  // from the window's top-left corner to the mouse
};

}  // namespace app
