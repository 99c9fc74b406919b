#include "app/window/live_repaint.h"

#include <QWidget>

namespace app {

LiveRepaint::LiveRepaint(std::initializer_list<QWidget*> widgets,
                         std::chrono::milliseconds interval, platform::TStrings* batched_lines)
    : widgets_(widgets), interval_(interval), batched_lines_(batched_lines) {
  if (batched_lines_) batched_lines_->BeginUpdate();
}

LiveRepaint::~LiveRepaint() {
  if (batched_lines_) batched_lines_->EndUpdate();
  for (QWidget* widget : widgets_) widget->update();
}

void LiveRepaint::Touch() {
  if (since_paint_.isValid() && since_paint_.elapsed() < interval_.count()) return;
  // The lines' views take in what was added since the last paint.
  if (batched_lines_) batched_lines_->EndUpdate();
  // repaint() paints and puts it on the screen before it returns, without
  // going through the event queue.
  for (QWidget* widget : widgets_) widget->repaint();
  if (batched_lines_) batched_lines_->BeginUpdate();
  since_paint_.start();
}

}  // namespace app
