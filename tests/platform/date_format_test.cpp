#include "platform/date_format.h"

#include <gtest/gtest.h>

#include "platform/cp932.h"
#include "platform/user_locale.h"

namespace {

using platform::DateTime;

// Formats and results are CP932; the cases are written in UTF-8.
std::string Format(std::string_view utf8_format, const DateTime& date) {
  return platform::Cp932ToUtf8Lossy(
      platform::FormatDateTime(platform::Utf8ToCp932(utf8_format).value(), date));
}

const DateTime kEvening{2026, 12, 8, 17, 5, 9, 0};  // a Tuesday
const DateTime kMorning{2026, 1, 2, 3, 4, 5, 0};    // a Friday
const DateTime kMidnight{2000, 8, 9, 0, 0, 0, 0};   // a Wednesday
const DateTime kHalfPastMidnight{2000, 8, 9, 0, 30, 0, 0};
const DateTime kNoon{2000, 8, 9, 12, 0, 0, 0};

struct Case {
  const char* format;
  DateTime date;
  const char* expected;
};

void ExpectAll(const std::vector<Case>& cases) {
  for (const Case& c : cases)
    EXPECT_EQ(Format(c.format, c.date), c.expected) << "format " << c.format;
}

TEST(DateFormat, EveryTokenUnderJapanese) {
  platform::ScopedUserLocale japanese("ja_JP");
  ExpectAll({
      {"d", kEvening, "8"},
      {"dd", kMorning, "02"},
      {"ddd", kEvening, "火"},
      {"dddd", kMorning, "金曜日"},
      {"ddddd", kMorning, "2026/01/02"},
      {"dddddd", kMorning, "2026年1月2日"},
      {"aaa", kMidnight, "水"},
      {"aaaa", kEvening, "火曜日"},
      {"m", kMorning, "1"},
      {"mm", kMorning, "01"},
      {"mmm", kMorning, "1月"},
      {"mmmm", kEvening, "12月"},
      {"yy", kMidnight, "00"},
      {"yyyy", kEvening, "2026"},
      {"e", kEvening, "8"},
      {"ee", kEvening, "08"},
      {"g", kEvening, "令"},
      {"gg", kEvening, "令和"},
      {"ggg", kMidnight, "平成"},
      {"h", kMorning, "3"},
      {"hh", kMorning, "03"},
      {"hh", kEvening, "17"},
      {"n", kEvening, "5"},
      {"nn", kEvening, "05"},
      {"s", kEvening, "9"},
      {"ss", kEvening, "09"},
      {"t", kEvening, "17:05"},
      {"tt", kMorning, "3:04:05"},
      {"c", kEvening, "2026/12/08 17:05:09"},
      {"c", kMidnight, "2000/08/09"},  // no time at exactly 00:00:00
      {"c", {2000, 8, 9, 0, 0, 5, 0}, "2000/08/09 0:00:05"},
      {"am/pm", kEvening, "pm"},
      {"AM/PM", kMorning, "AM"},
      {"a/p", kMorning, "a"},
      {"A/P", kEvening, "P"},
      {"ampm", kMorning, "午前"},
      {"ampm", kEvening, "午後"},
      {"YYYY MM DD", kMorning, "2026 01 02"},  // tokens in either case
      {"", kEvening, "2026/12/08 17:05:09"},   // an empty format means "c"
  });
}

TEST(DateFormat, QuotedTextPrintsAsItStands) {
  platform::ScopedUserLocale japanese("ja_JP");
  ExpectAll({
      {"\"yyyy\"yyyy", kEvening, "yyyy2026"},
      {"'dd'dd", kEvening, "dd08"},
      {"\"\"", kEvening, ""},  // an empty pair prints nothing
      {"\"\"yyyy\"年\"", kEvening, "2026年"},
      {"'a\"b'\"c'd\"", kEvening, "a\"bc'd"},  // each quote kind holds the other
      {"yy\"abc", kEvening, "26abc"},          // an unclosed quote runs to the end
      {"yyyy/mm/dd hh:nn", kEvening, "2026/12/08 17:05"},
      {"電ドテ都", kEvening, "電ドテ都"},  // second bytes d, h, e, s are no tokens
      {"xyz", kEvening, "x26z"},           // "y" alone is a two-digit year
  });
}

TEST(DateFormat, HourTurnsToTwelveHourClockOnlyBeforeAMarker) {
  platform::ScopedUserLocale japanese("ja_JP");
  ExpectAll({
      {"hh:nn am/pm", kEvening, "05:05 pm"},
      {"h:nn a/p", kHalfPastMidnight, "12:30 a"},
      {"h ampm", kNoon, "12 午後"},
      {"h\"x\"ampm", kMorning, "3x午前"},
      {"ampm h", kEvening, "午後 17"},  // the marker must follow the hour
      {"hh", kEvening, "17"},
  });
}

TEST(DateFormat, MonthTokenAfterAnHourIsMinutes) {
  platform::ScopedUserLocale japanese("ja_JP");
  ExpectAll({
      {"hh\"時\"mm\"分\"", kEvening, "17時05分"},
      {"\"\"hh\"\"\"\"m\"\"", kEvening, "175"},  // only empty literals between
      {"h:m", kMorning, "3:4"},
      {"mm", kEvening, "12"},
      {"hh\"時\"mmm", kEvening, "17時12月"},  // a month name stays a month name
      {"hh dd mm", kEvening, "17 08 12"},     // another token between: a month
      {"hhxmm", kEvening, "17x12"},           // so does a letter that is no token
      {"nn mm", kEvening, "05 12"},
  });
}

TEST(DateFormat, EraBoundariesOfTheJapaneseCalendar) {
  platform::ScopedUserLocale japanese("ja_JP");
  ExpectAll({
      {"ggge", {2019, 5, 1}, "令和1"},
      {"ggge", {2019, 4, 30}, "平成31"},
      {"ggge", {1989, 1, 8}, "平成1"},
      {"ggge", {1989, 1, 7}, "昭和64"},
      {"ggge", {1926, 12, 25}, "昭和1"},
      {"ggge", {1926, 12, 24}, "大正15"},
      {"ggge", {1912, 7, 30}, "大正1"},
      {"ggge", {1868, 9, 8}, "明治1"},
      {"gee", {1995, 3, 4}, "平07"},
  });
}

TEST(DateFormat, FollowsTheUserLocale) {
  {
    platform::ScopedUserLocale american("en_US");
    ExpectAll({
        {"mmmm ddd", kEvening, "December Tue"},
        {"tt", kEvening, "5:05:09 PM"},
        {"c", kMorning, "1/2/26 3:04:05 AM"},
        {"ggg", {1926, 12, 25}, "Showa"},  // no accent that code page 932 lacks
        {"dd/mm", kEvening, "08/12"},      // no locale separator replaces "/"
    });
  }
  {
    // Korean writes the marker before the hour; the time formats then use
    // the 24-hour clock rather than print 17 after "午後".
    platform::ScopedUserLocale korean("ko_KR");
    EXPECT_EQ(Format("t", kEvening), "17:05");
  }
  platform::ScopedUserLocale japanese("ja_JP");
  EXPECT_EQ(Format("mmmm ddd", kEvening), "12月 火");
}

// Formats are kept once split: more formats than are kept, the locale's own
// formats nested in them, again and again in turn, print the same each time.
TEST(DateFormat, ManyFormatsInTurnPrintAlike) {
  platform::ScopedUserLocale japanese("ja_JP");
  const char* formats[] = {"c",  "ddddd", "dddddd", "t",    "tt",   "yyyy",   "mm",
                           "dd", "hh:nn", "ggge",   "aaaa", "ampm", "\"x\"d", "yy/m/d"};
  std::vector<std::string> first;
  for (const char* format : formats) first.push_back(Format(format, kEvening));
  for (int round = 0; round < 3; ++round)
    for (std::size_t i = 0; i < std::size(formats); ++i)
      EXPECT_EQ(Format(formats[i], kEvening), first[i]) << "format " << formats[i];
  EXPECT_EQ(first[0], "2026/12/08 17:05:09");
}

}  // namespace
