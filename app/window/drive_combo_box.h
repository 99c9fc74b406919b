// The drive list of the layout, on a desktop without drive letters: the
// root first, then the drives, cards and phones the desktop has mounted
// (by their label beside their mount point), then the other mounts. The
// list follows the desktop while the window is open; it is read by a watch
// on a thread of its own, so that a mount that does not answer never holds
// up the window. Choosing an entry reports its top folder.
#pragma once

#include <QComboBox>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace platform {
class TVolumeWatch;
struct TVolume;
}  // namespace platform

namespace app {

class DriveComboBox : public QComboBox {
 public:
  DriveComboBox(QWidget* parent, const char* name);
  ~DriveComboBox() override;

  // The top folder of the entry chosen, e.g. "/" or "/media/usb".
  QString Drive() const;
  // Shows the file system that holds `directory`, without reporting a choice.
  void FollowDirectory(const QString& directory);
  // Puts the entries for `volumes` after the root and shows the one that
  // holds the directory last followed (else the entry shown before), without
  // reporting a choice. The watch's lists arrive here.
  void SetVolumes(const std::vector<platform::TVolume>& volumes);

  // The user chose a file system; called with its top folder.
  std::function<void(const QString& root)> OnChange;
  // A card (a volume with a DCIM folder) arrived while the window was
  // open; called on the window's thread with the DCIM folder's name on
  // disk.
  std::function<void(const QByteArray& dcim)> OnCardArrived;

 private:
  bool following_ = false;
  QString followed_;
  std::unique_ptr<platform::TVolumeWatch> watch_;
};

}  // namespace app
