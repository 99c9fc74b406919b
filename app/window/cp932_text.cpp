#include "app/window/cp932_text.h"

#include <stdexcept>

#include "platform/cp932.h"

namespace app {

std::string Cp932(std::string_view utf8) {
  auto bytes = platform::Utf8ToCp932(utf8);
  if (!bytes) throw std::logic_error("text without a CP932 form: " + std::string(utf8));
  return *bytes;
}

QString ToQString(std::string_view cp932) {
  return QString::fromStdString(platform::Cp932ToUtf8Lossy(cp932));
}

std::optional<std::string> ToCp932(const QString& text) {
  return platform::Utf8ToCp932(text.toStdString());
}

}  // namespace app
