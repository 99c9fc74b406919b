#include "platform/date_time.h"

#include <gtest/gtest.h>

namespace {

TEST(DateTime, DaysOfAMonthFollowTheGregorianLeapYears) {
  struct Case {
    int year;
    int month;
    int days;
  } cases[] = {
      {2023, 2, 28},
      {2024, 2, 29},
      {1900, 2, 28},
      {2000, 2, 29},
      {2100, 2, 28},
      {1, 2, 28},
      {4, 2, 29},
      {9999, 12, 31},
      {2024, 1, 31},
      {2024, 4, 30},
      {2024, 11, 30},
      // A month that does not exist has no days.
      {2024, 0, 0},
      {2024, 13, 0},
  };
  for (const Case& c : cases)
    EXPECT_EQ(platform::DaysInMonth(c.year, c.month), c.days) << c.year << "-" << c.month;
  EXPECT_TRUE(platform::IsLeapYear(2000));
  EXPECT_FALSE(platform::IsLeapYear(1900));
}

TEST(DateTime, DaysSince1970CountAcrossLeapDaysAndCenturies) {
  const struct {
    int year, month, day;
    long long days;
  } cases[] = {
      {1970, 1, 1, 0},        {1969, 12, 31, -1},     {1970, 1, 2, 1},
      {1904, 1, 1, -24107},   {2000, 2, 29, 11016},   {2000, 3, 1, 11017},
      {1900, 3, 1, -25508},   {1, 1, 1, -719162},     {9999, 12, 31, 2932896},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::DaysSince1970(c.year, c.month, c.day), c.days)
        << c.year << "-" << c.month << "-" << c.day;
    const platform::DateTime back = platform::DateOfDaysSince1970(c.days);
    EXPECT_EQ(back, (platform::DateTime{c.year, c.month, c.day, 0, 0, 0, 0})) << c.days;
  }
  // Every day of four centuries around the epoch comes back as itself.
  for (long long days = -146097 * 2; days <= 146097 * 2; ++days) {
    const platform::DateTime date = platform::DateOfDaysSince1970(days);
    ASSERT_EQ(platform::DaysSince1970(date.year, date.month, date.day), days);
  }
}

// A clock set wrong moves the date across a minute, a day, a month, a leap
// day and a year, both ways, and stops at the calendar's ends.
TEST(DateTime, AddSecondsMovesTheClockAcrossEveryBoundary) {
  using platform::DateTime;
  const struct {
    DateTime from;
    long long seconds;
    DateTime to;
  } cases[] = {
      {{2024, 5, 6, 10, 0, 0, 250}, 0, {2024, 5, 6, 10, 0, 0, 250}},
      {{2024, 5, 6, 10, 0, 0, 0}, 5, {2024, 5, 6, 10, 0, 5, 0}},
      {{2024, 5, 6, 23, 59, 59, 0}, 1, {2024, 5, 7, 0, 0, 0, 0}},
      {{2024, 5, 7, 0, 0, 0, 0}, -1, {2024, 5, 6, 23, 59, 59, 0}},
      {{2024, 1, 31, 20, 0, 0, 0}, 9 * 3600, {2024, 2, 1, 5, 0, 0, 0}},
      {{2024, 2, 28, 12, 0, 0, 0}, 86400, {2024, 2, 29, 12, 0, 0, 0}},
      {{2023, 2, 28, 12, 0, 0, 0}, 86400, {2023, 3, 1, 12, 0, 0, 0}},
      {{2024, 12, 31, 15, 0, 0, 0}, 9 * 3600, {2025, 1, 1, 0, 0, 0, 0}},
      {{2025, 1, 1, 0, 0, 0, 0}, -9 * 3600, {2024, 12, 31, 15, 0, 0, 0}},
      {{2000, 1, 1, 0, 0, 0, 0}, 9000LL * 86400, {2024, 8, 22, 0, 0, 0, 0}},
      {{1969, 12, 31, 23, 0, 0, 0}, 3600, {1970, 1, 1, 0, 0, 0, 0}},
      {{9999, 12, 31, 23, 59, 59, 0}, 1, {9999, 12, 31, 23, 59, 59, 0}},
      {{1, 1, 1, 0, 0, 0, 0}, -1, {1, 1, 1, 0, 0, 0, 0}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::AddSeconds(c.from, c.seconds), c.to)
        << c.from.year << "-" << c.from.month << "-" << c.from.day << " " << c.from.hour << ":"
        << c.from.minute << ":" << c.from.second << " + " << c.seconds;
  }
}

}  // namespace
