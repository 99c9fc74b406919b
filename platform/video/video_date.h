// The moment a video was recorded, as its container records it. A date the
// file keeps as the camera's clock (with or without its zone) is taken as
// that clock showed, as a photo's Exif date is; a date kept only in UTC is
// shown in local time. Read in this order:
//  - MP4, MOV, 3GP, M4V: a phone's own record of the moment (Apple's
//    creation-date key, the user data's date where it names its zone),
//    then the movie header's creation time (UTC);
//  - AVCHD (MTS, M2TS): the recording time of the stream's date pack;
//  - AVI: the camera's date chunk in any of the forms cameras write,
//    Nikon's own records, then the creation date of the file's INFO list
//    (a day alone there takes the file's last-write time of that day).
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
