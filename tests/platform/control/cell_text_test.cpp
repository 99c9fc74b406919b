// How the control draws what it reads of CP932 bytes, without any window
// system: control bytes as their pictures.
#include "platform/control/cell_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

#include "platform/cp932.h"

namespace {

using platform::DecodeCp932Char;
using platform::control_detail::DecodeCellChar;

TEST(CellTextTest, ControlBytesAreDrawnAsTheirPictures) {
  const struct {
    char byte;
    char32_t drawn;
  } cases[] = {
      {'\x00', U'\u2400'}, {'\x0A', U'\u240A'}, {'\x1F', U'\u241F'},
      {'\x20', U' '},      {'\x7E', U'~'},      {'\x7F', U'\u2421'},
  };
  for (const auto& c : cases) {
    const std::string_view text(&c.byte, 1);
    EXPECT_EQ(static_cast<std::uint32_t>(DecodeCellChar(text, 0).code), c.drawn)
        << static_cast<int>(c.byte);
    EXPECT_EQ(DecodeCellChar(text, 0).bytes, 1);
  }
  // As read, a control byte is itself.
  EXPECT_EQ(DecodeCp932Char("\t", 0).code, U'\t');
}

}  // namespace
