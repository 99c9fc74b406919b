#include "app/core/file_date.h"

#include "platform/dos_date_time.h"
#include "platform/exif/capture_date.h"
#include "platform/file_system.h"
#include "platform/video/video_date.h"

namespace app {

std::optional<platform::DateTime> MediaCaptureDate(const std::string& path) {
  return platform::IsVideoFileName(path) ? platform::VideoCaptureDate(path)
                                         : platform::ReadCaptureDate(path);
}

FileDate DateOfFile(const RunSettings& settings, const std::string& path, long long clock_shift) {
  const auto read_capture = [&settings, &path] {
    return settings.capture_date ? settings.capture_date(path) : MediaCaptureDate(path);
  };
  const auto read_last_write = [&path]() -> std::optional<platform::DateTime> {
    const std::optional<platform::DosDateTime> dos = platform::FileAge(path);
    if (!dos) return std::nullopt;
    return platform::DosDateTimeToDateTime(*dos);
  };
  const NamingSettings& naming = settings.naming;
  return ChooseFileDate(naming.date_source, naming.picked_date,
                        FileDatesOf(naming.date_source, read_capture, read_last_write),
                        settings.now, clock_shift);
}

}  // namespace app
