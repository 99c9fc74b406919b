// How the canvas reads CP932 bytes into the characters it draws: a lead
// byte and the byte after it are one character over two cells, whatever the
// second byte is, so that drawing follows the editor's column map.
#pragma once

#include <cstddef>
#include <string_view>

#include "platform/cp932.h"

namespace platform::control_detail {

// What is drawn, and the cells (bytes) it covers.
using CellChar = Cp932Char;

// The character starting at byte `i` of `text` as drawn: as DecodeCp932Char
// reads it, but control bytes give their visible control pictures (U+2400
// onward), so that nothing in the text is silently invisible.
CellChar DecodeCellChar(std::string_view text, std::size_t i);

}  // namespace platform::control_detail
