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
  // Between `fewest` and `most` decimal digits, as many as there are up to
  // `most`.
  bool TakeNumber(std::size_t fewest, std::size_t most, int& value) {
    std::size_t n = 0;
    int v = 0;
    while (n < most && at_ + n < text_.size() && IsDigit(text_[at_ + n]))
      v = v * 10 + (text_[at_ + n++] - '0');
    if (n < fewest) return false;
    value = v;
    at_ += n;
    return true;
  }
  bool TakeNumber(std::size_t digits, int& value) { return TakeNumber(digits, digits, value); }
  // Letters up to the next other character.
  std::string_view TakeLetters() {
    const std::size_t from = at_;
    while (!AtEnd() && Peek() >= 'A' && Peek() <= 'Z') ++at_;
    return text_.substr(from, at_ - from);
  }
  // True when at least one space was there.
  bool SkipSpaces() {
    const std::size_t from = at_;
    while (Take(' ')) {
    }
    return at_ != from;
  }

 private:
  static bool IsDigit(char c) { return c >= '0' && c <= '9'; }

  std::string_view text_;
  std::size_t at_ = 0;
};

constexpr std::array<std::string_view, 12> kMonths = {"JAN", "FEB", "MAR", "APR", "MAY", "JUN",
                                                      "JUL", "AUG", "SEP", "OCT", "NOV", "DEC"};

// "JAN", "JANUARY", ... as 1..12; 0 for no month's name.
int MonthOfName(std::string_view word) {
  if (word.size() < 3) return 0;
  for (std::size_t m = 0; m < kMonths.size(); ++m)
    if (word.substr(0, 3) == kMonths[m]) return static_cast<int>(m) + 1;
  return 0;
}

// "H:MM[:SS[.fraction]]" and an AM or PM after it.
bool TakeTime(Scanner& in, DateTime& date) {
  if (!in.TakeNumber(1, 2, date.hour) || !in.Take(':')) return false;
  in.SkipSpaces();
  if (!in.TakeNumber(2, date.minute)) return false;
  date.second = 0;
  if (in.Take(':') && !in.TakeNumber(2, date.second)) return false;
  if (in.Take('.')) {
    int digits = 0;
    if (!in.TakeNumber(1, 9, digits)) return false;
  }
  Scanner before_half = in;
  in.SkipSpaces();
  const bool pm = in.TakeWord("PM") || in.TakeWord("P");
  const bool am = !pm && (in.TakeWord("AM") || in.TakeWord("A"));
  if (!pm && !am) {
    in = before_half;
    return true;
  }
  if (date.hour < 1 || date.hour > 12) return false;
  date.hour = date.hour % 12 + (pm ? 12 : 0);
  return true;
}

// "2021-07-04 05:06:07", "2009/10/27 12:14:34", "2005:08:17 11:42:43",
// "2001/ 1/27  1:42PM", "2005/11/28/ 09:19", "2020-08-28".
bool TakeNumericDate(Scanner& in, RecordedDate& date) {
  if (!in.TakeNumber(4, date.clock.year)) return false;
  const char separator = in.Peek();
  if (separator != '-' && separator != '/' && separator != ':') return false;
  in.Take(separator);
  in.SkipSpaces();
  if (!in.TakeNumber(1, 2, date.clock.month) || !in.Take(separator)) return false;
  in.SkipSpaces();
  if (!in.TakeNumber(1, 2, date.clock.day)) return false;
  in.Take('/');
  const bool spaced = in.SkipSpaces();
  if (in.AtEnd()) {
    date.has_time = false;
    return true;
  }
  if (!spaced && !in.Take('T')) return false;
  in.SkipSpaces();
  return TakeTime(in, date.clock);
}

