#include "app/window/single_instance.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
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

InstanceChannel::InstanceChannel(const QString& lock_path) : path_(SocketPath(lock_path)) {}

InstanceChannel::~InstanceChannel() {
  if (server_) server_->close();
}

QString InstanceChannel::SocketPath(const QString& lock_path) {
  return lock_path + QStringLiteral(".socket");
}

bool InstanceChannel::Listen() {
  if (server_) return server_->isListening();
  server_ = new QLocalServer(this);
  // Only the user's own later starts may speak to the window.
  server_->setSocketOptions(QLocalServer::UserAccessOption);
  QLocalServer::removeServer(path_);
  connect(server_, &QLocalServer::newConnection, this, [this] {
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
      auto* received = new QByteArray;
      connect(socket, &QLocalSocket::readyRead, socket,
              [socket, received] { received->append(socket->readAll()); });
      connect(socket, &QLocalSocket::disconnected, this, [this, socket, received] {
        received->append(socket->readAll());
        const QByteArray folder = *received;
        delete received;
        socket->deleteLater();
        if (OnFolder) OnFolder(folder);
      });
    }
  });
  return server_->listen(path_);
}

bool InstanceChannel::HandFolder(const QString& lock_path, const QByteArray& folder,
                                 int timeout_ms) {
  QLocalSocket socket;
  socket.connectToServer(SocketPath(lock_path));
  if (!socket.waitForConnected(timeout_ms)) return false;
  socket.write(folder);
  if (!folder.isEmpty() && !socket.waitForBytesWritten(timeout_ms)) return false;
  socket.disconnectFromServer();
  if (socket.state() != QLocalSocket::UnconnectedState) socket.waitForDisconnected(timeout_ms);
  return true;
}

bool RefuseSecondInstance(SingleInstanceLock& lock, QWidget* parent) {
  if (lock.TryLock()) return false;
  ShowMessageBox(parent, QStringLiteral(u"すでに起動されています。"), QStringLiteral(u"警告"),
                 QMessageBox::Critical, QMessageBox::Ok);
  return true;
}

}  // namespace app
