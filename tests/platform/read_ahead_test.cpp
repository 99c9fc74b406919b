#include "platform/read_ahead.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

TEST(ReadAheadTest, EveryItemIsTakenOnceInOrderWhateverTheWindow) {
  // Window 1 hands over every item alone; 3 does not divide the count, so
  // the slots wrap in the middle of a lap.
  for (std::size_t window : {1u, 2u, 3u, 64u}) {
    std::vector<int> read_on_thread;
    const auto taker = std::this_thread::get_id();
    std::atomic<bool> read_elsewhere{true};
    {
      platform::ReadAhead<std::string> ahead(
          100,
          [&](int i) {
            if (std::this_thread::get_id() == taker) read_elsewhere = false;
            read_on_thread.push_back(i);
            return "item " + std::to_string(i);
          },
          window);
      for (int i = 0; i < 100; ++i) ASSERT_EQ(ahead.Take(i), "item " + std::to_string(i)) << window;
    }
    // The thread has ended: what it wrote can be read here.
    ASSERT_EQ(read_on_thread.size(), 100u);
    for (int i = 0; i < 100; ++i) EXPECT_EQ(read_on_thread[i], i);
    EXPECT_TRUE(read_elsewhere);
  }
}

TEST(ReadAheadTest, ReadsNoFurtherThanItsWindowAhead) {
  std::atomic<int> reads{0};
  platform::ReadAhead<int> ahead(
      1000,
      [&](int i) {
        ++reads;
        return i;
      },
      8);
  EXPECT_EQ(ahead.Take(0), 0);
  // The reader fills the window behind the taken item and waits there.
  std::this_thread::sleep_for(50ms);
  EXPECT_LE(reads.load(), 1 + 8);
  EXPECT_GE(reads.load(), 1);
}

TEST(ReadAheadTest, GoingAwayEarlyStopsTheReaderAfterItsCurrentItem) {
  std::atomic<int> reads{0};
  std::atomic<bool> reading{false};
  {
    platform::ReadAhead<int> ahead(
        1000000,
        [&](int i) {
          reading = true;
          std::this_thread::sleep_for(1ms);
          ++reads;
          reading = false;
          return i;
        },
        16);
    EXPECT_EQ(ahead.Take(0), 0);
    EXPECT_EQ(ahead.Take(1), 1);
  }
  // Gone with the read-ahead: nothing is read afterwards.
  const int after_stop = reads.load();
  EXPECT_FALSE(reading);
  std::this_thread::sleep_for(20ms);
  EXPECT_EQ(reads.load(), after_stop);
  EXPECT_LE(after_stop, 2 + 16);
}

TEST(ReadAheadTest, AReadThatThrowsThrowsForItsItemOnly) {
  platform::ReadAhead<int> ahead(
      4,
      [](int i) {
        if (i == 2) throw std::runtime_error("unreadable");
        return i * 10;
      },
      2);
  EXPECT_EQ(ahead.Take(0), 0);
  EXPECT_EQ(ahead.Take(1), 10);
  EXPECT_THROW(ahead.Take(2), std::runtime_error);
  EXPECT_EQ(ahead.Take(3), 30);
}

TEST(ReadAheadTest, NothingToRead) {
  platform::ReadAhead<int> ahead(0, [](int) -> int { throw std::logic_error("never read"); });
}

}  // namespace
