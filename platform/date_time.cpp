#include "platform/date_time.h"

#include <chrono>
#include <ctime>

namespace platform {

bool IsLeapYear(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  if (month < 1 || month > 12) return 0;
  return month == 2 && IsLeapYear(year) ? 29 : kDays[month - 1];
}

long long DaysSince1970(int year, int month, int day) {
  const long long y = year - (month <= 2 ? 1 : 0);
  const long long era = (y >= 0 ? y : y - 399) / 400;
  const long long year_of_era = y - era * 400;
  const long long day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  const long long day_of_era =
      year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

bool IsRealDateTime(const DateTime& d) {
  return d.year >= 1 && d.year <= 9999 && d.day >= 1 && d.day <= DaysInMonth(d.year, d.month) &&
         d.hour >= 0 && d.hour <= 23 && d.minute >= 0 && d.minute <= 59 && d.second >= 0 &&
         d.second <= 59;
}

DateTime Now() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  const auto millis =
      std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  DateTime result = LocalDateTime(seconds).value_or(DateTime{});
  result.millisecond = static_cast<int>(millis);
  return result;
}

std::optional<DateTime> LocalDateTime(std::time_t seconds) {
  std::tm local{};
  if (!localtime_r(&seconds, &local)) return std::nullopt;
  DateTime result;
  result.year = local.tm_year + 1900;
  result.month = local.tm_mon + 1;
  result.day = local.tm_mday;
  result.hour = local.tm_hour;
  result.minute = local.tm_min;
  result.second = local.tm_sec > 59 ? 59 : local.tm_sec;
  result.millisecond = 0;
  return result;
}

}  // namespace platform
