#include "platform/video/video_date.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <ctime>
#include <optional>
#include <string>

#include "platform/video/avchd_date.h"
#include "platform/video/date_text.h"
#include "tests/support/files.h"
#include "tests/support/photos.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using test_support::ReadFile;
using test_support::TempDir;
using test_support::WriteFile;

const fs::path kFiles = PIRUKKO_VIDEO_FILES;

// POSIX zone rules, so that no zone database is needed.
constexpr char kJapan[] = "JST-9";
constexpr char kUtc[] = "UTC0";
constexpr char kNewYork[] = "EST5EDT,M3.2.0,M11.1.0";

// The local zone for one test, and the previous one back afterwards.
class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    if (const char* old = std::getenv("TZ")) saved_ = old;
    setenv("TZ", zone, 1);
    tzset();
  }
  ~ScopedTimeZone() {
    if (saved_)
      setenv("TZ", saved_->c_str(), 1);
    else
      unsetenv("TZ");
    tzset();
  }

 private:
  std::optional<std::string> saved_;
};

DateTime At(int y, int mo, int d, int h, int mi, int s) {
  DateTime date;
  date.year = y;
  date.month = mo;
  date.day = d;
  date.hour = h;
  date.minute = mi;
  date.second = s;
  return date;
}

std::string Show(const std::optional<DateTime>& d) {
  if (!d) return "none";
  char text[40];
  std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", d->year, d->month, d->day,
                d->hour, d->minute, d->second);
  return text;
}

// The same stream in 188-byte packets, without AVCHD's time stamps.
std::string Without192Stamps(const std::string& stream) {
  std::string out;
  for (std::size_t at = 0; at + 192 <= stream.size(); at += 192) out += stream.substr(at + 4, 188);
  return out;
}

const fs::path kCameras = kFiles / "cameras";

using test_support::detail::Box;
using test_support::detail::Put16;
using test_support::detail::Put16Be;
using test_support::detail::Put32;
using test_support::detail::Put32Be;

// A QuickTime movie as its documented layout has it: a movie header whose
// creation time counts seconds from 1904 in UTC (0: none), and the dates
// phones add: the user data's "©day" and Apple's key in the movie's
// metadata (empty: not there).
std::string QuickTimeMovie(std::int64_t header_utc, const std::string& user_day,
                           const std::string& apple_date) {
  constexpr std::int64_t k1904 = 2082844800;  // seconds from 1904 to 1970
  std::string mvhd(4, '\0');                  // version 0, no flags
  const std::uint32_t created = header_utc ? static_cast<std::uint32_t>(header_utc + k1904) : 0;
  Put32Be(mvhd, created);
  Put32Be(mvhd, created);
  Put32Be(mvhd, 1000);  // time scale
  Put32Be(mvhd, 1000);  // duration
  Put32Be(mvhd, 0x10000);
  Put16Be(mvhd, 0x100);
  mvhd += std::string(10, '\0');
  for (std::uint32_t m : {0x10000u, 0u, 0u, 0u, 0x10000u, 0u, 0u, 0u, 0x40000000u})
    Put32Be(mvhd, m);
  mvhd += std::string(24, '\0');
  Put32Be(mvhd, 2);
  std::string movie = Box("mvhd", mvhd);
  if (!user_day.empty()) {
    std::string day;
    Put16Be(day, static_cast<std::uint16_t>(user_day.size()));
    Put16Be(day, 0x55c4);  // language
    movie += Box("udta", Box("\xa9"
                             "day",
                             day + user_day));
  }
  if (!apple_date.empty()) {
    const std::string key = "com.apple.quicktime.creationdate";
    std::string handler(8, '\0');
    handler += "mdta" + std::string(13, '\0');
    std::string keys(4, '\0');
    Put32Be(keys, 1);
    Put32Be(keys, static_cast<std::uint32_t>(8 + key.size()));
    keys += "mdta" + key;
    std::string data;
    Put32Be(data, 1);  // UTF-8
    Put32Be(data, 0);
    std::string item;
    const std::string data_box = Box("data", data + apple_date);
    Put32Be(item, static_cast<std::uint32_t>(8 + data_box.size()));
    Put32Be(item, 1);  // the first key
    movie += Box("meta", Box("hdlr", handler) + Box("keys", keys) + Box("ilst", item + data_box));
  }
  std::string brand = "qt  ";
  Put32Be(brand, 0x200);
  brand += "qt  ";
  return Box("ftyp", brand) + Box("moov", movie) + Box("mdat", "");
}

// A RIFF chunk, padded to an even length.
std::string Chunk(const char* id, const std::string& body) {
  std::string chunk = id;
  Put32(chunk, static_cast<std::uint32_t>(body.size()));
  chunk += body;
  if (body.size() % 2) chunk += '\0';
  return chunk;
}

