// The date texts videos carry (the container library's fields, an AVI's
// date chunks), read into the clock they show and the zone they name, and
// turned into the local date and time the new name shows.
#pragma once

#include <optional>
#include <string_view>

#include "platform/date_time.h"

namespace platform {

// What a text says its clock is.
enum class DateZone {
  kNone,    // no zone: a clock, or UTC where the container keeps UTC
  kUtc,     // "UTC" or "Z": a moment in UTC
  kOffset,  // "+09:00", "+0900", "-05": a local clock, and how far east it is
};

// A date as a file writes it.
struct RecordedDate {
  DateTime clock;        // as written, the fields it lacks zero
  bool has_time = true;  // false: the text names a day only
  DateZone zone = DateZone::kNone;
  int offset_minutes = 0;  // east of UTC, for kOffset
};

// Reads the forms cameras and the library write, in any case of letters,
// spaces and NULs around them ignored:
//  "2021-07-04 05:06:07", "2021-07-04T05:06:07.123", with "-", "/" or ":"
//    between the date's parts, one-digit parts and spaces after a
//    separator ("2001/ 1/27  1:42PM"), the seconds missing, AM/PM, a zone
//    ("Z", "+09:00", "+0900", "-05", "UTC" before or after);
//  "Mon Mar 10 15:04:43 2003" (the C library's form, the day's name
//    optional);
//  a day alone: "2020-08-28".
// No value for anything else and for a day or time that does not exist.
std::optional<RecordedDate> ParseRecordedDate(std::string_view text);

// How a date's text is to be taken.
enum class DateMeaning {
  // A moment: in UTC unless the text names a zone; shown in local time
  // (the movie header of MP4 and its kin).
  kMoment,
  // The camera's clock, shown as it was, whatever zone the text names.
  kClock,
};

// The local date and time a date's text names under `meaning`. No value for
// what ParseRecordedDate refuses, for a day without a time, and for a zero
// date (1904-01-01 or 1970-01-01, the start of a container's clock, which
// cameras whose clock was never set write): for a moment, any second of
// that day in UTC.
std::optional<DateTime> VideoDateFromText(std::string_view text, DateMeaning meaning);

// The same for a date already read.
std::optional<DateTime> VideoDateOf(const RecordedDate& date, DateMeaning meaning);

// Whether a clock shows one of the containers' zero days.
bool IsZeroDay(const DateTime& date);

}  // namespace platform
