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
  }
}

}  // namespace
