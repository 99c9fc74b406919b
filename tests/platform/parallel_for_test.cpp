#include "platform/parallel_for.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <stdexcept>
#include <stop_token>
#include <thread>
#include <vector>

namespace {

TEST(ParallelFor, DoesEveryIndexExactlyOnce) {
  // Both ends of the counts and of the shares: nothing, one item, a share
  // larger than the whole, and one item more than a whole number of shares.
  for (const std::size_t count : {0u, 1u, 64u, 65u, 1000u}) {
    for (const std::size_t chunk : {0u, 1u, 64u, 5000u}) {
      for (const unsigned threads : {1u, 4u}) {
        std::vector<std::atomic<int>> done(count);
        EXPECT_TRUE(platform::ParallelFor(
            count, [&done](std::size_t i) { ++done[i]; }, chunk, threads));
        for (std::size_t i = 0; i < count; ++i)
          ASSERT_EQ(done[i], 1) << "index " << i << " of " << count << ", chunk " << chunk
                                << ", threads " << threads;
      }
    }
  }
}

TEST(ParallelFor, HandsTheFirstFailureToTheCallerAfterEveryThreadHasEnded) {
  std::atomic<int> calls{0};
  EXPECT_THROW(platform::ParallelFor(
                   1000,
                   [&calls](std::size_t i) {
                     ++calls;
                     if (i == 10) throw std::runtime_error("no");
                     // Every later index takes a while, so that the failure
                     // is thrown long before the others could reach the end,
                     // however the threads are scheduled.
                     if (i > 10) std::this_thread::sleep_for(std::chrono::milliseconds(1));
                   },
                   1, 4),
               std::runtime_error);
  // The others stopped at their next index instead of going on to the end.
  EXPECT_LT(calls.load(), 1000);
}

TEST(ParallelFor, TakesNoIndexOnceAskedToStop) {
  std::stop_source source;
  std::atomic<int> calls{0};
  const auto work = [&](std::size_t i) {
    ++calls;
    if (i == 5) source.request_stop();
  };
  EXPECT_FALSE(platform::ParallelFor(1000, work, 1, 1, source.get_token()));
  EXPECT_EQ(calls.load(), 6);
  EXPECT_FALSE(platform::ParallelFor(1000, work, 1, 4, source.get_token()));
  EXPECT_EQ(calls.load(), 6);
}

}  // namespace
