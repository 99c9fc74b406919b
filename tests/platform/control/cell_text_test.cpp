// How the control reads CP932 bytes into drawn characters, without any
// window system: lead bytes at both ends of their ranges, trail bytes at
// both ends of theirs, and what is no character.
#include "platform/control/cell_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string_view>

namespace {

using platform::control_detail::CellChar;
using platform::control_detail::DecodeCellChar;
using platform::control_detail::DecodeCp932Char;
using platform::control_detail::kReplacementChar;

constexpr char32_t kAny = 0xFFFFFFFF;  // the code is not what the case is about

struct Case {
  std::string_view bytes;
  char32_t code;
  int cells;
  const char* what;
};

TEST(CellTextTest, CharactersAndTheCellsTheyCover) {
  const Case cases[] = {
      {"A", U'A', 1, "ASCII"},
      {"\x80", kAny, 1, "0x80 is no lead byte"},
      {"\x81\x40", U'\u3000', 2, "first lead byte, first trail byte"},
      {"\x88\x9F", U'\u4E9C', 2, "a kanji"},
      {"\x95\x5C", U'\u8868', 2, "trail byte 0x5C"},
      {"\x9F\xFC", kAny, 2, "last lead byte of the first range, last trail byte"},
      {"\xA0", kAny, 1, "0xA0 is no lead byte"},
      {"\xA1", U'\uFF61', 1, "first half-width katakana"},
      {"\xDF", U'\uFF9F', 1, "last half-width katakana"},
      {"\xE0\x40", kAny, 2, "first lead byte of the second range"},
      {"\xFC\x40", kAny, 2, "last lead byte"},
      {"\xFD", kAny, 1, "0xFD is no lead byte"},
      {"\x82\x3F", kReplacementChar, 2, "trail byte one below its range"},
      {"\x82\xFD", kReplacementChar, 2, "trail byte one above its range"},
      {"\xFC\xFC", kReplacementChar, 2, "a pair with no character"},
      {"\x82", kReplacementChar, 1, "lead byte at the end of the text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const CellChar got = DecodeCp932Char(c.bytes, 0);
    EXPECT_EQ(got.bytes, c.cells);
    if (c.code != kAny) EXPECT_EQ(static_cast<std::uint32_t>(got.code), c.code);
  }
}

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

TEST(CellTextTest, ReadsFromAnyByteOfTheText) {
  const std::string_view text = "a\x82\xA0z";
  EXPECT_EQ(DecodeCp932Char(text, 1).code, U'\u3042');
  EXPECT_EQ(DecodeCp932Char(text, 1).bytes, 2);
  EXPECT_EQ(DecodeCp932Char(text, 3).code, U'z');
}

}  // namespace
