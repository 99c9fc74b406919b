#include "platform/text_compare.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/string_list.h"
#include "platform/user_locale.h"

namespace {

using platform::AnsiCompareText;
using platform::AnsiCompareTextKey;
using platform::AnsiSameText;

int Sign(int v) {
  return (v > 0) - (v < 0);
}

TEST(TextCompare, CaseIgnoredEverythingElseCounts) {
  platform::ScopedUserLocale ja("ja_JP");
  struct Case {
    std::string a, b;
    int order;
  } cases[] = {
      {"abc", "ABC", 0},
      {"Begin", "bEGIN", 0},
      {"\x82\x60\x82\x61", "\x82\x81\x82\x82", 0},  // ＡＢ against ａｂ: full-width case
      {"a", "B", -1},
      {"B", "c", -1},
      {"a.txt", "A.TXT", 0},
      {"a", "ab", -1},
      {"", "a", -1},
      {"abc", "\x82\x81\x82\x82\x82\x83", -1},  // abc against ａｂｃ: width counts
      {"\x82\xA0", "\x83\x41", -1},             // あ against ア: kana kind counts
      {"\x93\xFA", "\x96\x7B", -1},             // 日 before 本
      {"file2", "file10", 1},                   // no numeric ordering
  };
  for (const auto& c : cases) {
    EXPECT_EQ(Sign(AnsiCompareText(c.a, c.b)), c.order) << c.a << " / " << c.b;
    EXPECT_EQ(Sign(AnsiCompareText(c.b, c.a)), -c.order) << c.a << " / " << c.b;
    EXPECT_EQ(AnsiSameText(c.a, c.b), c.order == 0);
    EXPECT_EQ(Sign(AnsiCompareTextKey(c.a).compare(AnsiCompareTextKey(c.b))), c.order)
        << c.a << " / " << c.b;
  }
}

TEST(TextCompare, FollowsTheUserLocale) {
  // Chinese orders Han characters by reading: 本 (ben) before 日 (ri).
  {
    platform::ScopedUserLocale zh("zh_CN");
    EXPECT_GT(AnsiCompareText("\x93\xFA", "\x96\x7B"), 0);
  }
  platform::ScopedUserLocale ja("ja_JP");
  EXPECT_LT(AnsiCompareText("\x93\xFA", "\x96\x7B"), 0);
}

TEST(TextCompare, InvalidBytesNeitherCrashNorEqualValidText) {
  platform::ScopedUserLocale ja("ja_JP");
  EXPECT_NE(AnsiCompareText("a\x81", "a"), 0);
  EXPECT_EQ(AnsiCompareText("a\x81", "A\x81"), 0);
  EXPECT_FALSE(AnsiCompareTextKey("\x81").empty());
}

TEST(TextCompare, SortAgreesWithFind) {
  platform::ScopedUserLocale ja("ja_JP");
  platform::TStringList list;
  std::vector<std::string> names = {"b.txt",    "A.txt",    "a.TXT",        "_x",   "10.doc",
                                    "2.doc",    "\x83\x41", "\x82\xA0",     "Zeta", "zeta2",
                                    "\x96\x7B", "\x93\xFA", "\x82\x60.txt", ""};
  for (const auto& n : names) list.Add(n);
  list.Sort();
  for (int i = 1; i < list.Count(); ++i)
    EXPECT_LE(AnsiCompareText(list[i - 1], list[i]), 0) << list[i - 1] << " / " << list[i];
  list.SetSorted(true);
  for (const auto& n : names) {
    int index = -1;
    ASSERT_TRUE(list.Find(n, index)) << n;
    EXPECT_TRUE(AnsiSameText(list[index], n));
  }
}

}  // namespace
