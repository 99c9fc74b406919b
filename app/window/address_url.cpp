#include "app/window/address_url.h"

#include <string>

#include "app/window/cp932_text.h"

namespace app {

QUrl AddressUrl(editor::TTokenKind kind, std::string_view token) {
  QString text = ToQString(token);
  if (kind == editor::tkMail) {
    text.prepend(QStringLiteral("mailto:"));
  } else if (text.startsWith(QLatin1String("www."))) {
    text.prepend(QStringLiteral("http://"));
  }
  return QUrl(text, QUrl::TolerantMode);
}

}  // namespace app
