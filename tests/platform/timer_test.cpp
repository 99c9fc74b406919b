// The timer against an engine of its own: it runs its clock as its state
// says, fires OnTimer on each tick, and never fires without an engine.
#include "platform/timer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <utility>
#include <vector>

namespace {

struct FakeEngine : platform::TTimerEngine {
  struct Clock : TTimerEngine::Clock {
    FakeEngine& engine;
    std::function<void()> tick;
    bool on = false;
    int interval = 0;
    Clock(FakeEngine& e, std::function<void()> t) : engine(e), tick(std::move(t)) {
      engine.clocks.push_back(this);
    }
    ~Clock() override { std::erase(engine.clocks, this); }
    void Run(bool run, int ms) override {
      on = run;
      interval = ms;
    }
  };
  std::vector<Clock*> clocks;

  std::unique_ptr<TTimerEngine::Clock> NewClock(std::function<void()> tick) override {
    return std::make_unique<Clock>(*this, std::move(tick));
  }
  // One tick of every running clock, as an event loop would give.
  void TickAll() {
    for (Clock* c : std::vector<Clock*>(clocks))
      if (c->on) c->tick();
  }
};

class TimerTest : public ::testing::Test {
 protected:
  ~TimerTest() override { platform::SetTimerEngine(nullptr); }
  FakeEngine engine_;
};

TEST_F(TimerTest, WithoutAnEngineNothingFires) {
  platform::TTimer timer;
  int ticks = 0;
  timer.OnTimer = [&](platform::TObject*) { ++ticks; };
  timer.SetInterval(10);
  EXPECT_TRUE(timer.Enabled());
  EXPECT_EQ(engine_.clocks.size(), 0u);
  EXPECT_EQ(ticks, 0);
}

TEST_F(TimerTest, TheClockRunsAsIntervalAndEnabledSay) {
  platform::SetTimerEngine(&engine_);
  platform::TTimer timer;
  ASSERT_EQ(engine_.clocks.size(), 1u);
  FakeEngine::Clock& clock = *engine_.clocks[0];
  EXPECT_TRUE(clock.on);
  EXPECT_EQ(clock.interval, 1000);  // the default

  timer.SetInterval(200);
  EXPECT_TRUE(clock.on);
  EXPECT_EQ(clock.interval, 200);
  timer.SetEnabled(false);
  EXPECT_FALSE(clock.on);
  timer.SetEnabled(true);
  EXPECT_TRUE(clock.on);
  timer.SetInterval(0);  // stops as a disabled timer does
  EXPECT_FALSE(clock.on);
  EXPECT_TRUE(timer.Enabled());
}

TEST_F(TimerTest, TicksFireOnTimerAndAHandlerMayReplaceItself) {
  platform::SetTimerEngine(&engine_);
  platform::TTimer timer;
  std::vector<platform::TObject*> senders;
  int second = 0;
  timer.OnTimer = [&](platform::TObject* sender) {
    senders.push_back(sender);
    timer.OnTimer = [&](platform::TObject*) { ++second; };
    senders.push_back(sender);  // still running after the replacement
  };
  engine_.TickAll();
  engine_.TickAll();
  EXPECT_EQ(senders, (std::vector<platform::TObject*>{&timer, &timer}));
  EXPECT_EQ(second, 1);
}

TEST_F(TimerTest, ATimerMadeBeforeTheEngineTakesItsClockWhenItNextStarts) {
  platform::TTimer timer;
  platform::SetTimerEngine(&engine_);
  EXPECT_EQ(engine_.clocks.size(), 0u);
  timer.SetEnabled(false);
  EXPECT_EQ(engine_.clocks.size(), 0u);  // nothing to run yet
  timer.SetEnabled(true);
  ASSERT_EQ(engine_.clocks.size(), 1u);
  EXPECT_TRUE(engine_.clocks[0]->on);
}

TEST_F(TimerTest, TheClockGoesWithItsTimer) {
  platform::SetTimerEngine(&engine_);
  {
    platform::TTimer timer;
    EXPECT_EQ(engine_.clocks.size(), 1u);
  }
  EXPECT_EQ(engine_.clocks.size(), 0u);
}

}  // namespace
