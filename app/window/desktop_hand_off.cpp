#include "app/window/desktop_hand_off.h"

#include <QDesktopServices>

namespace app {

bool SystemDesktopHandOff::Open(const QUrl& url) {
  return QDesktopServices::openUrl(url);
}

}  // namespace app
