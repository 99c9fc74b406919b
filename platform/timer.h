// A repeating timer component: while enabled, OnTimer fires every Interval
// milliseconds from the thread's event loop. Nothing fires without a
// running event loop (a QCoreApplication or QApplication).
#pragma once

#include <memory>

#include "platform/component.h"

namespace platform {

class TTimer : public TComponent {
 public:
  explicit TTimer(TComponent* owner = nullptr);
  ~TTimer() override;

  int Interval() const { return interval_; }
  // Milliseconds; 0 stops the ticks as a disabled timer does.
  void SetInterval(int milliseconds);
  bool Enabled() const { return enabled_; }
  void SetEnabled(bool enabled);

  TNotifyEvent OnTimer;

 private:
  void Update();

  class Engine;
  std::unique_ptr<Engine> engine_;
  int interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace platform
