// The moment a video was recorded, as its container records it: the
// creation time of an MP4, MOV, 3GP or M4V file (kept in UTC, shown here in
// local time as a photo's capture date is), the recording time of an AVCHD
// stream (MTS, M2TS) or of an AVI file (the camera's local time, taken as
// it is).
#pragma once

#include <optional>
#include <string_view>

#include "platform/date_time.h"

namespace platform {

// Whether the name ends in the extension of a video container whose date
// VideoCaptureDate reads (any case). Decides by the name alone, so that
// photos pay nothing for it.
bool IsVideoFileName(std::string_view path);

// No value when the file cannot be read, is no video of the containers
// above, records no date, or only a zero date (1904-01-01 or 1970-01-01,
// the start of the container's clock, which cameras without a set clock
// write), or is damaged or cut short. Never throws. `path` is the file's
// path as the file system names it.
std::optional<DateTime> VideoCaptureDate(std::string_view path);

}  // namespace platform
