// How the canvas reads CP932 bytes into the characters it draws: a lead
// byte and the byte after it are one character over two cells, whatever the
// second byte is, so that drawing follows the editor's column map.
#pragma once

#include <cstddef>
#include <string_view>

namespace platform::control_detail {

struct CellChar {
  char32_t code;  // what is drawn
  int bytes;      // 1 or 2: the cells it covers
};

inline constexpr bool IsCp932LeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

inline constexpr char32_t kReplacementChar = 0xFFFD;

// The character starting at byte `i` of `text`, as it is: bytes that are no
// CP932 character give U+FFFD, one for a lead byte and the byte after it.
CellChar DecodeCp932Char(std::string_view text, std::size_t i);

// The same as drawn: control bytes give their visible control pictures
// (U+2400 onward), so that nothing in the text is silently invisible.
CellChar DecodeCellChar(std::string_view text, std::size_t i);

}  // namespace platform::control_detail
