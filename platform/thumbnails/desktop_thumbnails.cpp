#include "platform/thumbnails/desktop_thumbnails.h"

#include <sys/stat.h>

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QImageReader>
#include <QStandardPaths>
#include <QUrl>

namespace platform {

QString DesktopThumbnailPath(const std::string& native_path, const char* size) {
  const QByteArray uri =
      QUrl::fromLocalFile(QFile::decodeName(QByteArray::fromStdString(native_path))).toEncoded();
  const QByteArray name = QCryptographicHash::hash(uri, QCryptographicHash::Md5).toHex();
  return QStandardPaths::writableLocation(QStandardPaths::GenericCacheLocation) +
         QStringLiteral("/thumbnails/") + QLatin1String(size) + QLatin1Char('/') +
         QLatin1String(name) + QStringLiteral(".png");
}

QImage CachedDesktopThumbnail(const std::string& native_path, int side) {
  struct stat status;
  if (stat(native_path.c_str(), &status) != 0) return {};
  const QString written = QString::number(static_cast<long long>(status.st_mtime));
  // The sizes the specification names, the smallest first.
  static constexpr struct {
    const char* folder;
    int side;
  } kSizes[] = {{"normal", 128}, {"large", 256}, {"x-large", 512}, {"xx-large", 1024}};
  QImage best;
  for (const auto& size : kSizes) {
    // (The reader's own text() cuts keys at their "::"; the image's keeps
    // them whole.)
    QImageReader reader(DesktopThumbnailPath(native_path, size.folder), "png");
    QImage image = reader.read();
    if (image.isNull() || image.text(QStringLiteral("Thumb::MTime")) != written) continue;
    best = std::move(image);
    if (size.side >= side) break;
  }
  return best;
}

}  // namespace platform
