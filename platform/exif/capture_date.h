// The moment a photo was taken, as its file's metadata records it: Exif
// DateTimeOriginal, else DateTimeDigitized, else the image's DateTime.
// Read for every format the metadata library knows (JPEG, TIFF, PNG, WebP,
// camera raw files, HEIF/HEIC and AVIF).
#pragma once

#include <optional>
#include <string_view>

#include "platform/date_time.h"

namespace platform {

// No value when the file cannot be read, is no image the library knows,
// carries no such date or only one that is no real date ("0000:00:00
// 00:00:00", a 31st of February), or its metadata is damaged. Never throws.
// `path` is the file's path as the file system names it.
std::optional<DateTime> ReadCaptureDate(std::string_view path);

// An Exif date-time text, "YYYY:MM:DD HH:MM:SS" (the local time of the
// camera); no value unless it names a real moment of the years 1 to 9999.
std::optional<DateTime> ParseExifDateTime(std::string_view text);

}  // namespace platform
