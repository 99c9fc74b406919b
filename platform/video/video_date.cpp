#include "platform/video/video_date.h"

#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/native_file.h"
#include "platform/path_rules.h"
#include "platform/video/avchd_date.h"
#include "platform/video/avi_dates.h"
#include "platform/video/date_text.h"
#include "platform/video/media_info.h"

namespace platform {
namespace {

// How a container keeps its date.
enum class Container { kNone, kQuickTime, kTransportStream, kAvi };

Container ContainerOf(std::string_view path) {
  const std::size_t slash = path.rfind('/');
  const std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
  const std::size_t dot = name.rfind('.');
  if (dot == std::string_view::npos || name.size() - dot > 5) return Container::kNone;
  std::string extension(name.substr(dot + 1));
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  static constexpr std::array<std::pair<std::string_view, Container>, 9> kExtensions = {{
      {"mp4", Container::kQuickTime},
      {"mov", Container::kQuickTime},
      {"3gp", Container::kQuickTime},
      {"3g2", Container::kQuickTime},
      {"m4v", Container::kQuickTime},
      {"mts", Container::kTransportStream},
      {"m2ts", Container::kTransportStream},
      {"m2t", Container::kTransportStream},
      {"avi", Container::kAvi},
  }};
  for (const auto& [known, container] : kExtensions)
    if (extension == known) return container;
  return Container::kNone;
}

// The library is handed the file's bytes instead of its name, so that the
// name's bytes never go through a character conversion, and so that what
// it may read stays bounded: a damaged file could send it to and fro.
constexpr std::size_t kChunk = 64 * 1024;
constexpr std::uint64_t kMostRead = 32ull * 1024 * 1024;
constexpr int kMostSeeks = 64;

// The general section's fields of the file, one text for each of `fields`
// (empty for one the file lacks).
std::vector<std::string> LibraryFields(const TOpenedFile& file, std::uint64_t size,
                                       std::initializer_list<const wchar_t*> fields) {
  MediaInfoReading info;
  std::vector<std::string> texts(fields.size());
  if (!info.Usable()) return texts;
  // The header says all the run needs; the streams themselves are not
  // decoded.
  info.SetOption(L"ParseSpeed", L"0");
  info.Begin(size, 0);
  std::vector<std::uint8_t> buffer(kChunk);
  std::uint64_t offset = 0;
  std::uint64_t read = 0;
  int seeks = 0;
  while (read < kMostRead) {
    const std::size_t n = file.ReadAt(offset, buffer.data(), buffer.size());
    if (n == 0) break;
    read += n;
    offset += n;
    if (info.Continue(buffer.data(), n)) break;
    const std::uint64_t wanted = info.WantedOffset();
    if (wanted != static_cast<std::uint64_t>(-1)) {
      if (wanted >= size || ++seeks > kMostSeeks) break;
      offset = wanted;
      info.Begin(size, offset);
    }
  }
  info.Finish();
  std::size_t i = 0;
  for (const wchar_t* field : fields) texts[i++] = info.GeneralField(field);
  return texts;
}

// The dates of an MP4, MOV, 3GP or M4V file. The moment a phone took the
// clip, with the zone it was in, comes first: the movie header's time is
// written again when a clip is trimmed or exported.
std::optional<DateTime> QuickTimeDate(const TOpenedFile& file, std::uint64_t size) {
  const std::vector<std::string> texts = LibraryFields(
      file, size,
      {L"com.apple.quicktime.creationdate", L"Recorded_Date", L"Encoded_Date", L"Tagged_Date"});
  const std::string& apple = texts[0];
  const std::optional<RecordedDate> user_day = ParseRecordedDate(texts[1]);
  if (auto date = VideoDateFromText(apple, DateMeaning::kClock)) return date;
  // The user data's date ("©day") is a clock only where it names its zone.
  if (user_day && user_day->zone == DateZone::kOffset)
    if (auto date = VideoDateOf(*user_day, DateMeaning::kClock)) return date;
  for (const std::string& header : {texts[2], texts[3]})
    if (auto date = VideoDateFromText(header, DateMeaning::kMoment)) return date;
  if (user_day)
    return VideoDateOf(
        *user_day, user_day->zone == DateZone::kUtc ? DateMeaning::kMoment : DateMeaning::kClock);
  return std::nullopt;
}

// A day without a time of day takes the file's last-write time when that
// falls on the same day (the camera closed the file then), else its start.
std::optional<DateTime> DayWithTime(const DateTime& day, const std::string& native_path) {
  if (IsZeroDay(day)) return std::nullopt;
  struct stat status;
  if (stat(native_path.c_str(), &status) == 0) {
    if (const std::optional<DateTime> written = LocalDateTime(status.st_mtime)) {
      if (written->year == day.year && written->month == day.month && written->day == day.day)
        return written;
    }
  }
  return day;
}

// An AVI keeps the camera's clock as text, in one of several forms.
std::optional<DateTime> AviDate(const TOpenedFile& file, const std::string& native_path) {
  for (const std::string& text : AviDateTexts(file)) {
    const std::optional<RecordedDate> recorded = ParseRecordedDate(text);
    if (!recorded) continue;
    const std::optional<DateTime> date = recorded->has_time
                                             ? VideoDateOf(*recorded, DateMeaning::kClock)
                                             : DayWithTime(recorded->clock, native_path);
    if (date) return date;
  }
  return std::nullopt;
}

// AVCHD's recording time is the camera's clock, whatever zone the camera
// was set to: the library reads it with its zone, the stream's own pack is
// read without one, and both give the same clock.
std::optional<DateTime> TransportStreamDate(const TOpenedFile& file, std::uint64_t size) {
  if (auto date =
          VideoDateFromText(LibraryFields(file, size, {L"Recorded_Date"})[0], DateMeaning::kClock))
    return date;
  // The library reads the camera's pack but does not always report its date.
  std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, 4 << 20)), '\0');
  head.resize(file.ReadAt(0, reinterpret_cast<std::uint8_t*>(head.data()), head.size()));
  return AvchdRecordingDate(head);
}

}  // namespace

bool IsVideoFileName(std::string_view path) {
  return ContainerOf(path) != Container::kNone;
}

std::optional<DateTime> VideoCaptureDate(std::string_view path) {
  const Container container = ContainerOf(path);
  if (container == Container::kNone) return std::nullopt;
  const std::optional<std::string> native = UsableNativePath(path);
  if (!native) return std::nullopt;
  try {
    // Only a regular file (anything else throws): a FIFO or a device would
    // be waited for or read without end.
    const TOpenedFile file(*native);
    switch (container) {
      case Container::kQuickTime:
        return QuickTimeDate(file, file.Size());
      case Container::kAvi:
        return AviDate(file, *native);
      case Container::kTransportStream:
        return TransportStreamDate(file, file.Size());
      case Container::kNone:
        break;
    }
  } catch (...) {
    // A file the library cannot make sense of is a file without a date.
  }
  return std::nullopt;
}

}  // namespace platform
