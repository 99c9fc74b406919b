// Cards as they come and go, and a mount that never answers, on real
// mounts (as root): the watch lists them by the desktop's rules, which show
// what is mounted in the user's home folder.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "platform/volumes/volume_watch.h"
#include "tests/support/files.h"
#include "tests/support/mounts.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

// What the watch said, for the test to wait on.
class Heard {
 public:
  void List(const std::vector<TVolume>& volumes) {
    std::lock_guard<std::mutex> lock(mutex_);
    last_ = volumes;
    ++lists_;
    changed_.notify_all();
  }
  // Other tests may mount cards at the same time: only those in this test's
  // home folder are kept.
  explicit Heard(const fs::path& home) : home_(home.string() + "/") {}

  void Card(const std::string& dcim) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (dcim.rfind(home_, 0) != 0) return;
    cards_.push_back(dcim);
    changed_.notify_all();
  }
  // Waits (a while at most) until `done` holds for the last list and the cards.
  template <class Done>
  bool WaitFor(Done done) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, 20s, [&] { return lists_ > 0 && done(last_, cards_); });
  }

 private:
  std::string home_;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<TVolume> last_;
  std::vector<std::string> cards_;
  int lists_ = 0;
};

bool Lists(const std::vector<TVolume>& volumes, const fs::path& root) {
  return std::any_of(volumes.begin(), volumes.end(),
                     [&](const TVolume& v) { return v.root == root.string(); });
}

std::string LabelOf(const std::vector<TVolume>& volumes, const fs::path& root) {
  for (const TVolume& v : volumes)
    if (v.root == root.string()) return v.label;
  return "(none)";
}

class VolumeMounts : public ::testing::Test {
 protected:
  void SetUp() override {
    // GLib reads the home folder once a process.
    static test_support::TempDir home;
    home_ = home.path();
    setenv("HOME", home_.c_str(), 1);
  }
  fs::path home_;
};

TEST_F(VolumeMounts, CardsAppearAndGoAndTheirDcimFolderIsTold) {
  test_support::FatCard first(home_ / "EOS_DIGITAL", {"DCIM", "DCIM/100CANON"});
  Heard heard(home_);
  TVolumeWatch watch([&](const std::vector<TVolume>& v) { heard.List(v); },
                     [&](const std::string& dcim) { heard.Card(dcim); });
  ASSERT_TRUE(heard.WaitFor(
      [&](const auto& volumes, const auto&) { return Lists(volumes, first.path()); }));
  EXPECT_TRUE(heard.WaitFor([&](const auto& volumes, const auto&) {
    return LabelOf(volumes, first.path()) == "EOS_DIGITAL";
  }));

  // A card inserted later, and a phone whose pictures are one folder down.
  test_support::FatCard second(home_ / "NIKON_D750", {"DCIM"});
  test_support::FatCard phone(home_ / "Pixel",
                              {"Internal shared storage", "Internal shared storage/DCIM"});
  test_support::FatCard stick(home_ / "USB");
  EXPECT_TRUE(heard.WaitFor([&](const auto& volumes, const auto& cards) {
    return Lists(volumes, second.path()) && Lists(volumes, phone.path()) &&
           Lists(volumes, stick.path()) &&
           std::count(cards.begin(), cards.end(), (second.path() / "DCIM").string()) == 1 &&
           std::count(cards.begin(), cards.end(),
                      (phone.path() / "Internal shared storage" / "DCIM").string()) == 1;
  }));
  // A card already there at the start is no arrival; a stick without DCIM
  // is none.
  EXPECT_TRUE(heard.WaitFor([&](const auto&, const auto& cards) {
    return std::count(cards.begin(), cards.end(), (first.path() / "DCIM").string()) == 0 &&
           cards.size() == 2;
  }));

  second.Unmount();
  EXPECT_TRUE(heard.WaitFor([&](const auto& volumes, const auto&) {
    return !Lists(volumes, second.path()) && Lists(volumes, first.path());
  }));
}

TEST_F(VolumeMounts, AMountThatHangsHoldsUpNothing) {
  test_support::HungMount hung(home_ / "hung");
  test_support::FatCard card(home_ / "CARD", {"DCIM"});
  const auto start = std::chrono::steady_clock::now();
  Heard heard(home_);
  {
    TVolumeWatch watch([&](const std::vector<TVolume>& v) { heard.List(v); },
                       [&](const std::string& dcim) { heard.Card(dcim); });
    EXPECT_TRUE(heard.WaitFor(
        [&](const auto& volumes, const auto&) { return Lists(volumes, card.path()); }));
    // Another hung mount that arrives: its DCIM folder is looked for in vain
    // on a thread of its own, and the next card is still told.
    test_support::HungMount later(home_ / "hung-later");
    test_support::FatCard next(home_ / "NEXT", {"DCIM"});
    EXPECT_TRUE(heard.WaitFor([&](const auto& volumes, const auto& cards) {
      return Lists(volumes, next.path()) && cards.size() == 1 &&
             cards[0] == (next.path() / "DCIM").string();
    }));
  }
  EXPECT_LT(std::chrono::steady_clock::now() - start, 15s);
}

}  // namespace
}  // namespace platform
