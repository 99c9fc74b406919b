#include "platform/control/cell_text.h"

namespace platform::control_detail {
namespace {

char32_t Visible(char32_t c) {
  if (c < 0x20) return 0x2400 + c;
  if (c == 0x7F) return 0x2421;
  return c;
}

}  // namespace

CellChar DecodeCellChar(std::string_view text, std::size_t i) {
  const CellChar c = DecodeCp932Char(text, i);
  return {Visible(c.code), c.bytes};
}

}  // namespace platform::control_detail
