// The lead bytes of code page 932: the first byte of a double-byte
// character. Half-width katakana (0xA1-0xDF) are single-byte characters.
#pragma once

namespace platform {

constexpr bool IsLeadByte(unsigned char b) {
  return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}
constexpr bool IsLeadByte(char b) {
  return IsLeadByte(static_cast<unsigned char>(b));
}

// The byte length of the character that starts at `s[i]`: 2 for a lead byte
// with a byte after it, else 1. A lead byte at the very end stands alone.
constexpr int CharLengthAt(const char* s, int size, int i) {
  return IsLeadByte(s[i]) && i + 1 < size ? 2 : 1;
}

}  // namespace platform
