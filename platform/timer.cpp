#include "platform/timer.h"

#include <QCoreApplication>
#include <QTimer>

namespace platform {

// The Qt side, kept out of the header so that users of the timer see no Qt.
class TTimer::Engine {
 public:
  explicit Engine(TTimer& owner) {
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, [&owner] {
      // A copy, so that a handler that replaces OnTimer still runs to its end.
      if (auto handler = owner.OnTimer) handler(&owner);
    });
  }
  void Run(bool on, int interval) {
    if (on && QCoreApplication::instance()) {
      timer_.start(interval);
    } else {
      timer_.stop();
    }
  }

 private:
  QTimer timer_;
};

TTimer::TTimer(TComponent* owner) : TComponent(owner), engine_(std::make_unique<Engine>(*this)) {
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
  engine_->Run(enabled_ && interval_ > 0, interval_);
}

}  // namespace platform