std::string List(const char* type, const std::string& body) {
  return Chunk("LIST", type + body);
}

// Nikon's records: tag and length, little-endian, then the value.
std::string NikonRecord(std::uint16_t tag, const std::string& value) {
  std::string record;
  Put16(record, tag);
  Put16(record, static_cast<std::uint16_t>(value.size()));
  return record + value;
}

struct AviParts {
  std::string idit;          // in the header list
  std::string nikon;         // the "nctg" records
  std::string created;       // INFO's ICRD, after the pictures
  std::string idit_outside;  // beside the header list
};

AviParts Parts(const std::string& idit, const std::string& nikon = "",
               const std::string& created = "", const std::string& idit_outside = "") {
  return {idit, nikon, created, idit_outside};
}

// An AVI in RIFF chunks as its documented layout has them.
std::string Avi(const AviParts& parts) {
  std::string main_header;
  for (std::uint32_t v : {100000u, 0u, 0u, 0x10u, 1u, 0u, 1u, 0u, 16u, 16u, 0u, 0u, 0u, 0u})
    Put32(main_header, v);
  std::string header = Chunk("avih", main_header);
  if (!parts.idit.empty()) header += Chunk("IDIT", parts.idit);
  std::string body = "AVI " + List("hdrl", header);
  if (!parts.idit_outside.empty()) body += Chunk("IDIT", parts.idit_outside);
  if (!parts.nikon.empty()) body += List("ncdt", Chunk("nctg", parts.nikon));
  body += List("movi", Chunk("00dc", std::string(1000, '\x55')));
  if (!parts.created.empty())
    body += List("INFO", Chunk("ISFT", "Camera") + Chunk("ICRD", parts.created));
  return Chunk("RIFF", body);
}

// The Panasonic clip with its camera set to another zone: the first byte of
// each date pack's date entry (0x20 west, hours in the next four bits, 0x01
// for half an hour).
std::string PanasonicClipInZone(int zone_byte) {
  std::string clip = ReadFile(kCameras / "fixture-raw.mts");
  const std::string pack_start(
      "\x17\xee\x8c\x60\xf8\x4d\x11\xd9\x8c\xd6\x08\x00\x20\x0c\x9a\x66MDPM", 20);
  int packs = 0;
  for (std::size_t at = clip.find(pack_start); at != std::string::npos;
       at = clip.find(pack_start, at + 1), ++packs) {
    EXPECT_EQ(clip[at + 21], '\x18');
    clip[at + 22] = static_cast<char>(zone_byte);
  }
  EXPECT_EQ(packs, 2);
  return clip;
}

TEST(VideoCaptureDateTest, ReadsEachContainersDateInTheLocalZone) {
  struct Case {
    const char* file;
    const char* zone;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      // Kept in UTC, shown in local time.
      {"dated.mp4", kUtc, At(2021, 7, 4, 5, 6, 7)},
      {"dated.mp4", kJapan, At(2021, 7, 4, 14, 6, 7)},
      {"dated.mp4", kNewYork, At(2021, 7, 4, 1, 6, 7)},  // summer time
      {"dated.mov", kUtc, At(2021, 12, 31, 23, 30, 0)},
      {"dated.mov", kJapan, At(2022, 1, 1, 8, 30, 0)},  // into the next year
      {"dated.3gp", kJapan, At(2020, 2, 29, 21, 0, 0)},
      {"dated.m4v", kNewYork, At(2018, 12, 31, 19, 0, 0)},  // back into the last year
      // The container clock's zero, which no camera's picture was taken at;
      // in Japan 1970's zero is 09:00 local, still no date.
      {"zero_1904.mp4", kJapan, std::nullopt},
      {"zero_1970.mp4", kJapan, std::nullopt},
      {"zero_1970.mp4", kNewYork, std::nullopt},
      {"undated.mp4", kJapan, std::nullopt},
      // The camera's local time, as it is in every zone.
      {"recorded.avi", kJapan, At(2006, 10, 26, 16, 46, 4)},
      {"recorded.avi", kNewYork, At(2006, 10, 26, 16, 46, 4)},
      {"avchd.mts", kNewYork, At(2011, 12, 13, 14, 15, 16)},
      {"avchd.mts", kJapan, At(2011, 12, 13, 14, 15, 16)},
  };
  for (const Case& c : cases) {
    ScopedTimeZone zone(c.zone);
    EXPECT_EQ(Show(VideoCaptureDate((kFiles / c.file).string())), Show(c.expected))
        << c.file << " in " << c.zone;
  }
}

