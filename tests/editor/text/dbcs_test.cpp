#include "editor/text/dbcs.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using editor::CharAt;
using editor::ContainsChar;
using editor::CountChar;
using editor::IsLeadByte;
using editor::IsTrailByteAt;
using editor::LeadingSpaceWidth;

const std::string kHiraganaA = "\x82\xA0";  // one full-width hiragana character
const std::string kWideSpace = "\x81\x40";

TEST(Dbcs, LeadBytesAreThoseOfCodePage932) {
  // Both ends of both lead ranges, and the bytes just outside them.
  struct Case {
    unsigned char byte;
    bool lead;
  } cases[] = {
      {0x00, false}, {0x40, false}, {0x7F, false}, {0x80, false}, {0x81, true},
      {0x9F, true},  {0xA0, false}, {0xA1, false}, {0xDF, false}, {0xE0, true},
      {0xEF, true},  {0xF0, true},  {0xFC, true},  {0xFD, false}, {0xFF, false},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(IsLeadByte(c.byte), c.lead) << std::hex << int{c.byte};
    // char and unsigned char agree
    EXPECT_EQ(IsLeadByte(static_cast<char>(c.byte)), c.lead) << std::hex << int{c.byte};
  }
}

TEST(Dbcs, CountCharCountsAmongTheFirstBytes) {
  const std::string map = "1233331";
  struct Case {
    int n, expected;
  } cases[] = {{4, 2}, {7, 4}, {100, 4}, {0, 0}, {-3, 0}};
  for (const auto& c : cases) EXPECT_EQ(CountChar(map, '3', c.n), c.expected) << c.n;
  EXPECT_EQ(CountChar("", '3', 5), 0);
}

TEST(Dbcs, CharAtGivesNulOutsideTheString) {
  EXPECT_EQ(CharAt("abc", 1), 'a');
  EXPECT_EQ(CharAt("abc", 3), 'c');
  EXPECT_EQ(CharAt("abc", 0), '\0');
  EXPECT_EQ(CharAt("abc", 4), '\0');
  EXPECT_EQ(CharAt("abc", -1), '\0');
  EXPECT_EQ(CharAt("", 1), '\0');
}

TEST(Dbcs, IsTrailByteAtStepsCharacters) {
  struct Case {
    std::string s;
    int i;
    bool expected;
  } cases[] = {
      {kHiraganaA, 1, false},
      {kHiraganaA, 2, true},
      {"a" + kHiraganaA, 1, false},
      {"a" + kHiraganaA, 2, false},
      {"a" + kHiraganaA, 3, true},
      // trail bytes that look like lead bytes are still trails
      {"\x88\x9F\x88\x9F", 2, true},
      {"\x88\x9F\x88\x9F", 3, false},
      {"\x88\x9F\x88\x9F", 4, true},
      // broken input: a lead byte at the end takes the position after the end
      {"a\x82", 3, true},
      {"a\x82", 2, false},
      {"a\x82", 4, false},
      {"", 1, false},
      {"ab", 0, false},
  };
  for (const auto& c : cases) EXPECT_EQ(IsTrailByteAt(c.s, c.i), c.expected) << c.s << " " << c.i;
}

TEST(Dbcs, EndsInLoneLeadByteAgreesWithStepping) {
  const std::string samples[] = {"",
                                 "a",
                                 "\x82",
                                 "a\x82",
                                 kHiraganaA,
                                 "\x88\x9F",
                                 "\x88\x9F\x88",
                                 "\x88\x88\x88",
                                 "\x88\x88",
                                 "\xB1\x88\x88",
                                 "\x82\x41\x88"};
  for (const auto& s : samples) {
    EXPECT_EQ(editor::EndsInLoneLeadByte(s), IsTrailByteAt(s, static_cast<int>(s.size()) + 1)) << s;
  }
}

TEST(Dbcs, ContainsCharMatchesOnlyAtCharacterStarts) {
  const std::string follow = "\x81\x41\x81\x42!),";  // 、。!),
  struct Case {
    std::string ch, chars;
    bool expected;
  } cases[] = {
      {"\x81\x42", follow, true},
      {")", follow, true},
      {"a", follow, false},
      {"\x40", kWideSpace, false},  // 0x40 is the trail there, never visited
      {"A", "\x82\x41", false},     // likewise a trail 0x41 is not "A"
      {"", follow, false},
      {"\x81\x42", "\x81", false},  // shorter than the character
      {"\x81", "a\x81", true},      // a lone lead at the end is a character start
      {"\x82\x60", "\x82\x60", true},
      {"A", "\x82\x60", false},  // full-width and half-width forms differ
  };
  for (const auto& c : cases) EXPECT_EQ(ContainsChar(c.ch, c.chars), c.expected) << c.ch;
}

TEST(Dbcs, LeadingSpaceWidthCountsSpacesAndWideSpaces) {
  struct Case {
    std::string s;
    int expected;
  } cases[] = {
      {"  " + kWideSpace + "a", 4},
      {"\tab", 0},
      {" \t ", 1},
      {"", -1},
      {"   ", 3},
      {"\x81", 0},       // a broken wide space is no blank
      {" \x82\x40", 1},  // not the full-width space
      {kWideSpace + kWideSpace, 4},
  };
  for (const auto& c : cases) EXPECT_EQ(LeadingSpaceWidth(c.s), c.expected) << c.s;
}

}  // namespace
