// A repeating timer component: while enabled, OnTimer fires every Interval
// milliseconds from the thread's event loop. The event loop belongs to the
// window system, so the ticks come from an engine that a program with an
// event loop installs at start (platform/qt/qt_timer.h); without an engine,
// or without a running event loop, nothing fires.
#pragma once

#include <functional>
#include <memory>

#include "platform/component.h"

namespace platform {

// What makes timers tick. One clock serves one timer.
class TTimerEngine {
 public:
  class Clock {
   public:
    virtual ~Clock() = default;
    // Ticks every `interval` milliseconds while `on`; stops otherwise.
    virtual void Run(bool on, int interval) = 0;
  };

  virtual ~TTimerEngine() = default;
  virtual std::unique_ptr<Clock> NewClock(std::function<void()> tick) = 0;
};

// The engine for the timers of this program, or nullptr (the start) for
// none. Installed once from the main thread before the first timer runs; it
// lives as long as the program.
void SetTimerEngine(TTimerEngine* engine);

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
  void Tick();

  std::unique_ptr<TTimerEngine::Clock> clock_;
  int interval_ = 1000;
  bool enabled_ = true;
};

}  // namespace platform
