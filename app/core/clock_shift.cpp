#include "app/core/clock_shift.h"

#include <algorithm>
#include <charconv>
#include <cstdlib>
#include <vector>

namespace app {
namespace {

// Digits only, the whole text, `min_digits` to `max_digits` of them.
std::optional<long long> Number(std::string_view text, std::size_t min_digits,
                                std::size_t max_digits) {
  if (text.size() < min_digits || text.size() > max_digits ||
      !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
    return std::nullopt;
  }
  long long value = 0;
  std::from_chars(text.data(), text.data() + text.size(), value);
  return value;
}

std::vector<std::string_view> Fields(std::string_view text) {
  std::vector<std::string_view> fields;
  for (;;) {
    const std::size_t colon = text.find(':');
    fields.push_back(text.substr(0, colon));
    if (colon == std::string_view::npos) return fields;
    text.remove_prefix(colon + 1);
  }
}

void PutTwoDigits(std::string& text, long long value) {
  text += static_cast<char>('0' + value / 10);
  text += static_cast<char>('0' + value % 10);
}

}  // namespace

std::optional<long long> ParseClockShift(std::string_view text) {
  bool negative = false;
  if (!text.empty() && (text.front() == '+' || text.front() == '-')) {
    negative = text.front() == '-';
    text.remove_prefix(1);
  }
  const std::vector<std::string_view> fields = Fields(text);
  if (fields.size() < 2 || fields.size() > 4) return std::nullopt;
  const bool has_days = fields.size() == 4;
  const std::size_t hours_at = has_days ? 1 : 0;
  std::optional<long long> days = has_days ? Number(fields[0], 1, 5) : 0;
  const std::optional<long long> hours =
      has_days ? Number(fields[hours_at], 1, 2) : Number(fields[hours_at], 1, 7);
  const std::optional<long long> minutes = Number(fields[hours_at + 1], 2, 2);
  const std::optional<long long> seconds =
      fields.size() > hours_at + 2 ? Number(fields[hours_at + 2], 2, 2) : 0;
  if (!days || !hours || !minutes || !seconds || *minutes > 59 || *seconds > 59 ||
      (has_days && *hours > 23)) {
    return std::nullopt;
  }
  const long long total = ((*days * 24 + *hours) * 60 + *minutes) * 60 + *seconds;
  if (total > kClockShiftMaxSeconds) return std::nullopt;
  return negative ? -total : total;
}

ClockShiftParts SplitClockShift(long long seconds) {
  ClockShiftParts parts;
  parts.negative = seconds < 0;
  const long long size = std::llabs(seconds);
  parts.days = size / 86400;
  parts.hours = static_cast<int>(size / 3600 % 24);
  parts.minutes = static_cast<int>(size / 60 % 60);
  parts.seconds = static_cast<int>(size % 60);
  return parts;
}

long long JoinClockShift(const ClockShiftParts& parts) {
  const long long size =
      ((parts.days * 24 + parts.hours) * 60 + parts.minutes) * 60 + parts.seconds;
  return parts.negative ? -size : size;
}

std::string ClockShiftText(long long seconds) {
  const ClockShiftParts parts = SplitClockShift(seconds);
  std::string text = parts.negative ? "-" : "+";
  if (parts.days != 0) text += std::to_string(parts.days) + ":";
  PutTwoDigits(text, parts.hours);
  text += ':';
  PutTwoDigits(text, parts.minutes);
  text += ':';
  PutTwoDigits(text, parts.seconds);
  return text;
}

}  // namespace app
