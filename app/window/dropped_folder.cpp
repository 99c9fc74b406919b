#include "app/window/dropped_folder.h"

#include <QFileInfo>
#include <QMimeData>
#include <QUrl>

namespace app {

std::optional<QString> DroppedFolder(const QMimeData& data) {
  if (!data.hasUrls()) return std::nullopt;
  const QList<QUrl> urls = data.urls();
  if (urls.isEmpty() || !urls.first().isLocalFile()) return std::nullopt;
  const QFileInfo dropped(urls.first().toLocalFile());
  if (dropped.isDir()) return dropped.absoluteFilePath();
  if (dropped.exists()) return dropped.absolutePath();
  return std::nullopt;
}

}  // namespace app