// "Thu Oct 26 16:46:04 2006", the C library's form; the day may have one
// digit after a second space, and the day's name may be missing.
bool TakeCDate(Scanner& in, RecordedDate& date) {
  std::string_view word = in.TakeLetters();
  if (!MonthOfName(word)) {
    if (word.size() < 3 || !in.SkipSpaces()) return false;
    word = in.TakeLetters();
  }
  date.clock.month = MonthOfName(word);
  if (date.clock.month == 0 || !in.SkipSpaces()) return false;
  if (!in.TakeNumber(1, 2, date.clock.day) || !in.SkipSpaces() || !TakeTime(in, date.clock) ||
      !in.SkipSpaces()) {
    return false;
  }
  return in.TakeNumber(4, date.clock.year);
}

// "Z", "UTC", "+09:00", "+0900", "-05".
bool TakeZone(Scanner& in, RecordedDate& date) {
  if (in.TakeWord("UTC") || in.TakeWord("GMT") || in.TakeWord("Z")) {
    date.zone = DateZone::kUtc;
    return true;
  }
  const bool east = in.Take('+');
  if (!east && !in.Take('-')) return false;
  int hours = 0;
  int minutes = 0;
  if (!in.TakeNumber(2, hours)) return false;
  in.Take(':');
  if (!in.AtEnd() && !in.TakeNumber(2, minutes)) return false;
  if (hours > 14 || minutes > 59) return false;
  date.zone = DateZone::kOffset;
  date.offset_minutes = (east ? 1 : -1) * (hours * 60 + minutes);
  return true;
}

// The text in capitals, NULs, line ends and tabs as spaces, without the
// spaces around it.
std::string Tidied(std::string_view text) {
  std::string tidy;
  for (char c : text) {
    if (c == '\0' || c == '\n' || c == '\r' || c == '\t') c = ' ';
    tidy += static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  }
  const std::size_t first = tidy.find_first_not_of(' ');
  if (first == std::string::npos) return {};
  return tidy.substr(first, tidy.find_last_not_of(' ') - first + 1);
}

}  // namespace

std::optional<RecordedDate> ParseRecordedDate(std::string_view text) {
  const std::string tidy = Tidied(text);
  Scanner in(tidy);
  RecordedDate date;
  date.clock = DateTime{};
  date.clock.hour = date.clock.minute = date.clock.second = 0;
  const bool utc_first = in.TakeWord("UTC ");
  const Scanner start = in;
  if (!TakeNumericDate(in, date)) {
    in = start;
    date.has_time = true;
    if (!TakeCDate(in, date)) return std::nullopt;
  }
  if (utc_first) date.zone = DateZone::kUtc;
  in.SkipSpaces();
  if (!in.AtEnd() && date.has_time) {
    if (utc_first || !TakeZone(in, date)) return std::nullopt;
    in.SkipSpaces();
  }
  if (!in.AtEnd() || !IsRealDateTime(date.clock)) return std::nullopt;
  return date;
}

bool IsZeroDay(const DateTime& d) {
  return (d.year == 1904 || d.year == 1970) && d.month == 1 && d.day == 1;
}

std::optional<DateTime> VideoDateOf(const RecordedDate& date, DateMeaning meaning) {
  if (!date.has_time) return std::nullopt;
  if (meaning == DateMeaning::kClock)
    return IsZeroDay(date.clock) ? std::nullopt : std::optional<DateTime>(date.clock);
  // A moment: the zero date is one of the clock's in UTC, before any zone.
  const DateTime& c = date.clock;
  const int offset = date.zone == DateZone::kOffset ? date.offset_minutes : 0;
  const long long seconds = (DaysSince1970(c.year, c.month, c.day) * 24 + c.hour) * 3600LL +
                            c.minute * 60LL + c.second - offset * 60LL;
  const long long day = (seconds >= 0 ? seconds : seconds - 86399) / 86400;
  if (day == DaysSince1970(1904, 1, 1) || day == 0) return std::nullopt;
  return LocalDateTime(static_cast<std::time_t>(seconds));
}

std::optional<DateTime> VideoDateFromText(std::string_view text, DateMeaning meaning) {
  const std::optional<RecordedDate> date = ParseRecordedDate(text);
  return date ? VideoDateOf(*date, meaning) : std::nullopt;
}

}  // namespace platform
