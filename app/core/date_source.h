// Where the date in a new name comes from, and which date a file takes:
// one setting shared by the window, the command line and the copy run.
#pragma once

#include <functional>
#include <optional>

#include "platform/date_time.h"

namespace app {

enum class DateSource {
  kLastWrite,    // the file's last-write date (RadioButton1)
  kCaptureDate,  // the moment a photo was taken, else the last-write date (Exif優先)
  kPicked,       // one date picked for every file (RadioButton2)
};

// The source the window's controls choose. The picked date stands for every
// file, so the capture-date box, which only qualifies the file's own date,
// counts for nothing beside it.
DateSource DateSourceOf(bool picked_date_chosen, bool capture_date_preferred);

// What a file offers for its date, read ahead of its turn: only what the
// source asks for is read (the capture date only for kCaptureDate, the
// last-write date only when the capture date is missing, nothing at all for
// kPicked).
struct FileDates {
  std::optional<platform::DateTime> capture;
  std::optional<platform::DateTime> last_write;
};

// Reads them with `read_capture` and `read_last_write`, each a callable
// giving an optional date.
template <class ReadCapture, class ReadLastWrite>
FileDates FileDatesOf(DateSource source, ReadCapture&& read_capture,
                      ReadLastWrite&& read_last_write) {
  FileDates dates;
  if (source == DateSource::kPicked) return dates;
  if (source == DateSource::kCaptureDate) {
    dates.capture = read_capture();
    if (dates.capture) return dates;
  }
  dates.last_write = read_last_write();
  return dates;
}

// The date a file takes and how it was found.
struct FileDate {
  platform::DateTime date;
  // kCaptureDate, and the file has none: its last-write date stands in.
  bool capture_missing = false;
  // The last-write date was wanted and is missing: the current time stands in.
  bool last_write_missing = false;
};

// The date a file with `dates` takes under `source`: the picked date, or the
// capture date when the source asks for it and the file has one, else the
// last-write date, else `now()`. A date the file gives is moved by
// `clock_shift` seconds: the camera's clock wrote both its capture dates and
// its files' times. The picked date and the computer's own time stand as
// they are.
FileDate ChooseFileDate(DateSource source, const platform::DateTime& picked, const FileDates& dates,
                        const std::function<platform::DateTime()>& now,
                        long long clock_shift = 0);

}  // namespace app
