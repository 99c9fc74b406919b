// The date one file takes, read as the run reads it: for a user who compares
// it with the moment the file was really taken (the clock shift's "this
// file was taken at").
#pragma once

#include <optional>
#include <string>

#include "app/core/date_source.h"
#include "app/core/run_settings.h"
#include "platform/date_time.h"

namespace app {

// The capture date of a photo from its Exif data, of a video from its
// container; which one a file is, its name says, so photos pay nothing for
// the videos. No value when it has none.
std::optional<platform::DateTime> MediaCaptureDate(const std::string& path);

// The date the file at `path` (as the file system names it) takes under
// `settings`, with the clock shift `clock_shift` (the settings' own is not
// looked at, so that a caller can ask for the file's date as it stands).
FileDate DateOfFile(const RunSettings& settings, const std::string& path, long long clock_shift);

}  // namespace app
