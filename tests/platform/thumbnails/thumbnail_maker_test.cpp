#include "platform/thumbnails/thumbnail_maker.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QStandardPaths>

#include <exiv2/exiv2.hpp>

#include <atomic>
#include <chrono>
#include <future>
#include <mutex>
#include <set>
#include <thread>

#include "platform/thumbnails/desktop_thumbnails.h"
#include "platform/thumbnails/thumbnail_queue.h"
#include "tests/support/files.h"

namespace platform {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using test_support::ReadFile;
using test_support::TempDir;
using test_support::WriteFile;

const fs::path kVideos = PIRUKKO_VIDEO_FILES;

QGuiApplication& App() {
  static int argc = 1;
  static char name[] = "thumbnail_test";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = new QGuiApplication(argc, argv);
  return *app;
}

std::string Encoded(const QImage& image, const char* format) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  image.save(&buffer, format);
  return bytes.toStdString();
}

QImage Filled(int width, int height, QColor colour) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(colour);
  return image;
}

// The colour in the middle, to tell which picture a thumbnail came from.
QColor Middle(const QImage& image) {
  return image.pixelColor(image.width() / 2, image.height() / 2);
}

bool Near(QColor a, QColor b) {
  return std::abs(a.red() - b.red()) < 40 && std::abs(a.green() - b.green()) < 40 &&
         std::abs(a.blue() - b.blue()) < 40;
}

// A camera's JPEG: the photo, with an embedded thumbnail of another colour
// (or none) and an orientation.
std::string CameraJpeg(const fs::path& path, QSize size, QColor photo, QColor thumbnail,
                       int orientation) {
  WriteFile(path, Encoded(Filled(size.width(), size.height(), photo), "JPEG"));
  auto image = Exiv2::ImageFactory::open(path.string());
  image->readMetadata();
  Exiv2::ExifData exif;
  exif["Exif.Image.Orientation"] = static_cast<uint16_t>(orientation);
  if (thumbnail.isValid()) {
    const std::string small = Encoded(Filled(160, 120, thumbnail), "JPEG");
    Exiv2::ExifThumb(exif).setJpegThumbnail(reinterpret_cast<const Exiv2::byte*>(small.data()),
                                            small.size());
  }
  image->setExifData(exif);
  image->writeMetadata();
  return path.string();
}

TEST(ThumbnailMakerTest, PhotosFromTheirEmbeddedPictureElseScaledAndUpright) {
  App();
  TempDir dir;
  const QColor blue(0, 0, 255), red(255, 0, 0);
  struct Case {
    const char* name;
    QSize photo;
    QColor thumbnail;
    int orientation;
    QSize expected;
    QColor colour;
  };
  const Case cases[] = {
      // The camera's thumbnail, not the photo, is read.
      {"embedded.jpg", {2000, 1500}, red, 1, {160, 120}, red},
      // Turned as the camera held it.
      {"turned.jpg", {2000, 1500}, red, 6, {120, 160}, red},
      {"turned8.jpg", {2000, 1500}, red, 8, {120, 160}, red},
      // None embedded: the photo decoded at the box's size, upright.
      {"plain.jpg", {2000, 1500}, QColor(), 1, {160, 120}, blue},
      {"plain6.jpg", {2000, 1500}, QColor(), 6, {120, 160}, blue},
      {"tall.jpg", {300, 3000}, QColor(), 1, {16, 160}, blue},
      // Smaller than the box: as it is.
      {"small.jpg", {100, 50}, QColor(), 1, {100, 50}, blue},
      {"edge.jpg", {160, 160}, QColor(), 1, {160, 160}, blue},
      {"over.jpg", {161, 161}, QColor(), 1, {160, 160}, blue},
  };
  for (const Case& c : cases) {
    const std::string path =
        CameraJpeg(dir.path() / c.name, c.photo, blue, c.thumbnail, c.orientation);
    const QImage made = MakeThumbnail(path, 160);
    EXPECT_EQ(made.size(), c.expected) << c.name;
    EXPECT_TRUE(Near(Middle(made), c.colour)) << c.name;
  }
  WriteFile(dir.path() / "picture.png", Encoded(Filled(640, 480, blue), "PNG"));
  EXPECT_EQ(MakeThumbnail((dir.path() / "picture.png").string(), 160).size(), QSize(160, 120));
}

TEST(ThumbnailMakerTest, WhatGivesNoPictureIsANullImage) {
  App();
  TempDir dir;
  WriteFile(dir.path() / "text.jpg", "not a picture");
  WriteFile(dir.path() / "empty.png", "");
  std::string cut = Encoded(Filled(800, 600, Qt::blue), "JPEG");
  WriteFile(dir.path() / "cut.jpg", cut.substr(0, 20));
  WriteFile(dir.path() / "empty.mp4", "");
  ASSERT_EQ(mkfifo((dir.path() / "pipe.jpg").c_str(), 0600), 0);
  fs::create_directory(dir.path() / "folder.jpg");
  for (const char* name :
       {"text.jpg", "empty.png", "cut.jpg", "empty.mp4", "pipe.jpg", "folder.jpg", "missing.jpg"})
    EXPECT_TRUE(MakeThumbnail((dir.path() / name).string(), 160).isNull()) << name;
}

