#include "app/window/drive_combo_box.h"

#include <QFile>
#include <QMetaObject>

#include "platform/volumes/volume_watch.h"

namespace app {
namespace {

bool Holds(const QString& root, const QString& directory) {
  if (root == QLatin1String("/")) return directory.startsWith(QLatin1Char('/'));
  return directory == root || directory.startsWith(root + QLatin1Char('/'));
}

}  // namespace

DriveComboBox::DriveComboBox(QWidget* parent, const char* name) : QComboBox(parent) {
  setObjectName(QString::fromLatin1(name));
  addItem(QStringLiteral("/"), QStringLiteral("/"));
  connect(this, &QComboBox::currentIndexChanged, this, [this](int) {
    if (!following_ && OnChange) OnChange(Drive());
  });
  // The watch calls from its own threads, and never after it is destroyed,
  // which this box's destructor does first.
  watch_ = std::make_unique<platform::TVolumeWatch>(
      [this](const std::vector<platform::TVolume>& volumes) {
        QMetaObject::invokeMethod(
            this, [this, volumes] { SetVolumes(volumes); }, Qt::QueuedConnection);
      },
      [this](const std::string& dcim) {
        QMetaObject::invokeMethod(
            this,
            [this, dcim = QByteArray::fromStdString(dcim)] {
              if (OnCardArrived) OnCardArrived(dcim);
            },
            Qt::QueuedConnection);
      });
}

DriveComboBox::~DriveComboBox() {
  watch_.reset();
}

void DriveComboBox::SetVolumes(const std::vector<platform::TVolume>& volumes) {
  const QString chosen = Drive();
  following_ = true;
  clear();
  addItem(QStringLiteral("/"), QStringLiteral("/"));
  for (const platform::TVolume& volume : volumes) {
    const QString root = QFile::decodeName(QByteArray::fromStdString(volume.root));
    if (root == QLatin1String("/")) continue;
    const QString label = QString::fromStdString(volume.label);
    addItem(label.isEmpty() ? root : label + QStringLiteral(" (") + root + QStringLiteral(")"),
            root);
  }
  const int again = findData(chosen);
  setCurrentIndex(again >= 0 ? again : 0);
  following_ = false;
  // The directory may be on a volume that has just come, or on one that
  // has gone: show the entry that holds it now.
  if (!followed_.isEmpty()) FollowDirectory(followed_);
}

QString DriveComboBox::Drive() const {
  return currentData().toString();
}

void DriveComboBox::FollowDirectory(const QString& directory) {
  followed_ = directory;
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
