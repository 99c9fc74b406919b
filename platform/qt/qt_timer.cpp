#include "platform/qt/qt_timer.h"

#include <QCoreApplication>
#include <QTimer>
#include <functional>
#include <memory>

#include "platform/timer.h"

namespace platform {

namespace {

class QtClock : public TTimerEngine::Clock {
 public:
  explicit QtClock(std::function<void()> tick) {
    timer_.setTimerType(Qt::CoarseTimer);
    QObject::connect(&timer_, &QTimer::timeout, std::move(tick));
  }
  void Run(bool on, int interval) override {
    if (on && QCoreApplication::instance()) {
      timer_.start(interval);
    } else {
      timer_.stop();
    }
  }

 private:
  QTimer timer_;
};

class QtTimerEngine : public TTimerEngine {
 public:
  std::unique_ptr<Clock> NewClock(std::function<void()> tick) override {
    return std::make_unique<QtClock>(std::move(tick));
  }
};

}  // namespace

void InstallQtTimers() {
  static QtTimerEngine engine;
  SetTimerEngine(&engine);
}

}  // namespace platform
