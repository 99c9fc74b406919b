#include "app/core/date_source.h"

namespace app {

DateSource DateSourceOf(bool picked_date_chosen, bool capture_date_preferred) {
  if (picked_date_chosen) return DateSource::kPicked;
  return capture_date_preferred ? DateSource::kCaptureDate : DateSource::kLastWrite;
}

FileDate ChooseFileDate(DateSource source, const platform::DateTime& picked, const FileDates& dates,
                        const std::function<platform::DateTime()>& now, long long clock_shift) {
  FileDate chosen;
  if (source == DateSource::kPicked) {
    chosen.date = picked;
    return chosen;
  }
  const auto from_file = [clock_shift](const platform::DateTime& date) {
    return clock_shift == 0 ? date : platform::AddSeconds(date, clock_shift);
  };
  if (source == DateSource::kCaptureDate) {
    if (dates.capture) {
      chosen.date = from_file(*dates.capture);
      return chosen;
    }
    chosen.capture_missing = true;
  }
  if (dates.last_write) {
    chosen.date = from_file(*dates.last_write);
  } else {
    chosen.last_write_missing = true;
    chosen.date = now();
  }
  return chosen;
}

}  // namespace app
