#include "app/window/drive_combo_box.h"

#include <QStorageInfo>

#include <algorithm>

namespace app {
namespace {

bool Holds(const QString& root, const QString& directory) {
  if (root == QLatin1String("/")) return directory.startsWith(QLatin1Char('/'));
  return directory == root || directory.startsWith(root + QLatin1Char('/'));
}

}  // namespace

DriveComboBox::DriveComboBox(QWidget* parent, const char* name) : QComboBox(parent) {
  setObjectName(QString::fromLatin1(name));
  Refresh();
  connect(this, &QComboBox::currentIndexChanged, this, [this](int) {
    if (!following_ && OnChange) OnChange(Drive());
  });
}

void DriveComboBox::Refresh() {
  QStringList roots{QStringLiteral("/")};
  QStringList labels{QStringLiteral("/")};
  QList<QStorageInfo> volumes = QStorageInfo::mountedVolumes();
  std::sort(volumes.begin(), volumes.end(), [](const QStorageInfo& a, const QStorageInfo& b) {
    return a.rootPath() < b.rootPath();
  });
  for (const QStorageInfo& volume : volumes) {
    if (!volume.isValid() || !volume.isReady()) continue;
    const QString root = volume.rootPath();
    if (roots.contains(root)) continue;
    roots << root;
    labels << (volume.name().isEmpty()
                   ? root
                   : root + QStringLiteral(" [") + volume.name() + QStringLiteral("]"));
  }
  const QString chosen = Drive();
  following_ = true;
  clear();
  for (int i = 0; i < roots.size(); ++i) addItem(labels[i], roots[i]);
  const int again = findData(chosen);
  setCurrentIndex(again >= 0 ? again : 0);
  following_ = false;
}

QString DriveComboBox::Drive() const {
  return currentData().toString();
}

void DriveComboBox::FollowDirectory(const QString& directory) {
  int best = -1;
  qsizetype best_length = -1;
  for (int i = 0; i < count(); ++i) {
    const QString root = itemData(i).toString();
    if (Holds(root, directory) && root.size() > best_length) {
      best = i;
      best_length = root.size();
    }
  }
  if (best < 0 || best == currentIndex()) return;
  following_ = true;
  setCurrentIndex(best);
  following_ = false;
}

}  // namespace app