TEST(VideoCaptureDateTest, ReadsRealCamerasFilesAsTheyRecordedThem) {
  struct Case {
    const char* file;
    const char* zone;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      // Apple's key keeps the clock of the place it was taken (+07:00),
      // beside the movie header's UTC.
      {"fixture.mov", kJapan, At(2014, 12, 19, 7, 39, 6)},
      {"fixture.mov", kNewYork, At(2014, 12, 19, 7, 39, 6)},
      // Only the movie header: UTC, in the local zone.
      {"with-gps.mp4", kUtc, At(2017, 2, 22, 8, 20, 28)},
      {"with-gps.mp4", kJapan, At(2017, 2, 22, 17, 20, 28)},
      {"with-gps.mp4", kNewYork, At(2017, 2, 22, 3, 20, 28)},
      // The camcorder's clock (its zone +00:00), whatever the computer's.
      {"fixture-raw.mts", kJapan, At(2012, 1, 26, 9, 18, 35)},
      {"fixture-raw.mts", kNewYork, At(2012, 1, 26, 9, 18, 35)},
  };
  for (const Case& c : cases) {
    ScopedTimeZone zone(c.zone);
    EXPECT_EQ(Show(VideoCaptureDate((kCameras / c.file).string())), Show(c.expected))
        << c.file << " in " << c.zone;
  }
}

TEST(VideoCaptureDateTest, ADayAloneTakesTheLastWriteTimeOfThatDay) {
  // The Sunplus camera's AVI names only the day, after its pictures.
  ScopedTimeZone zone(kJapan);
  TempDir dir;
  const fs::path clip = dir.path() / "100_0306.AVI";
  fs::copy_file(kCameras / "100_0306.AVI", clip);
  const struct {
    std::time_t written;
    DateTime expected;
  } cases[] = {
      {test_support::LocalTime(2020, 8, 28, 18, 30, 2), At(2020, 8, 28, 18, 30, 2)},
      {test_support::LocalTime(2020, 8, 28, 0, 0, 0), At(2020, 8, 28, 0, 0, 0)},
      {test_support::LocalTime(2020, 8, 28, 23, 59, 59), At(2020, 8, 28, 23, 59, 59)},
      // Written on another day (copied later): the day's start.
      {test_support::LocalTime(2020, 8, 29, 0, 0, 0), At(2020, 8, 28, 0, 0, 0)},
      {test_support::LocalTime(2020, 8, 27, 23, 59, 59), At(2020, 8, 28, 0, 0, 0)},
      {test_support::LocalTime(2026, 1, 2, 3, 4, 5), At(2020, 8, 28, 0, 0, 0)},
  };
  for (const auto& c : cases) {
    ASSERT_TRUE(test_support::SetMTime(clip, c.written));
    EXPECT_EQ(Show(VideoCaptureDate(clip.string())), Show(c.expected)) << c.written;
  }
}

