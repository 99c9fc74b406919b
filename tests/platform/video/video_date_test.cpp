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

TEST(VideoDateFromTextTest, ReadsTheLibrarysFormsAtTheEdges) {
  ScopedTimeZone zone(kJapan);
  struct Case {
    const char* text;
    UnzonedDate unzoned;
    std::optional<DateTime> expected;
  };
  const auto utc = UnzonedDate::kUtc;
  const auto local = UnzonedDate::kLocal;
  const Case cases[] = {
      {"2021-07-04 05:06:07 UTC", local, At(2021, 7, 4, 14, 6, 7)},
      {"UTC 2021-07-04 05:06:07", local, At(2021, 7, 4, 14, 6, 7)},
      {"2021-07-04 05:06:07", utc, At(2021, 7, 4, 14, 6, 7)},
      {"2021-07-04 05:06:07", local, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04T05:06:07Z", local, At(2021, 7, 4, 14, 6, 7)},
      {"2021-07-04T05:06:07.123+09:00", utc, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04T05:06:07+0900", utc, At(2021, 7, 4, 5, 6, 7)},
      {"2021-07-04T05:06:07-0500", utc, At(2021, 7, 4, 19, 6, 7)},
      {"2021-07-04T05:06:07+15:00", utc, std::nullopt},
      {"0001-01-01 00:00:00", local, At(1, 1, 1, 0, 0, 0)},
      {"9999-12-31 23:59:59", local, At(9999, 12, 31, 23, 59, 59)},
      {"0000-12-31 23:59:59", local, std::nullopt},
      {"2020-02-29 00:00:00", local, At(2020, 2, 29, 0, 0, 0)},
      {"2021-02-29 00:00:00", local, std::nullopt},
      {"2021-13-01 00:00:00", local, std::nullopt},
      {"2021-12-31 24:00:00", local, std::nullopt},
      {"2021-12-31 23:60:00", local, std::nullopt},
      {"2021-12-31 23:59:60", local, std::nullopt},
      // The clocks' zeros, and the seconds just beside them.
      {"1904-01-01 00:00:00 UTC", local, std::nullopt},
      {"1904-01-01 23:59:59 UTC", local, std::nullopt},
      {"1904-01-02 00:00:00 UTC", local, At(1904, 1, 2, 9, 0, 0)},
      {"1970-01-01 00:00:00 UTC", local, std::nullopt},
      {"1969-12-31 23:59:59 UTC", local, At(1970, 1, 1, 8, 59, 59)},
      {"1970-01-02 00:00:00 UTC", local, At(1970, 1, 2, 9, 0, 0)},
      {"1970-01-01 09:00:00+09:00", utc, std::nullopt},
      {"1970-01-01 00:00:00", local, std::nullopt},
      {"1970-01-02 00:00:00", local, At(1970, 1, 2, 0, 0, 0)},
      // AVI cameras' form.
      {"THU OCT 26 16:46:04 2006", local, At(2006, 10, 26, 16, 46, 4)},
      {"Thu Oct  6 16:46:04 2006", local, At(2006, 10, 6, 16, 46, 4)},
      {"Thu Foo 26 16:46:04 2006", local, std::nullopt},
      // What is no date.
      {"", local, std::nullopt},
      {"2021", local, std::nullopt},
      {"2021-07-04", local, std::nullopt},
      {"2021-07-04 05:06:07 later", local, std::nullopt},
      {"2021-07-04 05:06", local, std::nullopt},
  };
  for (const Case& c : cases)
    EXPECT_EQ(Show(VideoDateFromText(c.text, c.unzoned)), Show(c.expected)) << c.text;
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
