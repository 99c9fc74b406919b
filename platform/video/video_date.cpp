#include "platform/video/video_date.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "platform/native_file.h"
#include "platform/path_rules.h"
#include "platform/video/avchd_date.h"
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

// The general section's date fields of the file, in the order they are
// trusted.
std::vector<std::string> ContainerDates(const TOpenedFile& file, std::uint64_t size,
                                        std::initializer_list<const wchar_t*> fields) {
  MediaInfoReading info;
  std::vector<std::string> dates;
  if (!info.Usable()) return dates;
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
  for (const wchar_t* field : fields) {
    std::string text = info.GeneralField(field);
    if (!text.empty()) dates.push_back(std::move(text));
  }
  return dates;
}

std::optional<DateTime> FirstDate(const std::vector<std::string>& texts, UnzonedDate unzoned) {
  for (const std::string& text : texts)
    if (auto date = VideoDateFromText(text, unzoned)) return date;
  return std::nullopt;
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
    const std::uint64_t size = file.Size();
    switch (container) {
      case Container::kQuickTime:
        // The movie header's creation time (UTC); else a phone's own record
        // of the moment, which names its zone.
        return FirstDate(
            ContainerDates(file, size, {L"Encoded_Date", L"Tagged_Date", L"Recorded_Date"}),
            UnzonedDate::kUtc);
      case Container::kAvi:
        return FirstDate(ContainerDates(file, size, {L"Recorded_Date", L"Encoded_Date"}),
                         UnzonedDate::kLocal);
      case Container::kTransportStream: {
        if (auto date = FirstDate(ContainerDates(file, size, {L"Recorded_Date", L"Encoded_Date"}),
                                  UnzonedDate::kLocal)) {
          return date;
        }
        // The library reads the camera's pack but does not report its date.
        std::string head(static_cast<std::size_t>(std::min<std::uint64_t>(size, 4 << 20)), '\0');
        head.resize(file.ReadAt(0, reinterpret_cast<std::uint8_t*>(head.data()), head.size()));
        return AvchdRecordingDate(head);
      }
      case Container::kNone:
        break;
    }
  } catch (...) {
    // A file the library cannot make sense of is a file without a date.
  }
  return std::nullopt;
}

}  // namespace platform
