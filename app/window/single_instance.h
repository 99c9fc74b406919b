// One running program per desktop: a lock file per user and display. The
// lock of a program that died is taken over, a live one never. Beside the
// lock, the running program listens on a local socket, by which a later
// start hands it a folder to choose.
#pragma once

#include <QByteArray>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <functional>

class QLocalServer;
class QWidget;

namespace app {

class SingleInstanceLock {
 public:
  explicit SingleInstanceLock(const QString& lock_path);
  // Released when the program ends.
  ~SingleInstanceLock() = default;

  // The lock path of the current user's desktop (runtime folder, display).
  static QString DesktopLockPath();

  // True when this instance holds the lock (now or already).
  bool TryLock();

 private:
  QLockFile lock_;
};

// The running program's side of the socket beside the lock at `lock_path`.
// Listen only while holding the lock: a socket left by a program that died
// is taken over.
class InstanceChannel : public QObject {
 public:
  explicit InstanceChannel(const QString& lock_path);
  ~InstanceChannel() override;

  bool Listen();
  // What a later start handed over: a folder as the file system names it
  // (empty when it named none), once its connection has closed.
  std::function<void(const QByteArray& folder)> OnFolder;

  // A later start's side: hands `folder` to the program listening beside
  // `lock_path`; false when none answered in time.
  static bool HandFolder(const QString& lock_path, const QByteArray& folder, int timeout_ms = 3000);

 private:
  static QString SocketPath(const QString& lock_path);

  QString path_;
  QLocalServer* server_ = nullptr;
};

// The start-up check: when `lock` is held by another instance, tells the
// user "すでに起動されています。" and answers true (this start must end).
bool RefuseSecondInstance(SingleInstanceLock& lock, QWidget* parent = nullptr);

}  // namespace app
