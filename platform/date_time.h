// A local calendar date and time of day, the value the date formatter prints.
#pragma once

#include <compare>
#include <ctime>
#include <optional>

namespace platform {

struct DateTime {
  int year = 1899;
  int month = 12;  // 1..12
  int day = 30;    // 1..31
  int hour = 0;
  int minute = 0;
  int second = 0;
  int millisecond = 0;

  // Field by field from the year down: earlier moments compare less.
  friend auto operator<=>(const DateTime&, const DateTime&) = default;
  friend bool operator==(const DateTime&, const DateTime&) = default;
};

// Leap years of the proleptic Gregorian calendar.
bool IsLeapYear(int year);

// The days of `month` (1..12) in `year`; 0 for a month that does not exist.
int DaysInMonth(int year, int month);

// Days from 1970-01-01 to the date, negative before it, on the proleptic
// Gregorian calendar, for any year.
long long DaysSince1970(int year, int month, int day);

// The date `days` days after 1970-01-01 (before it when negative), the
// inverse of DaysSince1970; the time of day of the result is 00:00:00.
DateTime DateOfDaysSince1970(long long days);

// `date` moved by `seconds` on the calendar and the clock alone (no time
// zone, no leap seconds), its milliseconds kept: what a clock that was set
// wrong by that much would have shown. A result before the year 1 or after
// 9999 stops at that year's first or last second.
DateTime AddSeconds(const DateTime& date, long long seconds);

// Whether a date and time read from a file names a real moment: a year of
// four digits, a day its month has, a time of day within 00:00:00..23:59:59.
bool IsRealDateTime(const DateTime& date);

// The current local date and time.
DateTime Now();

// The local date and time of a moment in seconds since the epoch (a leap
// second shows as the last regular second of its minute); no value when the
// moment has no local form.
std::optional<DateTime> LocalDateTime(std::time_t seconds);

}  // namespace platform
