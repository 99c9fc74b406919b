#include "app/core/date_source.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using app::DateSource;
using platform::DateTime;

const DateTime kPicked{2000, 8, 9, 17, 53, 9, 0};
const DateTime kCapture{2019, 4, 30, 23, 59, 58, 0};
const DateTime kLastWrite{2001, 2, 3, 4, 5, 6, 0};
const DateTime kNow{2026, 12, 8, 10, 0, 0, 0};

TEST(DateSource, ThePickedDateWinsOverTheCaptureDateBox) {
  EXPECT_EQ(app::DateSourceOf(false, false), DateSource::kLastWrite);
  EXPECT_EQ(app::DateSourceOf(false, true), DateSource::kCaptureDate);
  EXPECT_EQ(app::DateSourceOf(true, false), DateSource::kPicked);
  EXPECT_EQ(app::DateSourceOf(true, true), DateSource::kPicked);
}

// What each source reads of a file, and the date it then takes: a capture
// date found spares the last-write date, and each missing date is told.
TEST(DateSource, AFileTakesTheDateItsSourceAsksForAndSaysWhatWasMissing) {
  struct Case {
    const char* what;
    DateSource source;
    bool has_capture;
    bool has_last_write;
    std::string reads;  // "c" capture, "w" last write, in the order asked
    DateTime date;
    bool capture_missing;
    bool last_write_missing;
  } cases[] = {
      {"picked", DateSource::kPicked, true, true, "", kPicked, false, false},
      {"last write", DateSource::kLastWrite, true, true, "w", kLastWrite, false, false},
      {"no last write", DateSource::kLastWrite, true, false, "w", kNow, false, true},
      {"capture", DateSource::kCaptureDate, true, true, "c", kCapture, false, false},
      {"no capture", DateSource::kCaptureDate, false, true, "cw", kLastWrite, true, false},
      {"neither", DateSource::kCaptureDate, false, false, "cw", kNow, true, true},
  };
  for (const Case& c : cases) {
    std::string reads;
    const auto read_capture = [&]() -> std::optional<DateTime> {
      reads += 'c';
      if (!c.has_capture) return std::nullopt;
      return kCapture;
    };
    const auto read_last_write = [&]() -> std::optional<DateTime> {
      reads += 'w';
      if (!c.has_last_write) return std::nullopt;
      return kLastWrite;
    };
    const app::FileDates dates = app::FileDatesOf(c.source, read_capture, read_last_write);
    const app::FileDate chosen = app::ChooseFileDate(c.source, kPicked, dates, [] { return kNow; });
    EXPECT_EQ(reads, c.reads) << c.what;
    EXPECT_EQ(chosen.date, c.date) << c.what;
    EXPECT_EQ(chosen.capture_missing, c.capture_missing) << c.what;
    EXPECT_EQ(chosen.last_write_missing, c.last_write_missing) << c.what;
  }
}

// A shift moves what the file gives, both ways and across a year; the
// picked date and the computer's own time stand.
TEST(DateSource, AClockShiftMovesOnlyTheDatesTheFileGives) {
  const long long hours9 = 9 * 3600;
  const app::FileDates capture{kCapture, std::nullopt};
  const app::FileDates last_write{std::nullopt, kLastWrite};
  const app::FileDates nothing{};
  const auto now = [] { return kNow; };
  EXPECT_EQ(app::ChooseFileDate(DateSource::kCaptureDate, kPicked, capture, now, hours9).date,
            (DateTime{2019, 5, 1, 8, 59, 58, 0}));
  EXPECT_EQ(app::ChooseFileDate(DateSource::kCaptureDate, kPicked, last_write, now, -hours9).date,
            (DateTime{2001, 2, 2, 19, 5, 6, 0}));
  EXPECT_EQ(app::ChooseFileDate(DateSource::kLastWrite, kPicked, last_write, now, 2).date,
            (DateTime{2001, 2, 3, 4, 5, 8, 0}));
  const app::FileDates new_year{DateTime{2024, 12, 31, 23, 0, 0, 0}, std::nullopt};
  EXPECT_EQ(app::ChooseFileDate(DateSource::kCaptureDate, kPicked, new_year, now, 3600).date,
            (DateTime{2025, 1, 1, 0, 0, 0, 0}));
  EXPECT_EQ(app::ChooseFileDate(DateSource::kPicked, kPicked, capture, now, hours9).date, kPicked);
  EXPECT_EQ(app::ChooseFileDate(DateSource::kLastWrite, kPicked, nothing, now, hours9).date, kNow);
}

}  // namespace
