// Conversion between the program's CP932 (Windows-31J) byte strings and
// Unicode text at the edges: file names, Qt strings, clipboard, keys.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// CP932 bytes to UTF-8. No value when the bytes are not valid CP932.
std::optional<std::string> Cp932ToUtf8(std::string_view cp932);

// UTF-8 to CP932 bytes. No value when the text is not valid UTF-8 or holds
// a character that has no CP932 form: the caller reports it, never guesses.
std::optional<std::string> Utf8ToCp932(std::string_view utf8);

// For showing text only: invalid bytes become U+FFFD, never an error.
std::string Cp932ToUtf8Lossy(std::string_view cp932);

// For showing text only: characters without a CP932 form become "?".
std::string Utf8ToCp932Lossy(std::string_view utf8);

// CP932 bytes to UTF-16, one code unit per CP932 character as the editor
// counts them (a lead byte with a byte after it is one character): every
// CP932 character has a form in the Basic Multilingual Plane, and a
// character without a Unicode form becomes U+FFFD. Offsets in the result
// are therefore character counts of the bytes.
std::u16string Cp932ToUtf16Chars(std::string_view cp932);
// The number of characters of CP932 bytes, counted the same way.
int Cp932CharCount(std::string_view cp932);

}  // namespace platform
