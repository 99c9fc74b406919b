// Keeps a few controls painted while the window's thread is busy with a long
// job that does not return to the event loop (the copy run): each Touch
// paints them at once, at most once per interval, and handles no input, so
// the user sees the progress without being able to start anything else.
//
// A list of lines that grows meanwhile (the run's log) is kept inside one
// update between paints: its views hear of the new lines once per paint,
// not once per line, so that showing the log never costs more than the job.
#pragma once

#include <QElapsedTimer>

#include <chrono>
#include <initializer_list>
#include <vector>

#include "platform/string_list.h"

class QWidget;

namespace app {

class LiveRepaint {
 public:
  LiveRepaint(std::initializer_list<QWidget*> widgets, std::chrono::milliseconds interval,
              platform::TStrings* batched_lines = nullptr);
  // Lets the lines' views catch up and leaves the last state to the event
  // loop's ordinary painting.
  ~LiveRepaint();
  LiveRepaint(const LiveRepaint&) = delete;
  LiveRepaint& operator=(const LiveRepaint&) = delete;

  // Something shown has changed; paints now unless it painted very recently.
  void Touch();

 private:
  std::vector<QWidget*> widgets_;
  std::chrono::milliseconds interval_;
  platform::TStrings* batched_lines_;
  QElapsedTimer since_paint_;
};

}  // namespace app