TEST(ThumbnailMakerTest, TheDesktopsCacheWhileItIsCurrentElseAFrameOrADecode) {
  App();
  TempDir dir;
  setenv("XDG_CACHE_HOME", (dir.path() / "cache").c_str(), 1);
  const fs::path clip = dir.path() / "MVI_0001.MP4";
  fs::copy_file(kVideos / "dated.mp4", clip);
  // No cache: a frame of the clip (black, 16 pixels).
  const QImage frame = MakeThumbnail(clip.string(), 160);
  ASSERT_FALSE(frame.isNull());
  EXPECT_TRUE(Near(Middle(frame), Qt::black));

  // The file manager's thumbnail, marked with the clip's last-write time.
  const auto cache = [&](const char* size, QColor colour, long long written) {
    const QString path = DesktopThumbnailPath(clip.string(), size);
    fs::create_directories(fs::path(path.toStdString()).parent_path());
    QImage thumbnail = Filled(128, 72, colour);
    thumbnail.setText("Thumb::URI", "file://" + QString::fromStdString(clip.string()));
    thumbnail.setText("Thumb::MTime", QString::number(written));
    ASSERT_TRUE(thumbnail.save(path, "png"));
  };
  struct stat status;
  ASSERT_EQ(stat(clip.c_str(), &status), 0);
  cache("normal", Qt::green, status.st_mtime);
  EXPECT_TRUE(Near(Middle(MakeThumbnail(clip.string(), 160)), Qt::green));
  // Older than the clip: not used.
  cache("normal", Qt::green, status.st_mtime - 1);
  EXPECT_TRUE(Near(Middle(MakeThumbnail(clip.string(), 160)), Qt::black));
  // The smallest that fills the box.
  cache("normal", Qt::green, status.st_mtime);
  cache("large", Qt::red, status.st_mtime);
  EXPECT_TRUE(Near(Middle(MakeThumbnail(clip.string(), 120)), Qt::green));
  EXPECT_TRUE(Near(Middle(MakeThumbnail(clip.string(), 200)), Qt::red));

  // A photo without a picture of its own takes the cache's before it is
  // decoded; one with its own picture never needs the cache.
  const fs::path photo = dir.path() / "scan.jpg";
  const fs::path camera = dir.path() / "camera.jpg";
  CameraJpeg(photo, {2000, 1500}, Qt::blue, QColor(), 1);
  CameraJpeg(camera, {2000, 1500}, Qt::blue, QColor(255, 0, 255), 1);
  for (const fs::path& file : {photo, camera}) {
    ASSERT_EQ(stat(file.c_str(), &status), 0);
    const QString path = DesktopThumbnailPath(file.string(), "normal");
    QImage thumbnail = Filled(128, 96, Qt::green);
    thumbnail.setText("Thumb::MTime", QString::number(status.st_mtime));
    ASSERT_TRUE(thumbnail.save(path, "png"));
  }
  EXPECT_TRUE(Near(Middle(MakeThumbnail(photo.string(), 128)), Qt::green));
  EXPECT_TRUE(Near(Middle(MakeThumbnail(camera.string(), 128)), QColor(255, 0, 255)));
  unsetenv("XDG_CACHE_HOME");
}

TEST(ThumbnailQueueTest, MakesWhatIsAskedLatestFirstAndNeverCallsAfterItsEnd) {
  App();
  TempDir dir;
  for (int i = 0; i < 40; ++i)
    WriteFile(dir.path() / (std::to_string(i) + ".png"), Encoded(Filled(64, 48, Qt::blue), "PNG"));
  std::mutex mutex;
  std::vector<int> made;
  std::atomic<bool> ended{false};
  std::atomic<int> late{0};
  // The first picture's hand-over waits until everything is asked, so the
  // one worker finds them all waiting.
  std::promise<void> asked;
  std::shared_future<void> all_asked = asked.get_future().share();
  {
    TThumbnailQueue queue(32, 1, [&](int key, const QImage& picture) {
      if (key == 0) all_asked.wait();
      if (ended) ++late;
      std::lock_guard<std::mutex> lock(mutex);
      EXPECT_EQ(picture.size(), QSize(32, 24));
      made.push_back(key);
    });
    queue.Ask(0, (dir.path() / "0.png").string());
    while (queue.Waiting() > 0) std::this_thread::sleep_for(1ms);
    for (int i = 1; i < 40; ++i) queue.Ask(i, (dir.path() / (std::to_string(i) + ".png")).string());
    // Out of sight: dropped; asked again: to the front.
    queue.KeepOnly(0, 29);
    queue.Ask(5, (dir.path() / "5.png").string());
    EXPECT_EQ(queue.Waiting(), 29);
    asked.set_value();
    for (int waited = 0; waited < 500; ++waited) {
      {
        std::lock_guard<std::mutex> lock(mutex);
        if (made.size() == 30) break;
      }
      std::this_thread::sleep_for(10ms);
    }
    {
      std::lock_guard<std::mutex> lock(mutex);
      std::vector<int> expected = {0, 5};
      for (int i = 29; i >= 1; --i)
        if (i != 5) expected.push_back(i);
      EXPECT_EQ(made, expected);
    }
    // Many more asked, then the queue ends at once.
    for (int i = 0; i < 40; ++i) queue.Ask(100 + i, (dir.path() / "0.png").string());
  }
  ended = true;
  std::this_thread::sleep_for(100ms);
  EXPECT_EQ(late, 0);
}

}  // namespace
}  // namespace platform
