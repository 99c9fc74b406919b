#include "app/window/live_repaint.h"

#include <QWidget>

namespace app {

LiveRepaint::LiveRepaint(std::initializer_list<QWidget*> widgets,
                         std::chrono::milliseconds interval)
    : widgets_(widgets), interval_(interval) {}

LiveRepaint::~LiveRepaint() {
  for (QWidget* widget : widgets_) widget->update();
}

void LiveRepaint::Touch() {
  if (since_paint_.isValid() && since_paint_.elapsed() < interval_.count()) return;
  // repaint() paints and puts it on the screen before it returns, without
  // going through the event queue.
  for (QWidget* widget : widgets_) widget->repaint();
  since_paint_.start();
}

}  // namespace app
