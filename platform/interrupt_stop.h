// Ctrl+C (and a polite kill) as a request to stop, for work that stops
// cleanly between two steps: while an InterruptStop lives, SIGINT, SIGTERM
// and SIGHUP do not end the process but ask `source` to stop. The signals
// are taken by a thread of its own, so the request is made outside any
// signal handler. Make it before any other thread starts, so that every
// thread leaves the signals to it. A second signal means "now": it is
// handed to `on_second`, which may end the process at once.
#pragma once

#include <signal.h>

#include <atomic>
#include <functional>
#include <stop_token>
#include <thread>

namespace platform {

class InterruptStop {
 public:
  explicit InterruptStop(std::stop_source source, std::function<void(int signal)> on_second = {});
  ~InterruptStop();
  InterruptStop(const InterruptStop&) = delete;
  InterruptStop& operator=(const InterruptStop&) = delete;

  // The signal that asked for the stop, 0 while none has.
  int Signal() const { return signal_; }

 private:
  void Wait(std::stop_source& source);

  std::function<void(int signal)> on_second_;
  sigset_t signals_{};
  sigset_t previous_mask_{};
  std::atomic<int> signal_ = 0;
  int signal_fd_ = -1;  // the signals, readable
  int wake_fd_ = -1;    // written once when the waiter is to end
  std::thread waiter_;
};

// A write to a pipe or socket whose reader has gone fails with EPIPE, as
// any failed write does, instead of ending the process without a word.
void IgnoreBrokenPipe();

}  // namespace platform