TEST(VideoCaptureDateTest, PhonesOwnDateComesBeforeTheMovieHeader) {
  // The clip was taken in 2019 and trimmed in 2024, which wrote the header.
  const std::int64_t trimmed = 1709287200;  // 2024-03-01 10:00:00 UTC
  struct Case {
    std::int64_t header;
    const char* user_day;
    const char* apple;
    std::optional<DateTime> in_japan;
    std::optional<DateTime> in_new_york;
  };
  const Case cases[] = {
      {trimmed, "", "", At(2024, 3, 1, 19, 0, 0), At(2024, 3, 1, 5, 0, 0)},
      {trimmed, "", "2019-04-24T22:24:05+0200", At(2019, 4, 24, 22, 24, 5),
       At(2019, 4, 24, 22, 24, 5)},
      {0, "", "2019-04-24T22:24:05-0700", At(2019, 4, 24, 22, 24, 5), At(2019, 4, 24, 22, 24, 5)},
      {trimmed, "2019-04-24T22:24:00+02:00", "", At(2019, 4, 24, 22, 24, 0),
       At(2019, 4, 24, 22, 24, 0)},
      {trimmed, "2019-04-24T22:24:00-0500", "", At(2019, 4, 24, 22, 24, 0),
       At(2019, 4, 24, 22, 24, 0)},
      // Apple's key before the user data.
      {trimmed, "2019-04-24T22:24:00+0200", "2019-04-24T22:24:05+0200", At(2019, 4, 24, 22, 24, 5),
       At(2019, 4, 24, 22, 24, 5)},
      // A user data date in UTC ("Z", and "+00:00", which the library
      // reads as UTC), or without a zone, or a year alone, names no
      // clock: the header comes first, and it stands in only without one.
      {trimmed, "2019-04-24T22:24:00Z", "", At(2024, 3, 1, 19, 0, 0), At(2024, 3, 1, 5, 0, 0)},
      {trimmed, "2019-04-24T22:24:00+00:00", "", At(2024, 3, 1, 19, 0, 0), At(2024, 3, 1, 5, 0, 0)},
      {trimmed, "2019-04-24 22:24:00", "", At(2024, 3, 1, 19, 0, 0), At(2024, 3, 1, 5, 0, 0)},
      {trimmed, "2019", "", At(2024, 3, 1, 19, 0, 0), At(2024, 3, 1, 5, 0, 0)},
      {0, "2019-04-24T22:24:00Z", "", At(2019, 4, 25, 7, 24, 0), At(2019, 4, 24, 18, 24, 0)},
      {0, "2019-04-24 22:24:00", "", At(2019, 4, 24, 22, 24, 0), At(2019, 4, 24, 22, 24, 0)},
      // A zero or broken key is passed over.
      {trimmed, "", "1970-01-01T00:00:00+0000", At(2024, 3, 1, 19, 0, 0), At(2024, 3, 1, 5, 0, 0)},
      {trimmed, "2019-04-24T22:24:00+0200", "yesterday", At(2019, 4, 24, 22, 24, 0),
       At(2019, 4, 24, 22, 24, 0)},
      {0, "", "", std::nullopt, std::nullopt},
  };
  TempDir dir;
  for (const char* name : {"clip.mov", "clip.mp4", "clip.3gp"}) {
    for (const Case& c : cases) {
      WriteFile(dir.path() / name, QuickTimeMovie(c.header, c.user_day, c.apple));
      const std::string path = (dir.path() / name).string();
      const std::string what = std::string(name) + " " + c.user_day + " " + c.apple;
      {
        ScopedTimeZone zone(kJapan);
        EXPECT_EQ(Show(VideoCaptureDate(path)), Show(c.in_japan)) << what;
      }
      {
        ScopedTimeZone zone(kNewYork);
        EXPECT_EQ(Show(VideoCaptureDate(path)), Show(c.in_new_york)) << what;
      }
    }
  }
}

TEST(VideoCaptureDateTest, ReadsAviDatesInEveryFormCamerasWrite) {
  using namespace std::string_literals;
  const std::string no_date;
  struct Case {
    AviParts parts;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      {Parts("Mon Mar 10 15:04:43 2003\n\0"s), At(2003, 3, 10, 15, 4, 43)},
      {Parts("THU JUN 27 21:24:22 2013\n\0"s), At(2013, 6, 27, 21, 24, 22)},
      {Parts("Tue Sep  4 08:01:02 2012\n\0"s), At(2012, 9, 4, 8, 1, 2)},
      {Parts("2009/10/27 12:14:34\0"s), At(2009, 10, 27, 12, 14, 34)},
      {Parts("2005:08:17 11:42:43\0"s), At(2005, 8, 17, 11, 42, 43)},
      {Parts("2002-12-16  15:35:01\0\0"s), At(2002, 12, 16, 15, 35, 1)},
      // Casio's, with minutes only.
      {Parts("2001/ 1/27  1:42PM"), At(2001, 1, 27, 13, 42, 0)},
      {Parts("2001/ 1/27 12:05AM"), At(2001, 1, 27, 0, 5, 0)},
      {Parts("2001/12/31 12:59PM"), At(2001, 12, 31, 12, 59, 0)},
      {Parts("2005/11/28/ 09:19"), At(2005, 11, 28, 9, 19, 0)},
      // The ends of the calendar and of the day.
      {Parts("Thu Feb 29 23:59:59 2024\n"), At(2024, 2, 29, 23, 59, 59)},
      {Parts("Sat Jan  1 00:00:00 2000\n"), At(2000, 1, 1, 0, 0, 0)},
      // Broken, impossible and zero dates give way to the next chunk.
      {Parts("Wed Feb 29 23:59:59 2023\n", "", "2005-11-11 13:21:44"),
       At(2005, 11, 11, 13, 21, 44)},
      {Parts("garbage\0"s, "", "2005-11-11 13:21:44"), At(2005, 11, 11, 13, 21, 44)},
      {Parts("2009/10/27 24:00:00", "", "2005-11-11 13:21:44"), At(2005, 11, 11, 13, 21, 44)},
      {Parts("2001/ 1/27 13:42PM", "", "2005-11-11 13:21:44"), At(2005, 11, 11, 13, 21, 44)},
      {Parts("Thu Jan  1 00:00:00 1970\n", "", "2005-11-11 13:21:44"),
       At(2005, 11, 11, 13, 21, 44)},
      {Parts("garbage"), std::nullopt},
      {Parts("\0\0\0\0"s), std::nullopt},
      // The camera's chunk beside the header list.
      {Parts("", "", "", "Mon Mar 10 15:04:43 2003\n"), At(2003, 3, 10, 15, 4, 43)},
      // Nikon's: the moment taken (0x13) before the moment written (0x14).
      {Parts("", NikonRecord(0x03, "NIKON\0"s) + NikonRecord(0x14, "2010:05:06 07:08:19\0"s) +
                     NikonRecord(0x13, "2010:05:06 07:08:09\0"s)),
       At(2010, 5, 6, 7, 8, 9)},
      {Parts("", NikonRecord(0x14, "2010:05:06 07:08:19\0"s)), At(2010, 5, 6, 7, 8, 19)},
      {Parts("", NikonRecord(0x13, "2010:05:06 07:08:09\0"s).substr(0, 12)), std::nullopt},
      {Parts("Mon Mar 10 15:04:43 2003\n", NikonRecord(0x13, "2010:05:06 07:08:09\0"s)),
       At(2003, 3, 10, 15, 4, 43)},
  };
  TempDir dir;
  const fs::path clip = dir.path() / "CLIP0001.AVI";
  for (const Case& c : cases) {
    WriteFile(clip, Avi(c.parts));
    for (const char* zone_rule : {kJapan, kNewYork}) {
      ScopedTimeZone zone(zone_rule);
      EXPECT_EQ(Show(VideoCaptureDate(clip.string())), Show(c.expected))
          << c.parts.idit << "|" << c.parts.created << " in " << zone_rule;
    }
  }
  // A chunk cut by the file's end is no date (its text was cut to
  // "2005-11-11 13:21"); endless chunks end the walk.
  std::string cut = Avi(Parts("", "", "2005-11-11 13:21:44"));
  WriteFile(clip, cut.substr(0, cut.size() - 4));
  EXPECT_FALSE(VideoCaptureDate(clip.string()));
  std::string endless = "RIFF" + std::string(4, '\xff') + "AVI ";
  for (int i = 0; i < 20000; ++i) endless += Chunk("JUNK", "");
  WriteFile(clip, endless + Chunk("IDIT", "Mon Mar 10 15:04:43 2003"));
  EXPECT_FALSE(VideoCaptureDate(clip.string()));
}

