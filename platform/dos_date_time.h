// File times in the DOS date-time form the program's file records carry:
// local time, years 1980 to 2107, two-second resolution. The date sits in
// the high 16 bits (year - 1980, month, day), the time in the low 16 bits
// (hour, minute, second / 2).
#pragma once

#include <cstdint>
#include <ctime>
#include <optional>

#include "platform/date_time.h"

namespace platform {

using DosDateTime = std::int32_t;

// No value outside 1980-01-01 00:00:00 .. 2107-12-31 23:59:58 or for an
// impossible date; odd seconds round down.
std::optional<DosDateTime> DateTimeToDosDateTime(const DateTime& value);

// No value when the packed fields are not a real date and time.
std::optional<DateTime> DosDateTimeToDateTime(DosDateTime value);

// A moment of the system clock as a local DOS date-time.
std::optional<DosDateTime> UnixTimeToDosDateTime(std::time_t seconds);

}  // namespace platform
