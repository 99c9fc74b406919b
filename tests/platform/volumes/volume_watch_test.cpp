#include "platform/volumes/volume_watch.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

namespace platform {
namespace {

using namespace std::chrono_literals;

TEST(VolumeWatchTest, TellsTheVolumesThatCame) {
  const TVolume a{"/media/a", "A"};
  const TVolume b{"/media/b", "B"};
  const TVolume b_renamed{"/media/b", "NEW"};
  struct Case {
    std::vector<TVolume> before, now, added;
  };
  const Case cases[] = {
      {{}, {}, {}},
      {{}, {a}, {a}},
      {{a}, {a, b}, {b}},
      {{a, b}, {a}, {}},
      {{a, b}, {b_renamed}, {}},  // the same mount point: no new card
      {{a}, {b}, {b}},
  };
  for (const Case& c : cases) EXPECT_EQ(AddedVolumes(c.before, c.now), c.added);
}

TEST(VolumeWatchTest, ListsOnceReadAndNeverCallsAfterItsEnd) {
  ASSERT_TRUE(TVolumeWatch::Available());
  std::mutex mutex;
  std::condition_variable listed;
  int lists = 0;
  {
    TVolumeWatch watch(
        [&](const std::vector<TVolume>& volumes) {
          std::lock_guard<std::mutex> lock(mutex);
          for (const TVolume& v : volumes) EXPECT_NE(v.root, "/");
          ++lists;
          listed.notify_all();
        },
        nullptr);
    std::unique_lock<std::mutex> lock(mutex);
    EXPECT_TRUE(listed.wait_for(lock, 20s, [&] { return lists > 0; }));
  }
  // Watches that end at once, before or while they read.
  std::atomic<bool> ended{false};
  std::atomic<int> late{0};
  for (int i = 0; i < 20; ++i) {
    const auto start = std::chrono::steady_clock::now();
    {
      TVolumeWatch watch([&](const std::vector<TVolume>&) { late += ended ? 1 : 0; }, nullptr);
    }
    ended = true;
    EXPECT_LT(std::chrono::steady_clock::now() - start, 3s);
    ended = false;
  }
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(late, 0);
}

}  // namespace
}  // namespace platform