TEST(VideoCaptureDateTest, AvchdClockIsTheSameWhicheverReaderAnswers) {
  // The library reads this clip's date with the camera's zone; the date
  // pack read here has none. Both must name the clock the camera showed.
  TempDir dir;
  for (const int zone_byte : {0x00, 0x04, 0x0b, 0x12, 0x2a, 0x3d, 0x44}) {
    const std::string clip = PanasonicClipInZone(zone_byte);
    WriteFile(dir.path() / "00000.MTS", clip);
    for (const char* zone_rule : {kJapan, kNewYork, kUtc}) {
      ScopedTimeZone zone(zone_rule);
      EXPECT_EQ(Show(VideoCaptureDate((dir.path() / "00000.MTS").string())),
                Show(At(2012, 1, 26, 9, 18, 35)))
          << zone_byte << " in " << zone_rule;
      EXPECT_EQ(Show(AvchdRecordingDate(clip)), Show(At(2012, 1, 26, 9, 18, 35)));
    }
  }
}

TEST(VideoCaptureDateTest, ReadsByTheNameWhateverItsCaseOrFolder) {
  ScopedTimeZone zone(kUtc);
  TempDir dir;
  // A folder name with bytes of no character set, and upper-case
  // extensions as cameras write them.
  const fs::path folder = dir.path() / "\xff\xfe DCIM";
  fs::create_directory(folder);
  fs::copy_file(kFiles / "dated.mp4", folder / "MVI_0001.MP4");
  fs::copy_file(kFiles / "avchd.mts", folder / "00001.MTS");
  WriteFile(folder / "00002.M2TS", Without192Stamps(ReadFile(kFiles / "avchd.mts")));
  EXPECT_EQ(Show(VideoCaptureDate((folder / "MVI_0001.MP4").string())),
            Show(At(2021, 7, 4, 5, 6, 7)));
  EXPECT_EQ(Show(VideoCaptureDate((folder / "00001.MTS").string())),
            Show(At(2011, 12, 13, 14, 15, 16)));
  EXPECT_EQ(Show(VideoCaptureDate((folder / "00002.M2TS").string())),
            Show(At(2011, 12, 13, 14, 15, 16)));
  // A photo's name is no video's, whatever it holds.
  fs::copy_file(kFiles / "dated.mp4", folder / "clip.jpg");
  EXPECT_FALSE(VideoCaptureDate((folder / "clip.jpg").string()));
}

