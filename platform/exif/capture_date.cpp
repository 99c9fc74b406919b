#include "platform/exif/capture_date.h"

#include <sys/stat.h>

#include <exiv2/exiv2.hpp>

#include <string>

#include "platform/exif/exiv2_library.h"
#include "platform/path_rules.h"

namespace platform {
namespace {

// The number in text[at, at + digits), or -1 when it is not all digits.
int Digits(std::string_view text, size_t at, size_t digits) {
  int value = 0;
  for (size_t i = at; i < at + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return -1;
    value = value * 10 + (text[i] - '0');
  }
  return value;
}

// The tags in the order they are trusted: the moment the shutter opened,
// the moment the picture was stored, the moment the file was last changed.
constexpr const char* kDateTags[] = {"Exif.Photo.DateTimeOriginal", "Exif.Photo.DateTimeDigitized",
                                     "Exif.Image.DateTime"};

}  // namespace

std::optional<DateTime> ParseExifDateTime(std::string_view text) {
  // "YYYY:MM:DD HH:MM:SS"; some writers put "-" in the date or "T" between
  // date and time, and anything after the seconds (fractions, a zone) is
  // not part of the local time the name shows.
  if (text.size() < 19) return std::nullopt;
  const auto date_separator = [&](size_t at) {
    return text[at] == ':' || text[at] == '-' || text[at] == '/';
  };
  if (!date_separator(4) || !date_separator(7) || (text[10] != ' ' && text[10] != 'T') ||
      text[13] != ':' || text[16] != ':') {
    return std::nullopt;
  }
  DateTime date;
  date.year = Digits(text, 0, 4);
  date.month = Digits(text, 5, 2);
  date.day = Digits(text, 8, 2);
  date.hour = Digits(text, 11, 2);
  date.minute = Digits(text, 14, 2);
  date.second = Digits(text, 17, 2);
  if (!IsRealDateTime(date)) return std::nullopt;
  return date;
}

std::optional<DateTime> ReadCaptureDate(std::string_view path) {
  const std::optional<std::string> usable = UsableNativePath(path);
  if (!usable) return std::nullopt;
  const std::string& native = *usable;
  PrepareExiv2();
  try {
    // Only a regular file: opening a FIFO or a device would wait or read
    // forever.
    struct stat st;
    if (stat(native.c_str(), &st) != 0 || !S_ISREG(st.st_mode)) return std::nullopt;
    Exiv2::Image::AutoPtr image = Exiv2::ImageFactory::open(native);
    if (!image.get()) return std::nullopt;
    image->readMetadata();
    const Exiv2::ExifData& exif = image->exifData();
    for (const char* tag : kDateTags) {
      const auto found = exif.findKey(Exiv2::ExifKey(tag));
      if (found == exif.end()) continue;
      if (auto date = ParseExifDateTime(found->toString())) return date;
    }
  } catch (...) {
    // A damaged or unknown file is a file without a capture date; the
    // library reports every kind of trouble by throwing.
  }
  return std::nullopt;
}

}  // namespace platform
