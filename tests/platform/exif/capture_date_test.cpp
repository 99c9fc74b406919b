// The capture date of a photo, read from real files made here: every format
// that can be written on this machine, files without metadata, damaged
// metadata, and things that are no image at all.
#include "platform/exif/capture_date.h"

#include <sys/stat.h>

#include <gtest/gtest.h>

#include <string>

#include "tests/support/files.h"
#include "tests/support/photos.h"

namespace {

namespace fs = std::filesystem;
using platform::DateTime;
using test_support::CameraDates;

std::optional<DateTime> Read(const fs::path& path) {
  return platform::ReadCaptureDate(path.string());
}

TEST(ParseExifDateTime, TakesOnlyRealMoments) {
  struct Case {
    const char* text;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      {"2019:04:30 23:59:58", DateTime{2019, 4, 30, 23, 59, 58, 0}},
      {"0001:01:01 00:00:00", DateTime{1, 1, 1, 0, 0, 0, 0}},
      {"9999:12:31 23:59:59", DateTime{9999, 12, 31, 23, 59, 59, 0}},
      {"2024:02:29 12:00:00", DateTime{2024, 2, 29, 12, 0, 0, 0}},
      {"2000:02:29 12:00:00", DateTime{2000, 2, 29, 12, 0, 0, 0}},
      // Other writers' separators, and what follows the seconds.
      {"2024-05-06T07:08:09", DateTime{2024, 5, 6, 7, 8, 9, 0}},
      {"2024:05:06 07:08:09.123+09:00", DateTime{2024, 5, 6, 7, 8, 9, 0}},
      // The camera's "no date", and dates that do not exist.
      {"0000:00:00 00:00:00", std::nullopt},
      {"    :  :     :  :  ", std::nullopt},
      {"2023:02:29 12:00:00", std::nullopt},
      {"1900:02:29 12:00:00", std::nullopt},
      {"2024:04:31 12:00:00", std::nullopt},
      {"2024:13:01 12:00:00", std::nullopt},
      {"2024:00:10 12:00:00", std::nullopt},
      {"2024:01:00 12:00:00", std::nullopt},
      {"2024:01:01 24:00:00", std::nullopt},
      {"2024:01:01 23:60:00", std::nullopt},
      {"2024:01:01 23:59:60", std::nullopt},
      {"2024:01:01 23:59:5", std::nullopt},
      {"2024:01:01", std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(platform::ParseExifDateTime(c.text), c.expected) << c.text;
  }
}

class CaptureDateTest : public ::testing::Test {
 protected:
  fs::path Make(const std::string& name, const std::string& bytes) {
    const fs::path path = temp_.path() / name;
    test_support::WriteFile(path, bytes);
    return path;
  }

  test_support::TempDir temp_{"pirukko-exif"};
};

TEST_F(CaptureDateTest, TheMostTrustedDateOfAJpegWins) {
  struct Case {
    CameraDates dates;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      {{"2019:04:30 10:11:12", "2019:05:01 00:00:00", "2020:01:01 00:00:00"},
       DateTime{2019, 4, 30, 10, 11, 12, 0}},
      {{"", "2019:05:01 08:00:02", "2020:01:01 00:00:00"}, DateTime{2019, 5, 1, 8, 0, 2, 0}},
      {{"", "", "2020:01:01 00:00:00"}, DateTime{2020, 1, 1, 0, 0, 0, 0}},
      // A date that is no date gives way to the next one.
      {{"0000:00:00 00:00:00", "2019:05:01 08:00:02", ""}, DateTime{2019, 5, 1, 8, 0, 2, 0}},
      {{"0000:00:00 00:00:00", "", ""}, std::nullopt},
  };
  int n = 0;
  for (const Case& c : cases) {
    const fs::path path = Make("p" + std::to_string(n++) + ".jpg", test_support::JpegBytes(8, 8));
    test_support::TagWithDates(path, c.dates);
    EXPECT_EQ(Read(path), c.expected) << c.dates.original << "|" << c.dates.digitized;
  }
}

// Every format that can be made here, tagged by the same library a photo
// program would use.
TEST_F(CaptureDateTest, EveryFormatThatCanBeWrittenHereIsRead) {
  const CameraDates dates{"2021:11:22 06:07:08", "", ""};
  const DateTime expected{2021, 11, 22, 6, 7, 8, 0};
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {{"a.jpg", test_support::JpegBytes(8, 8)},
                        {"a.png", test_support::PngBytes()},
                        {"a.tif", test_support::TiffBytes()},
                        {"a.webp", test_support::WebpBytes()},
                        {"a.cr2", test_support::TiffBytes(true)}};
  for (const Case& c : cases) {
    const fs::path path = Make(c.name, c.bytes);
    EXPECT_EQ(Read(path), std::nullopt) << c.name << " before it is tagged";
    test_support::TagWithDates(path, dates);
    EXPECT_EQ(Read(path), expected) << c.name;
  }
  // The library cannot write into HEIF; the file is made the way phones
  // store it, with the Exif block as an item of its own.
  EXPECT_EQ(Read(Make("a.heic", test_support::HeifWithExif(dates))), expected);
  EXPECT_EQ(Read(Make("a.avif", test_support::HeifWithExif(dates, "avif"))), expected);
}

TEST_F(CaptureDateTest, DamagedMetadataIsNoDate) {
  const std::string jpeg = test_support::JpegBytes(8, 8);
  // An Exif segment right after the start marker, holding `tiff`.
  const auto with_exif = [&](const std::string& tiff) {
    const std::string body = std::string("Exif\0\0", 6) + tiff;
    std::string segment = "\xFF\xE1";
    segment += static_cast<char>((body.size() + 2) >> 8);
    segment += static_cast<char>((body.size() + 2) & 0xFF);
    return jpeg.substr(0, 2) + segment + body + jpeg.substr(2);
  };
  std::string endless_directory = "II*";
  endless_directory += std::string("\0\x08\0\0\0\xFF\xFF", 7) + std::string(24, '\x01');
  std::string directory_far_away = "II*";
  directory_far_away += std::string("\0\xF0\xFF\xFF\x7F", 5);
  std::string date_far_away = test_support::ExifBlock({"2019:04:30 10:11:12", "", ""});
  // Every offset in the block now points past its end.
  for (size_t i = 8; i + 4 <= date_far_away.size(); i += 4) {
    if (date_far_away[i] == 0 && date_far_away[i + 1] == 0) date_far_away[i + 3] = '\x7F';
  }
  const std::string tagged = [&] {
    const fs::path path = Make("tagged.jpg", jpeg);
    test_support::TagWithDates(path, {"2019:04:30 10:11:12", "", ""});
    return test_support::ReadFile(path);
  }();

  const std::pair<const char*, std::string> cases[] = {
      {"endless.jpg", with_exif(endless_directory)},
      {"far.jpg", with_exif(directory_far_away)},
      {"garbage.jpg", with_exif(std::string(64, '\xAB'))},
      {"dates-far.jpg", with_exif(date_far_away)},
      {"cut.jpg", tagged.substr(0, 40)},
      {"cut.heic", test_support::HeifWithExif({"2019:04:30 10:11:12", "", ""}).substr(0, 120)},
      {"empty.jpg", ""},
      {"text.jpg", "これは写真ではありません"},
  };
  for (const auto& [name, bytes] : cases) {
    EXPECT_EQ(Read(Make(name, bytes)), std::nullopt) << name;
  }
}

TEST_F(CaptureDateTest, WhatIsNoReadableFileIsNoDate) {
  EXPECT_EQ(Read(temp_.path() / "missing.jpg"), std::nullopt);
  EXPECT_EQ(Read(temp_.path()), std::nullopt);
  // A FIFO would wait for a writer forever if it were opened.
  const fs::path fifo = temp_.path() / "fifo.jpg";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  EXPECT_EQ(Read(fifo), std::nullopt);
  EXPECT_EQ(platform::ReadCaptureDate(""), std::nullopt);
  EXPECT_EQ(platform::ReadCaptureDate(std::string("a\0b.jpg", 7)), std::nullopt);
}

}  // namespace
