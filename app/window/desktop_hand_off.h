// Hands addresses and folders to the desktop: the user's browser for web
// addresses, the mailer for "mailto:" addresses and the file browser for a
// folder. The window goes through this one interface, so that tests can
// put a double in its place and never start a real program.
#pragma once

#include <QUrl>

namespace app {

class DesktopHandOff {
 public:
  virtual ~DesktopHandOff() = default;
  // Asks the desktop to open `url`; false when no program took it.
  virtual bool Open(const QUrl& url) = 0;
};

// The desktop's own handlers, through QDesktopServices.
class SystemDesktopHandOff : public DesktopHandOff {
 public:
  bool Open(const QUrl& url) override;
};

}  // namespace app
