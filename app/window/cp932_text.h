// The window's side of the program's CP932 text: our own literals, and the
// conversions between CP932 bytes and the strings Qt's controls hold.
#pragma once

#include <QString>

#include <optional>
#include <string>
#include <string_view>

namespace app {

// CP932 bytes of one of the program's own texts, written in UTF-8 in the
// source. Every such text has a CP932 form; one that has none is a
// programming error and throws std::logic_error.
std::string Cp932(std::string_view utf8);

// For display: CP932 bytes as a Qt string (invalid bytes become U+FFFD).
QString ToQString(std::string_view cp932);

// A Qt string as CP932 bytes, or no value when it holds a character that
// has no CP932 form.
std::optional<std::string> ToCp932(const QString& text);

}  // namespace app
