// Byte rules of the editor's Shift-JIS (code page 932) text: which bytes
// start a double-byte character, and the small routines that every row
// operation shares. Positions in these routines count from 1, as the column
// maps they are used on do.
#pragma once

#include <string_view>

#include "platform/lead_byte.h"

namespace editor {

// True for the first byte of a double-byte character (0x81-0x9F,
// 0xE0-0xFC). Half-width katakana (0xA1-0xDF) are single-byte characters.
using platform::IsLeadByte;

// Number of bytes equal to `b` among the first `n` bytes of `s` (byte-wise,
// no character stepping); 0 when n <= 0. On a column map, column minus
// CountChar(map, '3', column + 1) is the byte index of that column.
int CountChar(std::string_view s, char b, int n);

// The byte at 1-based position `i`, or NUL outside the string.
char CharAt(std::string_view s, int i);

// True when 1-based position `i` holds the second byte of a double-byte
// character, found by stepping through `s` a character at a time. A lead
// byte at the very end takes the position after the end as its trail.
bool IsTrailByteAt(std::string_view s, int i);

// True when the last byte of `s` is a lead byte left without its trail
// (broken input). Looks only at the run of lead-valued bytes at the end.
bool EndsInLoneLeadByte(std::string_view s);

// True when the one- or two-byte character `ch` occurs in `chars` at a
// character start: a single byte never matches the trail of a double-byte
// character there. Empty `ch` matches nothing.
bool ContainsChar(std::string_view ch, std::string_view chars);

// Display width of the blanks that start `s` (space 1, full-width space 2;
// a tab or any other byte ends them); -1 for an empty `s`.
int LeadingSpaceWidth(std::string_view s);

constexpr int Max(int a, int b) {
  return a > b ? a : b;
}
constexpr int Min(int a, int b) {
  return a < b ? a : b;
}

}  // namespace editor
