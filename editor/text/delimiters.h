// The set of single-byte values that separate words: the column map marks
// them, word movement stops at them and word-wise wrapping breaks after them.
#pragma once

#include <bitset>

namespace editor {

using TDelimiterSet = std::bitset<256>;

// Control characters, space, ASCII punctuation except "_", 0x80, 0xA0, the
// half-width punctuation 0xA1-0xA5 and 0xFD-0xFF. Letters, digits and the
// half-width katakana 0xA6-0xDF make words.
TDelimiterSet DefaultDelimiters();

}  // namespace editor
