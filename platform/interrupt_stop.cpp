#include "platform/interrupt_stop.h"

#include <cerrno>
#include <ctime>

namespace platform {

InterruptStop::InterruptStop(std::stop_source source) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigaddset(&signals_, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_mask_);
  // The waiter looks up every tenth of a second whether it may end.
  waiter_ = std::jthread([this, source](std::stop_token done) mutable {
    const timespec tick{0, 100'000'000};
    while (!done.stop_requested()) {
      const int caught = sigtimedwait(&signals_, nullptr, &tick);
      int none = 0;
      if (caught > 0 && signal_.compare_exchange_strong(none, caught)) source.request_stop();
    }
  });
}

InterruptStop::~InterruptStop() {
  waiter_.request_stop();
  waiter_.join();
  // A signal that came after the waiter's last look is still pending: it
  // takes its usual effect once the signals are let through again.
  pthread_sigmask(SIG_SETMASK, &previous_mask_, nullptr);
}

}  // namespace platform
