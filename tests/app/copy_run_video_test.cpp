// The copy run with Exif優先 and the real readers: each video dated by its
// container, each photo by its Exif data, the rest by its last-write date
// with the note; the run and the preview alike.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <string>
#include <vector>

#include "app/core/copy_run.h"
#include "platform/cp932.h"
#include "platform/user_locale.h"
#include "tests/support/files.h"
#include "tests/support/photos.h"
#include "tests/support/trash_home.h"

namespace {

namespace fs = std::filesystem;
using test_support::LocalTime;

const fs::path kVideos = PIRUKKO_VIDEO_FILES;

std::string J(const std::string& utf8) {
  return *platform::Utf8ToCp932(utf8);
}

struct Log : app::CopyLog {
  std::vector<std::string> entries;
  void Clear() override { entries.clear(); }
  void Add(const std::string& entry) override { entries.push_back(entry); }
};

// The entries from the first file's pair on, without the closing one.
std::vector<std::string> FileEntries(const std::vector<std::string>& entries) {
  auto first = entries.begin();
  while (first != entries.end() && !first->starts_with("COPY_From: ") &&
         !first->starts_with(J("下記"))) {
    ++first;
  }
  return {first, entries.end() - 1};
}

TEST(CopyRunVideoTest, ExifFirstDatesVideosByTheirContainerAndPhotosByExif) {
  test_support::PinJapanTimeZone();
  test_support::TestDataHome();
  platform::ScopedUserLocale locale("ja_JP");
  test_support::TempDir temp;
  const fs::path src = temp.path() / "DCIM";
  fs::create_directory(src);
  const std::time_t written = LocalTime(2000, 1, 5, 6, 7, 8);
  const auto put = [&](const fs::path& from, const std::string& name) {
    fs::copy_file(from, src / name);
    test_support::SetMTime(src / name, written);
  };
  put(kVideos / "dated.mp4", "a.MP4");  // 2021-07-04 05:06:07 UTC
  put(kVideos / "avchd.mts", "b.MTS");  // 2011-12-13 14:15:16 local
  put(kVideos / "zero_1970.mp4", "c.mov");
  const fs::path photo = temp.path() / "photo.jpg";
  test_support::WriteFile(photo, test_support::JpegBytes(16, 16));
  test_support::TagWithDates(photo, {"2019:04:30 10:11:12", "", ""});
  put(photo, "d.jpg");
  // A photo under a video's name is no video.
  put(photo, "e.mp4");

  app::RunSettings input;
  input.source_directory = src.string();
  input.folder_name = "NewFolder";
  input.masks = {"*.*"};
  input.naming.date_source = app::DateSource::kCaptureDate;
  input.naming.date_format = "yyyymmdd_hhnnss";
  input.naming.serial_style_index = 0;
  input.naming.serial_style_text = J("なし");
  app::NoCopyProgress progress;

  const std::string fallback =
      J("下記のファイルは撮影日時が無いため、ファイル更新日にされました。") + "\r";
  Log preview;
  app::PreviewCopy(input, preview, progress);
  EXPECT_EQ(
      FileEntries(preview.entries),
      (std::vector<std::string>{
          "COPY_From: a.MP4", "     To  : 20210704_140607.MP4", "     Date: 2021/07/04 14:06:07",
          "COPY_From: b.MTS", "     To  : 20111213_141516.MTS", "     Date: 2011/12/13 14:15:16",
          fallback, "COPY_From: c.mov", "     To  : 20000105_060708.mov",
          "     Date: 2000/01/05 06:07:08", "COPY_From: d.jpg", "     To  : 20190430_101112.jpg",
          "     Date: 2019/04/30 10:11:12", fallback, "COPY_From: e.mp4",
          "     To  : 20000105_060708.mp4", "     Date: 2000/01/05 06:07:08"}));

  Log run;
  const app::CopyRunResult result = app::ExecuteCopy(input, run, progress);
  EXPECT_EQ(result.copied, 5);
  std::vector<std::string> made;
  for (const auto& e : fs::directory_iterator(src / "NewFolder"))
    made.push_back(e.path().filename());
  std::sort(made.begin(), made.end());
  EXPECT_EQ(made, (std::vector<std::string>{"20000105_060708.mov", "20000105_060708.mp4",
                                            "20111213_141516.MTS", "20190430_101112.jpg",
                                            "20210704_140607.MP4"}));
}

}  // namespace
