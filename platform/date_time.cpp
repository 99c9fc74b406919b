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

DateTime DateOfDaysSince1970(long long days) {
  const long long z = days + 719468;
  const long long era = (z >= 0 ? z : z - 146096) / 146097;
  const long long day_of_era = z - era * 146097;
  const long long year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  const long long day_of_year =
      day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  const long long shifted_month = (5 * day_of_year + 2) / 153;  // March is 0
  DateTime date;
  date.day = static_cast<int>(day_of_year - (153 * shifted_month + 2) / 5 + 1);
  date.month = static_cast<int>(shifted_month < 10 ? shifted_month + 3 : shifted_month - 9);
  date.year = static_cast<int>(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
  date.hour = date.minute = date.second = date.millisecond = 0;
  return date;
}

DateTime AddSeconds(const DateTime& date, long long seconds) {
  constexpr long long kDay = 24 * 60 * 60;
  const long long first = DaysSince1970(1, 1, 1) * kDay;
  const long long last = (DaysSince1970(9999, 12, 31) + 1) * kDay - 1;
  long long moment = DaysSince1970(date.year, date.month, date.day) * kDay + date.hour * 3600LL +
                     date.minute * 60LL + date.second;
  // No overflow: a shift is far smaller than the range of long long.
  moment += seconds;
  if (moment < first) moment = first;
  if (moment > last) moment = last;
  const long long days = moment >= 0 ? moment / kDay : (moment - kDay + 1) / kDay;
  const long long of_day = moment - days * kDay;
  DateTime moved = DateOfDaysSince1970(days);
  moved.hour = static_cast<int>(of_day / 3600);
  moved.minute = static_cast<int>(of_day / 60 % 60);
  moved.second = static_cast<int>(of_day % 60);
  moved.millisecond = date.millisecond;
  return moved;
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
