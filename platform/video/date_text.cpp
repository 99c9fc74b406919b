#include "platform/video/date_text.h"

#include <array>
#include <cctype>
#include <string>

namespace platform {
namespace {

// Reads texts left to right; every Take fails without moving on a mismatch.
class Scanner {
 public:
  explicit Scanner(std::string_view text) : text_(text) {}

  bool AtEnd() const { return at_ == text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[at_]; }

  bool Take(char c) {
    if (Peek() != c) return false;
    ++at_;
    return true;
  }
  bool TakeWord(std::string_view word) {
    if (text_.substr(at_, word.size()) != word) return false;
    at_ += word.size();
    return true;
  }
  // Exactly `digits` decimal digits.
  bool TakeNumber(std::size_t digits, int& value) {
    if (text_.size() - at_ < digits) return false;
    int v = 0;
    for (std::size_t i = 0; i < digits; ++i) {
      const char c = text_[at_ + i];
      if (c < '0' || c > '9') return false;
      v = v * 10 + (c - '0');
    }
    value = v;
    at_ += digits;
    return true;
  }
  void SkipSpaces() {
    while (Take(' ')) {
    }
  }

 private:
  std::string_view text_;
  std::size_t at_ = 0;
};

// "YYYY-MM-DD HH:MM:SS" (or "T" between), and a fraction that the name
// has no room for.
bool TakeIsoDateTime(Scanner& in, DateTime& date) {
  if (!in.TakeNumber(4, date.year) || !in.Take('-') || !in.TakeNumber(2, date.month) ||
      !in.Take('-') || !in.TakeNumber(2, date.day) || !(in.Take(' ') || in.Take('T')) ||
      !in.TakeNumber(2, date.hour) || !in.Take(':') || !in.TakeNumber(2, date.minute) ||
      !in.Take(':') || !in.TakeNumber(2, date.second)) {
    return false;
  }
  if (in.Take('.')) {
    int digit = 0;
    if (!in.TakeNumber(1, digit)) return false;
    while (in.TakeNumber(1, digit)) {
    }
  }
  return true;
}

// "Thu Oct 26 16:46:04 2006", the C library's form; the day may have one
// digit after a second space.
bool TakeCDateTime(Scanner& in, DateTime& date) {
  static constexpr std::array<std::string_view, 7> kDays = {"SUN", "MON", "TUE", "WED",
                                                            "THU", "FRI", "SAT"};
  static constexpr std::array<std::string_view, 12> kMonths = {
      "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};
  bool day_name = false;
  for (std::string_view name : kDays) day_name = day_name || in.TakeWord(name);
  if (!day_name || !in.Take(' ')) return false;
  date.month = 0;
  for (std::size_t m = 0; m < kMonths.size() && date.month == 0; ++m)
    if (in.TakeWord(kMonths[m])) date.month = static_cast<int>(m) + 1;
  if (date.month == 0) return false;
  in.SkipSpaces();
  if (!in.TakeNumber(2, date.day) && !in.TakeNumber(1, date.day)) return false;
  return in.Take(' ') && in.TakeNumber(2, date.hour) && in.Take(':') &&
         in.TakeNumber(2, date.minute) && in.Take(':') && in.TakeNumber(2, date.second) &&
         in.Take(' ') && in.TakeNumber(4, date.year);
}

// Minutes east of UTC: "Z", "+09:00", "+0900", "-05".
bool TakeOffset(Scanner& in, int& minutes) {
  if (in.Take('Z')) {
    minutes = 0;
    return true;
  }
  const bool east = in.Take('+');
  if (!east && !in.Take('-')) return false;
  int hours = 0;
  int mins = 0;
  if (!in.TakeNumber(2, hours)) return false;
  in.Take(':');
  if (!in.AtEnd() && !in.TakeNumber(2, mins)) return false;
  if (hours > 14 || mins > 59) return false;
  minutes = (east ? 1 : -1) * (hours * 60 + mins);
  return true;
}

bool IsZeroDate(const DateTime& d) {
  return (d.year == 1904 || d.year == 1970) && d.month == 1 && d.day == 1;
}

}  // namespace

std::optional<DateTime> VideoDateFromText(std::string_view text, UnzonedDate unzoned) {
  std::string upper(text);
  for (char& c : upper) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  Scanner in(upper);
  in.SkipSpaces();
  bool utc = in.TakeWord("UTC ");
  DateTime date;
  if (!TakeIsoDateTime(in, date)) {
    in = Scanner(upper);
    in.SkipSpaces();
    if (!TakeCDateTime(in, date)) return std::nullopt;
  }
  std::optional<int> offset;
  if (utc) offset = 0;
  in.SkipSpaces();
  if (!in.AtEnd()) {
    int minutes = 0;
    if (in.TakeWord("UTC"))
      minutes = 0;
    else if (!TakeOffset(in, minutes))
      return std::nullopt;
    offset = minutes;
    in.SkipSpaces();
    if (!in.AtEnd()) return std::nullopt;
  }
  if (!offset && unzoned == UnzonedDate::kUtc) offset = 0;
  if (!IsRealDateTime(date)) return std::nullopt;
  if (!offset) return IsZeroDate(date) ? std::nullopt : std::optional<DateTime>(date);

  // A moment: the zero date is one of the clock's, before any zone.
  const long long seconds =
      (DaysSince1970(date.year, date.month, date.day) * 24 + date.hour) * 3600LL +
      date.minute * 60LL + date.second - *offset * 60LL;
  const long long day = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  if (day == DaysSince1970(1904, 1, 1) || day == 0) return std::nullopt;
  return LocalDateTime(static_cast<std::time_t>(seconds));
}

}  // namespace platform
