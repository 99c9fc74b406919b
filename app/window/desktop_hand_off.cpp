#include "app/window/desktop_hand_off.h"

#include <QDesktopServices>

namespace app {

void SystemDesktopHandOff::Open(const QUrl& url) {
  QDesktopServices::openUrl(url);
}

}  // namespace app
