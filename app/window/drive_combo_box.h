// The drive list of the layout, on a desktop without drive letters: the
// mounted file systems, the root first. Choosing one reports its top folder.
#pragma once

#include <QComboBox>
#include <QString>

#include <functional>

namespace app {

class DriveComboBox : public QComboBox {
 public:
  DriveComboBox(QWidget* parent, const char* name);

  // Re-reads the mounted file systems.
  void Refresh();
  // The top folder of the entry chosen, e.g. "/" or "/media/usb".
  QString Drive() const;
  // Shows the file system that holds `directory`, without reporting a choice.
  void FollowDirectory(const QString& directory);

  // The user chose a file system; called with its top folder.
  std::function<void(const QString& root)> OnChange;

 private:
  bool following_ = false;
};

}  // namespace app
