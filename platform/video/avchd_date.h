// The recording time that AVCHD cameras put into their H.264 streams: a
// "Modified Digital Video Pack" in an unregistered user-data message of
// the stream, which holds the date and time in BCD digits with the
// camera's time zone. The container library parses this pack but keeps
// its date to itself, so the transport stream is searched here.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

#include "platform/date_time.h"

namespace platform {

// The recording time (the camera's local time, as it shows it) in the
// first packs of an MPEG transport stream of 188-byte packets or of
// 192-byte ones (AVCHD, Blu-ray), given its first bytes. No value when
// `stream` is no transport stream or holds no such pack with a real date.
std::optional<DateTime> AvchdRecordingDate(std::string_view stream);

// The date of one pack's body, from its count byte on (after the
// message's identifier and "MDPM"); no value unless it holds a real date.
std::optional<DateTime> ParseVideoPackDate(std::string_view body);

}  // namespace platform
