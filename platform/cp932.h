// Conversion between the program's CP932 (Windows-31J) byte strings and
// Unicode text at the edges: file names, Qt strings, clipboard, keys.
#pragma once

#include <cstddef>
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

// A character of CP932 text as the editor counts them: a lead byte and the
// byte after it are one character over two bytes, whatever that byte is.
struct Cp932Char {
  char32_t code;  // U+FFFD for bytes that are no CP932 character
  int bytes;      // 1 or 2
};
inline constexpr char32_t kReplacementChar = 0xFFFD;

// The character starting at byte `i` of `text`: a lead byte at the end
// stands alone, as U+FFFD; a lead byte with a byte that cannot follow it is
// one U+FFFD for both.
Cp932Char DecodeCp932Char(std::string_view text, std::size_t i);

// CP932 bytes to UTF-16, one code unit per CP932 character as the editor
// counts them (a lead byte with a byte after it is one character): every
// CP932 character has a form in the Basic Multilingual Plane, and a
// character without a Unicode form becomes U+FFFD. Offsets in the result
// are therefore character counts of the bytes.
std::u16string Cp932ToUtf16Chars(std::string_view cp932);
// UTF-16 text to CP932 bytes. No value when a character has no CP932 form
// (a surrogate without its pair has none).
std::optional<std::string> Utf16ToCp932(std::u16string_view utf16);
// The number of characters of CP932 bytes, counted the same way.
int Cp932CharCount(std::string_view cp932);

}  // namespace platform
