#include "platform/cp932.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace {

TEST(Cp932, WindowsMappingsRoundTrip) {
  struct Case {
    std::string cp932, utf8;
  } cases[] = {
      {"abc\\~", "abc\\~"},                              // ASCII stays ASCII, also 0x5C and 0x7E
      {"\x81\x60", "\xEF\xBD\x9E"},                      // wave dash is U+FF5E in Windows-31J
      {"\x87\x40", "\xE2\x91\xA0"},                      // NEC special: circled digit one
      {"\xB1\xB2", "\xEF\xBD\xB1\xEF\xBD\xB2"},          // half-width katakana
      {"\x93\xFA\x96\x7B", "\xE6\x97\xA5\xE6\x9C\xAC"},  // 日本
      {"\x95\x5C", "\xE8\xA1\xA8"},                      // 表: trail byte 0x5C
  };
  for (const auto& c : cases) {
    EXPECT_EQ(platform::Cp932ToUtf8(c.cp932), c.utf8);
    EXPECT_EQ(platform::Utf8ToCp932(c.utf8), c.cp932);
  }
  // Every ASCII byte, NUL and DEL included, is the same byte both ways; the
  // first byte past ASCII is not.
  std::string ascii;
  for (int byte = 0x00; byte <= 0x7F; ++byte) ascii += static_cast<char>(byte);
  EXPECT_EQ(platform::Cp932ToUtf8(ascii), ascii);
  EXPECT_EQ(platform::Utf8ToCp932(ascii), ascii);
  EXPECT_EQ(platform::Cp932ToUtf8Lossy(ascii), ascii);
  EXPECT_EQ(platform::Utf8ToCp932Lossy(ascii), ascii);
  EXPECT_NE(platform::Cp932ToUtf8("\x80"), std::optional<std::string>("\x80"));
  EXPECT_NE(platform::Utf8ToCp932("\x80"), std::optional<std::string>("\x80"));
}

TEST(Cp932, RefusesWhatHasNoForm) {
  EXPECT_FALSE(platform::Utf8ToCp932("\xF0\x9F\x98\x80"));  // emoji
  EXPECT_FALSE(platform::Utf8ToCp932("\xFF"));              // not UTF-8
  EXPECT_FALSE(platform::Cp932ToUtf8("a\x81"));             // lead byte without trail
  EXPECT_EQ(platform::Utf8ToCp932Lossy("a\xF0\x9F\x98\x80"
                                       "b"),
            "a?b");
  EXPECT_EQ(platform::Cp932ToUtf8Lossy("a\x81"), "a\xEF\xBF\xBD");
}

constexpr char32_t kAny = 0xFFFFFFFF;  // the code is not what the case is about

struct Case {
  std::string_view bytes;
  char32_t code;
  int cells;
  const char* what;
};

TEST(Cp932, CharactersAndTheBytesTheyCover) {
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
      {"\x82\x3F", platform::kReplacementChar, 2, "trail byte one below its range"},
      {"\x82\xFD", platform::kReplacementChar, 2, "trail byte one above its range"},
      {"\xFC\xFC", platform::kReplacementChar, 2, "a pair with no character"},
      {"\x82", platform::kReplacementChar, 1, "lead byte at the end of the text"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const platform::Cp932Char got = platform::DecodeCp932Char(c.bytes, 0);
    EXPECT_EQ(got.bytes, c.cells);
    if (c.code != kAny) {
      EXPECT_EQ(static_cast<std::uint32_t>(got.code), c.code);
    }
  }
}

TEST(Cp932, ReadsACharacterFromAnyByteOfTheText) {
  const std::string_view text = "a\x82\xA0z";
  EXPECT_EQ(platform::DecodeCp932Char(text, 1).code, U'\u3042');
  EXPECT_EQ(platform::DecodeCp932Char(text, 1).bytes, 2);
  EXPECT_EQ(platform::DecodeCp932Char(text, 3).code, U'z');
}

TEST(Cp932, FromUtf16) {
  EXPECT_EQ(platform::Utf16ToCp932(u"a\u3042\u8868~"), std::string("a\x82\xA0\x95\x5C~"));
  EXPECT_EQ(platform::Utf16ToCp932(u""), std::string());
  // A pair of surrogates is one character, which CP932 lacks; a surrogate
  // alone is none.
  EXPECT_EQ(platform::Utf16ToCp932(u"\U0001F600"), std::nullopt);
  EXPECT_EQ(platform::Utf16ToCp932(std::u16string{u'a', char16_t(0xD800)}), std::nullopt);
}

}  // namespace
