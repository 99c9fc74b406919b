// One running program per desktop: a lock file per user and display. The
// lock of a program that died is taken over, a live one never.
#pragma once

#include <QLockFile>
#include <QString>

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

// The start-up check: when `lock` is held by another instance, tells the
// user "すでに起動されています。" and answers true (this start must end).
bool RefuseSecondInstance(SingleInstanceLock& lock, QWidget* parent = nullptr);

}  // namespace app
