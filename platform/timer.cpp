#include "platform/timer.h"

namespace platform {

namespace {

TTimerEngine* installed_engine = nullptr;

}  // namespace

void SetTimerEngine(TTimerEngine* engine) {
  installed_engine = engine;
}

TTimer::TTimer(TComponent* owner) : TComponent(owner) {
  Update();
}

TTimer::~TTimer() = default;

void TTimer::SetInterval(int milliseconds) {
  if (milliseconds == interval_) return;
  interval_ = milliseconds;
  Update();
}

void TTimer::SetEnabled(bool enabled) {
  if (enabled == enabled_) return;
  enabled_ = enabled;
  Update();
}

void TTimer::Update() {
  const bool on = enabled_ && interval_ > 0;
  // A timer made before the engine came takes its clock when it next starts.
  if (!clock_ && on && installed_engine) clock_ = installed_engine->NewClock([this] { Tick(); });
  if (clock_) clock_->Run(on, interval_);
}

void TTimer::Tick() {
  // A copy, so that a handler that replaces OnTimer still runs to its end.
  if (auto handler = OnTimer) handler(this);
}

}  // namespace platform