TEST(VideoCaptureDateTest, DamagedTruncatedAndForeignFilesHaveNoDate) {
  ScopedTimeZone zone(kJapan);
  TempDir dir;
  const auto write = [&](const std::string& name, const std::string& bytes) {
    const fs::path path = dir.path() / name;
    WriteFile(path, bytes);
    return path.string();
  };
  for (const char* file : {"dated.mp4", "dated.mov", "recorded.avi", "avchd.mts"}) {
    const std::string whole = ReadFile(kFiles / file);
    const std::string extension = fs::path(file).extension().string();
    // Every length: the date read is the file's or none, never another.
    const std::string right = Show(VideoCaptureDate((kFiles / file).string()));
    // (Some forty lengths a file, the first and last few among them.)
    const std::size_t step = whole.size() / 40 + 1;
    for (std::size_t length = 0; length < whole.size();
         length = length < 2 || length + 2 >= whole.size()
                      ? length + 1
                      : std::min(length + step, whole.size() - 2)) {
      const std::string got =
          Show(VideoCaptureDate(write("cut" + extension, whole.substr(0, length))));
      EXPECT_TRUE(got == "none" || got == right) << file << " cut at " << length << ": " << got;
    }
    // Without its tail, where ffmpeg puts the movie header, an MP4 or MOV
    // has no date left (AVCHD's is in its first packets).
    if (extension == ".mp4" || extension == ".mov") {
      EXPECT_FALSE(VideoCaptureDate(write("half" + extension, whole.substr(0, whole.size() / 2))))
          << file;
    }
    // The same bytes scrambled after the first few.
    std::string scrambled = whole;
    for (std::size_t i = 12; i < scrambled.size(); i += 3)
      scrambled[i] = static_cast<char>(i * 131);
    const std::string got = Show(VideoCaptureDate(write("scrambled" + extension, scrambled)));
    EXPECT_TRUE(got == "none" || got == right) << file << ": " << got;
  }
  // A photo with its capture date, renamed as a video: its Exif date is no
  // video's date.
  const std::string photo = write("photo.jpg", test_support::JpegBytes(32, 32));
  test_support::TagWithDates(photo, {"2019:04:30 10:11:12", "", ""});
  EXPECT_FALSE(VideoCaptureDate(write("photo.mp4", ReadFile(photo))));
  EXPECT_FALSE(VideoCaptureDate(write("empty.mov", "")));
  EXPECT_FALSE(VideoCaptureDate(write("text.avi", "RIFF\x10\0\0\0AVI LIST")));
  EXPECT_FALSE(VideoCaptureDate(write("sync.mts", std::string(192 * 8, '\x47'))));
  EXPECT_FALSE(VideoCaptureDate((dir.path() / "missing.mp4").string()));
  // A folder and a FIFO of a video's name: nothing is waited for.
  fs::create_directory(dir.path() / "folder.mp4");
  EXPECT_FALSE(VideoCaptureDate((dir.path() / "folder.mp4").string()));
  ASSERT_EQ(mkfifo((dir.path() / "pipe.mts").c_str(), 0600), 0);
  EXPECT_FALSE(VideoCaptureDate((dir.path() / "pipe.mts").string()));
}

TEST(VideoCaptureDateTest, KnowsVideosByTheirExtension) {
  for (const char* name : {"a.mp4", "A.MP4", "b.Mov", "c.3gp", "c.3g2", "d.m4v", "e.mts", "E.M2TS",
                           "f.m2t", "g.avi", "/x.jpg/h.MP4", ".mp4"}) {
    EXPECT_TRUE(IsVideoFileName(name)) << name;
  }
  for (const char* name :
       {"a.jpg", "a.mp4x", "a.mp", "mp4", "a.mp4/", "/d.mp4/x", "a.heic", "a.mkv", ""}) {
    EXPECT_FALSE(IsVideoFileName(name)) << name;
  }
}

