#include "platform/begin_end_guard.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

namespace platform {
namespace {

struct EndFailure : std::runtime_error {
  EndFailure() : std::runtime_error("end failed") {}
};

// A Begin/End pair that writes down its calls; End fails on demand, after
// it has closed the level, as a failing change handler does.
struct Pair {
  void Begin() {
    ++depth;
    calls.push_back("begin");
  }
  void End() {
    --depth;
    calls.push_back("end");
    if (fail_end) throw EndFailure();
  }
  int depth = 0;
  bool fail_end = false;
  std::vector<std::string> calls;
};

using Guard = TBeginEndGuard<Pair, &Pair::Begin, &Pair::End>;

TEST(BeginEndGuard, EndRunsOnEveryWayOut) {
  Pair pair;
  {
    Guard outer(pair);
    Guard inner(pair);
    EXPECT_EQ(pair.depth, 2);
  }
  EXPECT_EQ(pair.depth, 0);

  // A failure in the body still closes the pair, and it is the failure that arrives.
  pair.calls.clear();
  EXPECT_THROW(
      {
        Guard guard(pair);
        throw std::logic_error("body");
      },
      std::logic_error);
  EXPECT_EQ(pair.depth, 0);
  EXPECT_EQ(pair.calls, (std::vector<std::string>{"begin", "end"}));
}

TEST(BeginEndGuard, AFailingEndReachesTheCallerOnTheNormalPath) {
  Pair pair;
  pair.fail_end = true;
  EXPECT_THROW({ Guard guard(pair); }, EndFailure);
  EXPECT_EQ(pair.depth, 0);
}

TEST(BeginEndGuard, AFailingEndWhileUnwindingIsDroppedNotFatal) {
  Pair pair;
  pair.fail_end = true;
  // Two nested guards, both failing in End under one body failure: the
  // program goes on, both levels close, and the body's failure arrives.
  EXPECT_THROW(
      {
        Guard outer(pair);
        Guard inner(pair);
        throw std::logic_error("body");
      },
      std::logic_error);
  EXPECT_EQ(pair.depth, 0);
  EXPECT_EQ(pair.calls, (std::vector<std::string>{"begin", "begin", "end", "end"}));
}

TEST(BeginEndGuard, AGuardMadeDuringUnwindingReportsItsOwnFailure) {
  // Clean-up code that runs while another failure unwinds has its own normal
  // path: a failing End there reaches that code, not the void.
  Pair pair;
  pair.fail_end = true;
  bool caught_inside = false;
  struct Cleanup {
    Pair& pair;
    bool& caught;
    ~Cleanup() {
      try {
        Guard guard(pair);
      } catch (const EndFailure&) {
        caught = true;
      }
    }
  };
  const auto fail_with_cleanup = [&] {
    Cleanup cleanup{pair, caught_inside};
    throw std::logic_error("body");
  };
  EXPECT_THROW(fail_with_cleanup(), std::logic_error);
  EXPECT_TRUE(caught_inside);
  EXPECT_EQ(pair.depth, 0);
}

}  // namespace
}  // namespace platform
