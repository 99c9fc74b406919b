#include "platform/dos_date_time.h"

namespace platform {
namespace {

bool IsValid(const DateTime& v) {
  return v.month >= 1 && v.month <= 12 && v.day >= 1 && v.day <= DaysInMonth(v.year, v.month) &&
         v.hour >= 0 && v.hour <= 23 && v.minute >= 0 && v.minute <= 59 && v.second >= 0 &&
         v.second <= 59;
}

}  // namespace

std::optional<DosDateTime> DateTimeToDosDateTime(const DateTime& value) {
  if (value.year < 1980 || value.year > 2107 || !IsValid(value)) return std::nullopt;
  std::uint32_t date = (static_cast<std::uint32_t>(value.year - 1980) << 9) |
                       (static_cast<std::uint32_t>(value.month) << 5) |
                       static_cast<std::uint32_t>(value.day);
  std::uint32_t time = (static_cast<std::uint32_t>(value.hour) << 11) |
                       (static_cast<std::uint32_t>(value.minute) << 5) |
                       static_cast<std::uint32_t>(value.second / 2);
  return static_cast<DosDateTime>((date << 16) | time);
}

std::optional<DateTime> DosDateTimeToDateTime(DosDateTime value) {
  const auto bits = static_cast<std::uint32_t>(value);
  DateTime result;
  result.year = static_cast<int>(bits >> 25) + 1980;
  result.month = static_cast<int>((bits >> 21) & 0x0F);
  result.day = static_cast<int>((bits >> 16) & 0x1F);
  result.hour = static_cast<int>((bits >> 11) & 0x1F);
  result.minute = static_cast<int>((bits >> 5) & 0x3F);
  result.second = static_cast<int>(bits & 0x1F) * 2;
  result.millisecond = 0;
  if (!IsValid(result)) return std::nullopt;
  return result;
}

std::optional<DosDateTime> UnixTimeToDosDateTime(std::time_t seconds) {
  const std::optional<DateTime> local = LocalDateTime(seconds);
  if (!local) return std::nullopt;
  return DateTimeToDosDateTime(*local);
}

}  // namespace platform
