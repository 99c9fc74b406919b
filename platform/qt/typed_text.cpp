#include "platform/qt/typed_text.h"

#include <QByteArray>
#include <QList>
#include <optional>
#include <string_view>

#include "platform/cp932.h"

namespace platform::control_detail {

namespace {

// The CP932 form of one character typed or composed, if it has one. The yen
// and overline keys of a Japanese keyboard type the bytes 0x5C and 0x7E,
// which Japanese fonts show as those signs.
std::optional<std::string> CharCp932(const QString& one) {
  if (one == QChar(0x00A5)) return std::string("\\");
  if (one == QChar(0x203E)) return std::string("~");
  const QByteArray utf8 = one.toUtf8();
  return Utf8ToCp932(std::string_view(utf8.constData(), static_cast<std::size_t>(utf8.size())));
}

}  // namespace

qsizetype CharLength(const QString& text, qsizetype i) {
  return text.at(i).isHighSurrogate() && i + 1 < text.size() ? 2 : 1;
}

std::string TypedCp932(const QString& text, int& refused) {
  std::string bytes;
  refused = 0;
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype n = CharLength(text, i);
    const QString one = text.mid(i, n);
    i += n;
    if (const std::optional<std::string> cp932 = CharCp932(one))
      bytes += *cp932;
    else
      ++refused;
  }
  return bytes;
}

int CharCells(const QString& one) {
  if (const std::optional<std::string> cp932 = CharCp932(one))
    return static_cast<int>(cp932->size());
  return one.toUcs4().value(0) >= 0x1100 ? 2 : 1;
}

}  // namespace platform::control_detail
