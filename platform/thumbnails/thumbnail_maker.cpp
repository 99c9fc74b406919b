#include "platform/thumbnails/thumbnail_maker.h"

#include <sys/stat.h>

#include <QBuffer>
#include <QFile>
#include <QImageReader>
#include <QTransform>

#include "platform/exif/embedded_preview.h"
#include "platform/thumbnails/desktop_thumbnails.h"
#include "platform/thumbnails/video_frame.h"
#include "platform/video/video_date.h"

namespace platform {
namespace {

QImage Fitted(const QImage& image, int side) {
  if (image.isNull() || (image.width() <= side && image.height() <= side)) return image;
  return image.scaled(side, side, Qt::KeepAspectRatio, Qt::SmoothTransformation);
}

// Exif's orientations 2..8 as turns and mirrors of the stored picture.
QImage Upright(const QImage& image, int orientation) {
  QTransform turn;
  bool mirror = false;
  switch (orientation) {
    case 2:
      mirror = true;
      break;
    case 3:
      turn.rotate(180);
      break;
    case 4:
      turn.rotate(180);
      mirror = true;
      break;
    case 5:
      turn.rotate(90);
      mirror = true;
      break;
    case 6:
      turn.rotate(90);
      break;
    case 7:
      turn.rotate(270);
      mirror = true;
      break;
    case 8:
      turn.rotate(270);
      break;
    default:
      break;
  }
  QImage upright = mirror ? image.mirrored(true, false) : image;
  return turn.isIdentity() ? upright : upright.transformed(turn);
}

QImage FromEmbeddedPreview(const std::string& native_path, int side) {
  const std::optional<EmbeddedPreview> preview = ReadEmbeddedPreview(native_path, side);
  if (!preview) return {};
  QByteArray bytes = QByteArray::fromStdString(preview->bytes);
  QBuffer buffer(&bytes);
  QImageReader reader(&buffer);
  const QSize size = reader.size();
  if (size.isValid()) reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio));
  const QImage image = reader.read();
  if (image.isNull()) return {};
  return Upright(Fitted(image, side), preview->orientation);
}

QImage Decoded(const std::string& native_path, int side) {
  QImageReader reader(QFile::decodeName(QByteArray::fromStdString(native_path)));
  reader.setAutoTransform(true);
  const QSize size = reader.size();
  // A picture larger than the box is decoded at the box's size: JPEG at a
  // fraction of its own, the rest scaled as they are read.
  if (size.isValid() && (size.width() > side || size.height() > side))
    reader.setScaledSize(size.scaled(side, side, Qt::KeepAspectRatio));
  return Fitted(reader.read(), side);
}

}  // namespace

QImage MakeThumbnail(const std::string& native_path, int side) {
  // Only a regular file: a FIFO or a device would be waited for.
  struct stat status;
  if (stat(native_path.c_str(), &status) != 0 || !S_ISREG(status.st_mode)) return {};
  if (IsVideoFileName(native_path)) {
    QImage cached = Fitted(CachedDesktopThumbnail(native_path, side), side);
    return cached.isNull() ? Fitted(VideoFrame(native_path, side), side) : cached;
  }
  // A photo without a picture of its own may have one in the desktop's
  // cache; only then is it decoded, which for a large JPEG takes a while.
  QImage embedded = FromEmbeddedPreview(native_path, side);
  if (!embedded.isNull()) return embedded;
  QImage cached = Fitted(CachedDesktopThumbnail(native_path, side), side);
  return cached.isNull() ? Decoded(native_path, side) : cached;
}

}  // namespace platform
