// The thin bar between the settings and the information window. Dragging it
// with the left button reports how far it has moved since the press; the
// window decides what that does to the controls beside it.
#pragma once

#include <QWidget>

#include <functional>

namespace app {

class SplitterBar : public QWidget {
 public:
  SplitterBar(QWidget* parent, const char* name);

  // Called on every move of a drag with the vertical distance from the
  // press (positive downwards), and with `finished` true on release.
  std::function<void(int distance, bool finished)> OnDrag;

 protected:
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;

 private:
  bool dragging_ = false;
  int press_y_ = 0;
};

}  // namespace app
