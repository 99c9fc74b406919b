// Ctrl+C, a kill and a hang-up while an InterruptStop lives ask for a stop
// instead of ending the process; before and after, they act as usual.
#include "platform/interrupt_stop.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <thread>

namespace platform {
namespace {

bool WaitForStop(const std::stop_token& token) {
  for (int i = 0; i < 500 && !token.stop_requested(); ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  }
  return token.stop_requested();
}

TEST(InterruptStop, EachSignalAsksForTheStopOnce) {
  for (const int signal : {SIGINT, SIGTERM, SIGHUP}) {
    SCOPED_TRACE(signal);
    std::stop_source source;
    InterruptStop stop(source);
    EXPECT_EQ(stop.Signal(), 0);
    EXPECT_FALSE(source.stop_requested());
    ASSERT_EQ(kill(getpid(), signal), 0);
    EXPECT_TRUE(WaitForStop(source.get_token()));
    EXPECT_EQ(stop.Signal(), signal);
    // A second one changes nothing and does not end the process either.
    ASSERT_EQ(kill(getpid(), SIGINT), 0);
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    EXPECT_EQ(stop.Signal(), signal);
  }
}

TEST(InterruptStop, AfterwardsTheSignalsActAsBefore) {
  {
    std::stop_source source;
    InterruptStop stop(source);
  }
  sigset_t blocked;
  pthread_sigmask(SIG_SETMASK, nullptr, &blocked);
  EXPECT_FALSE(sigismember(&blocked, SIGINT));
  EXPECT_FALSE(sigismember(&blocked, SIGTERM));
  EXPECT_FALSE(sigismember(&blocked, SIGHUP));
  // Ctrl+C ends a process again.
  EXPECT_EXIT(kill(getpid(), SIGINT), ::testing::KilledBySignal(SIGINT), "");
}

TEST(InterruptStop, ASecondSignalIsHandedOnForAStopAtOnce) {
  std::stop_source source;
  std::atomic<int> second = 0;
  InterruptStop stop(source, [&second](int signal) { second = signal; });
  ASSERT_EQ(kill(getpid(), SIGINT), 0);
  EXPECT_TRUE(WaitForStop(source.get_token()));
  EXPECT_EQ(second, 0);
  ASSERT_EQ(kill(getpid(), SIGTERM), 0);
  for (int i = 0; i < 500 && second == 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(second, SIGTERM);
  EXPECT_EQ(stop.Signal(), SIGINT);
}

}  // namespace
}  // namespace platform
