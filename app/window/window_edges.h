// Resizes a border-less window by its edges and corners: the outermost
// pixels of the panel that fills the window. The pointer takes the resize
// shape over them; a press hands the resize to the window manager, or, where
// it cannot take it (no window manager, offscreen), follows the mouse until
// the button is released. The window's minimum size holds either way.
#pragma once

#include <QObject>
#include <QPoint>
#include <QRect>

class QWidget;

namespace app {

class WindowEdges : public QObject {
 public:
  // `frame` fills `window`; its outer `width` pixels are the grips.
  WindowEdges(QWidget* window, QWidget* frame, int width);

  // The edges under a point of the frame: none inside, one along a side, two
  // at a corner (the corner reaches along each side for a few pixels more).
  Qt::Edges EdgesAt(QPoint frame_point) const;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void Follow(QPoint global);

  QWidget* window_;
  QWidget* frame_;
  int width_;
  Qt::Edges dragging_;
  QPoint press_;
  QRect start_;
};

}  // namespace app
