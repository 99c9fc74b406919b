// The date texts the container library gives for a video, turned into the
// local date and time the new name shows.
#pragma once

#include <optional>
#include <string_view>

#include "platform/date_time.h"

namespace platform {

// What a recorded date means when its text names no zone: a moment in UTC
// (MP4 and its kin keep their clock so) or the camera's local time.
enum class UnzonedDate { kUtc, kLocal };

// "YYYY-MM-DD HH:MM:SS" with "T" or " " between date and time, a fraction
// of a second, and a zone: "UTC" before or after it, "Z", "+09:00" or
// "+0900"; also the form "Thu Oct 26 16:46:04 2006" some AVI cameras
// write. A moment in a zone is shown in local time; a local time as it
// is. No value for anything else, for an impossible date, and for a zero
// date (1904-01-01 or 1970-01-01, the start of a container's clock).
std::optional<DateTime> VideoDateFromText(std::string_view text, UnzonedDate unzoned);

}  // namespace platform