TEST(VideoDateFromTextTest, ReadsTheFormsAtTheEdges) {
  ScopedTimeZone zone(kJapan);
  struct Case {
    const char* text;
    DateMeaning meaning;
    std::optional<DateTime> expected;
  };
  const auto moment = DateMeaning::kMoment;
  const auto clock = DateMeaning::kClock;
  const Case cases[] = {
      {"2021-07-04 05:06:07 UTC", moment, At(2021, 7, 4, 14, 6, 7)},
      {"UTC 2021-07-04 05:06:07", moment, At(2021, 7, 4, 14, 6, 7)},
      {"2021-07-04 05:06:07", moment, At(2021, 7, 4, 14, 6, 7)},
      {"2021-07-04T05:06:07Z", moment, At(2021, 7, 4, 14, 6, 7)},
      {"2021-07-04T05:06:07.123+09:00", moment, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04T05:06:07+0900", moment, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04T05:06:07-0500", moment, At(2021, 7, 4, 19, 6, 7)},
      {"2021-07-04T05:06:07-05", moment, At(2021, 7, 4, 19, 6, 7)},
      {"2021-07-04T05:06:07+14:00", moment, At(2021, 7, 4, 0, 6, 7)},
      {"2021-07-04T05:06:07+15:00", moment, std::nullopt},
      {"2021-07-04T05:06:07+09:60", moment, std::nullopt},
      // A clock stays as it was shown, whatever its zone.
      {"2021-07-04 05:06:07 UTC", clock, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04 05:06:07", clock, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04T05:06:07-0500", clock, At(2021, 7, 4, 5, 6, 7)},
      {"2021-12-31 23:59:59+14:00", clock, At(2021, 12, 31, 23, 59, 59)},
      {"0001-01-01 00:00:00", clock, At(1, 1, 1, 0, 0, 0)},
      {"9999-12-31 23:59:59", clock, At(9999, 12, 31, 23, 59, 59)},
      {"0000-12-31 23:59:59", clock, std::nullopt},
      {"2020-02-29 00:00:00", clock, At(2020, 2, 29, 0, 0, 0)},
      {"2021-02-29 00:00:00", clock, std::nullopt},
      {"2021-13-01 00:00:00", clock, std::nullopt},
      {"2021-00-01 00:00:00", clock, std::nullopt},
      {"2021-12-31 24:00:00", clock, std::nullopt},
      {"2021-12-31 23:60:00", clock, std::nullopt},
      {"2021-12-31 23:59:60", clock, std::nullopt},
      // The clocks' zeros, and the seconds just beside them.
      {"1904-01-01 00:00:00 UTC", moment, std::nullopt},
      {"1904-01-01 23:59:59 UTC", moment, std::nullopt},
      {"1904-01-02 00:00:00 UTC", moment, At(1904, 1, 2, 9, 0, 0)},
      {"1970-01-01 00:00:00 UTC", moment, std::nullopt},
      {"1969-12-31 23:59:59 UTC", moment, At(1970, 1, 1, 8, 59, 59)},
      {"1970-01-02 00:00:00 UTC", moment, At(1970, 1, 2, 9, 0, 0)},
      {"1970-01-01 09:00:00+09:00", moment, std::nullopt},
      {"1970-01-01 09:00:00+09:00", clock, std::nullopt},
      {"1970-01-01 23:59:59", clock, std::nullopt},
      {"1969-12-31 23:59:59", clock, At(1969, 12, 31, 23, 59, 59)},
      {"1970-01-02 00:00:00", clock, At(1970, 1, 2, 0, 0, 0)},
      // AVI cameras' forms.
      {"THU OCT 26 16:46:04 2006", clock, At(2006, 10, 26, 16, 46, 4)},
      {"Thu Oct  6 16:46:04 2006", clock, At(2006, 10, 6, 16, 46, 4)},
      {"Oct 6 16:46:04 2006", clock, At(2006, 10, 6, 16, 46, 4)},
      {"Thursday October 26 16:46:04 2006\n", clock, At(2006, 10, 26, 16, 46, 4)},
      {"Thu Foo 26 16:46:04 2006", clock, std::nullopt},
      {"Thu Oct 32 16:46:04 2006", clock, std::nullopt},
      {"Thu Oct 26 16:46:04", clock, std::nullopt},
      {"2021-07-04 5:06", clock, At(2021, 7, 4, 5, 6, 0)},
      {"2021-7-4 05:06:07", clock, At(2021, 7, 4, 5, 6, 7)},
      {"2021/07-04 05:06:07", clock, std::nullopt},
      {"12:00AM 2021-07-04", clock, std::nullopt},
      {"2021-07-04 00:30AM", clock, std::nullopt},
      {"2021-07-04 12:30PM", clock, At(2021, 7, 4, 12, 30, 0)},
      // A day alone names no time.
      {"2021-07-04", clock, std::nullopt},
      // What is no date.
      {"", clock, std::nullopt},
      {"2021", clock, std::nullopt},
      {"2021-07-04 05:06:07 later", clock, std::nullopt},
      {"2021-07-04 05", clock, std::nullopt},
      {"2021-07-04x05:06:07", clock, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Show(VideoDateFromText(c.text, c.meaning)), Show(c.expected)) << c.text;
}

TEST(VideoDateFromTextTest, TellsADayAloneAndTheZoneNamed) {
  const auto day = ParseRecordedDate(std::string("2020-08-28\0\0", 12));
  ASSERT_TRUE(day);
  EXPECT_FALSE(day->has_time);
  EXPECT_EQ(Show(day->clock), Show(At(2020, 8, 28, 0, 0, 0)));
  EXPECT_FALSE(ParseRecordedDate("2020-02-30"));
  const struct {
    const char* text;
    DateZone zone;
    int offset;
  } zones[] = {
      {"2019-04-24T22:24:00", DateZone::kNone, 0},
      {"2019-04-24T22:24:00Z", DateZone::kUtc, 0},
      {"UTC 2019-04-24 22:24:00", DateZone::kUtc, 0},
      {"2019-04-24T22:24:00+00:00", DateZone::kOffset, 0},
      {"2019-04-24T22:24:00+0530", DateZone::kOffset, 330},
      {"2019-04-24T22:24:00-12", DateZone::kOffset, -720},
  };
  for (const auto& z : zones) {
    const auto date = ParseRecordedDate(z.text);
    ASSERT_TRUE(date) << z.text;
    EXPECT_EQ(date->zone, z.zone) << z.text;
    EXPECT_EQ(date->offset_minutes, z.offset) << z.text;
  }
}

TEST(AvchdDateTest, ReadsThePacksBcdDigits) {
  const auto pack = [](std::initializer_list<int> bytes) {
    std::string body;
    for (int b : bytes) body += static_cast<char>(b);
    return body;
  };
  struct Case {
    std::string body;
    std::optional<DateTime> expected;
  };
  const Case cases[] = {
      {pack({2, 0x18, 0x12, 0x20, 0x11, 0x12, 0x19, 0x13, 0x14, 0x15, 0x16}),
       At(2011, 12, 13, 14, 15, 16)},
      // The entries in either order, among others.
      {pack({3, 0xE0, 1, 3, 1, 0, 0x19, 0x31, 0x23, 0x59, 0x59, 0x18, 0, 0x99, 0x99, 0x12}),
       At(9999, 12, 31, 23, 59, 59)},
      {pack({2, 0x18, 0, 0x20, 0x24, 0x02, 0x19, 0x29, 0x00, 0x00, 0x00}),
       At(2024, 2, 29, 0, 0, 0)},
      {pack({2, 0x18, 0, 0x20, 0x23, 0x02, 0x19, 0x29, 0x00, 0x00, 0x00}), std::nullopt},
      {pack({2, 0x18, 0, 0x20, 0x11, 0x13, 0x19, 0x01, 0x00, 0x00, 0x00}), std::nullopt},
      {pack({2, 0x18, 0, 0x20, 0x11, 0x12, 0x19, 0x01, 0x24, 0x00, 0x00}), std::nullopt},
      {pack({2, 0x18, 0, 0x20, 0x11, 0x12, 0x19, 0x01, 0x23, 0x60, 0x00}), std::nullopt},
      // A nibble that is no digit.
      {pack({2, 0x18, 0, 0x20, 0x1A, 0x12, 0x19, 0x01, 0x00, 0x00, 0x00}), std::nullopt},
      {pack({2, 0x18, 0, 0x19, 0x70, 0x01, 0x19, 0x01, 0x00, 0x00, 0x00}), std::nullopt},
      {pack({2, 0x18, 0, 0x19, 0x04, 0x01, 0x19, 0x01, 0x00, 0x00, 0x00}), std::nullopt},
      {pack({2, 0x18, 0, 0x19, 0x04, 0x01, 0x19, 0x02, 0x00, 0x00, 0x00}), At(1904, 1, 2, 0, 0, 0)},
      // The time missing, or cut off by the count or by the end.
      {pack({1, 0x18, 0, 0x20, 0x11, 0x12}), std::nullopt},
      {pack({1, 0x18, 0, 0x20, 0x11, 0x12, 0x19, 0x13, 0x14, 0x15, 0x16}), std::nullopt},
      {pack({2, 0x18, 0, 0x20, 0x11, 0x12, 0x19, 0x13, 0x14, 0x15}), std::nullopt},
      {pack({255}), std::nullopt},
      {"", std::nullopt},
  };
  for (const Case& c : cases) EXPECT_EQ(Show(ParseVideoPackDate(c.body)), Show(c.expected));
}

TEST(AvchdDateTest, FindsThePackInEitherPacketSize) {
  const std::string stream = ReadFile(kFiles / "avchd.mts");
  EXPECT_EQ(Show(AvchdRecordingDate(stream)), Show(At(2011, 12, 13, 14, 15, 16)));
  EXPECT_EQ(Show(AvchdRecordingDate(Without192Stamps(stream))), Show(At(2011, 12, 13, 14, 15, 16)));
  EXPECT_FALSE(AvchdRecordingDate(stream.substr(0, 192 * 2 - 1)));
  EXPECT_FALSE(AvchdRecordingDate(ReadFile(kFiles / "dated.mp4")));
}

}  // namespace
}  // namespace platform
