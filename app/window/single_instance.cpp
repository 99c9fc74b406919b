#include "app/window/single_instance.h"

#include <QDir>
#include <QGuiApplication>
#include <QStandardPaths>

#include "app/window/message_box.h"

namespace app {

SingleInstanceLock::SingleInstanceLock(const QString& lock_path) : lock_(lock_path) {
  // A lock is stale only when the program holding it is gone, never merely
  // because it is old: a window may stay open for days.
  lock_.setStaleLockTime(0);
}

QString SingleInstanceLock::DesktopLockPath() {
  // The runtime folder belongs to the user; the display names the desktop.
  QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
  if (folder.isEmpty()) folder = QDir::tempPath();
  QString display = qEnvironmentVariable("WAYLAND_DISPLAY");
  if (display.isEmpty()) display = qEnvironmentVariable("DISPLAY");
  if (display.isEmpty()) display = QGuiApplication::platformName();
  display.replace(QLatin1Char('/'), QLatin1Char('_'));
  return folder + QStringLiteral("/pirukko-varnek-") + display + QStringLiteral(".lock");
}

bool SingleInstanceLock::TryLock() {
  return lock_.isLocked() || lock_.tryLock(0);
}

bool RefuseSecondInstance(SingleInstanceLock& lock, QWidget* parent) {
  if (lock.TryLock()) return false;
  ShowMessageBox(parent, QStringLiteral(u"すでに起動されています。"), QStringLiteral(u"警告"),
                 QMessageBox::Critical, QMessageBox::Ok);
  return true;
}

}  // namespace app
