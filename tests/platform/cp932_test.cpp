#include "platform/cp932.h"

#include <gtest/gtest.h>

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

}  // namespace
