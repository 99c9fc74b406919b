#include "platform/interrupt_stop.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/signalfd.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <system_error>

namespace platform {

InterruptStop::InterruptStop(std::stop_source source, std::function<void(int signal)> on_second)
    : on_second_(std::move(on_second)) {
  sigemptyset(&signals_);
  sigaddset(&signals_, SIGINT);
  sigaddset(&signals_, SIGTERM);
  sigaddset(&signals_, SIGHUP);
  pthread_sigmask(SIG_BLOCK, &signals_, &previous_mask_);
  signal_fd_ = signalfd(-1, &signals_, SFD_CLOEXEC);
  wake_fd_ = eventfd(0, EFD_CLOEXEC);
  // Without them nobody could take the signals: they end the process as
  // they always do.
  const auto give_up = [this] {
    if (signal_fd_ >= 0) close(signal_fd_);
    if (wake_fd_ >= 0) close(wake_fd_);
    signal_fd_ = wake_fd_ = -1;
    pthread_sigmask(SIG_SETMASK, &previous_mask_, nullptr);
  };
  if (signal_fd_ < 0 || wake_fd_ < 0) {
    give_up();
    return;
  }
  // The waiter sleeps until a signal comes or it is told to end, so that
  // ending never waits for a tick.
  try {
    waiter_ = std::thread([this, source]() mutable { Wait(source); });
  } catch (const std::system_error&) {
    give_up();
  }
}

void InterruptStop::Wait(std::stop_source& source) {
  for (;;) {
    pollfd fds[2] = {{signal_fd_, POLLIN, 0}, {wake_fd_, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
      if (errno == EINTR) continue;
      return;
    }
    if (fds[1].revents != 0) return;
    signalfd_siginfo info;
    if (read(signal_fd_, &info, sizeof info) != static_cast<ssize_t>(sizeof info)) continue;
    int none = 0;
    const int caught = static_cast<int>(info.ssi_signo);
    if (signal_.compare_exchange_strong(none, caught)) {
      source.request_stop();
    } else if (on_second_) {
      on_second_(caught);
    }
  }
}

InterruptStop::~InterruptStop() {
  if (!waiter_.joinable()) return;
  const std::uint64_t one = 1;
  while (write(wake_fd_, &one, sizeof one) < 0 && errno == EINTR) {
  }
  waiter_.join();
  close(signal_fd_);
  close(wake_fd_);
  // A signal that came after the waiter's last read is still pending: it
  // takes its usual effect once the signals are let through again.
  pthread_sigmask(SIG_SETMASK, &previous_mask_, nullptr);
}

void IgnoreBrokenPipe() {
  signal(SIGPIPE, SIG_IGN);
}

}  // namespace platform
