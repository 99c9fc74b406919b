// A camera clock set wrong, as the command line, the log and the saved
// settings write it: "[+|-]HH:MM", "[+|-]HH:MM:SS", "[+|-]D:HH:MM:SS".
#include "app/core/clock_shift.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace {

TEST(ClockShift, ReadsEveryFormAndRefusesAnythingElse) {
  const struct {
    const char* text;
    std::optional<long long> seconds;
  } cases[] = {
      {"+09:00", 9 * 3600},
      {"09:00", 9 * 3600},
      {"9:00", 9 * 3600},
      {"-00:30", -30 * 60},
      {"+09:00:00", 9 * 3600},
      {"-00:00:01", -1},
      {"+00:00:00", 0},
      {"+23:59:59", 86399},
      {"+48:00", 48 * 3600},
      {"+1:00:00:00", 86400},
      {"-1:02:03:04", -(86400 + 2 * 3600 + 3 * 60 + 4)},
      {"+1:23:59:59", 86400 + 86399},
      {"+99999:23:59:59", 100000LL * 86400 - 1},
      {"+2399999:59:59", 100000LL * 86400 - 1},
      // Each field one step past its end, and forms that are not the form.
      {"+1:24:00:00", std::nullopt},
      {"+09:60", std::nullopt},
      {"+09:00:60", std::nullopt},
      {"+09:0", std::nullopt},
      {"+09:00:0", std::nullopt},
      {"+100000:00:00:00", std::nullopt},
      {"+2400000:00:00", std::nullopt},
      {"+09", std::nullopt},
      {"", std::nullopt},
      {"+", std::nullopt},
      {"++09:00", std::nullopt},
      {"+09:00:00:00:00", std::nullopt},
      {"+1:09:00", 3600 + 9 * 60},  // three fields are hours, minutes, seconds
      {"+0x:00", std::nullopt},
      {"+09:00 ", std::nullopt},
      {"+-09:00", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(app::ParseClockShift(c.text), c.seconds) << c.text;
}

TEST(ClockShift, WritesWhatItReadsBack) {
  const struct {
    long long seconds;
    const char* text;
  } cases[] = {
      {0, "+00:00:00"},
      {9 * 3600, "+09:00:00"},
      {-30 * 60, "-00:30:00"},
      {86399, "+23:59:59"},
      {86400, "+1:00:00:00"},
      {-(86400 + 2 * 3600 + 3 * 60 + 4), "-1:02:03:04"},
      {app::kClockShiftMaxSeconds, "+99999:23:59:59"},
      {-app::kClockShiftMaxSeconds, "-99999:23:59:59"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(app::ClockShiftText(c.seconds), c.text) << c.seconds;
    EXPECT_EQ(app::ParseClockShift(c.text), c.seconds) << c.text;
    EXPECT_EQ(app::JoinClockShift(app::SplitClockShift(c.seconds)), c.seconds) << c.seconds;
  }
}

}  // namespace
