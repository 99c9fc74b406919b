#include "editor/text/split_lines.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/string_list.h"

namespace {

std::vector<std::string> Lines(const platform::TStrings& list) {
  std::vector<std::string> lines;
  for (int i = 0; i < list.Count(); ++i) lines.push_back(list[i]);
  return lines;
}

TEST(SplitLines, EveryLineBreakForm) {
  using L = std::vector<std::string>;
  struct Case {
    std::string text;
    L lines;
  } cases[] = {
      {"a\r\nb", L{"a", "b"}},
      {"a\r\n", L{"a"}},
      {"a\rb", L{"a", "b"}},
      {"a\nb", L{"a", "b"}},
      {"a\n\rb", L{"a", "", "b"}},  // LF then CR: two line ends
      {"", L{}},
      {"\r\n", L{""}},
      {"\r\n\r\n", L{"", ""}},
      {"a\r\r\n", L{"a", ""}},
      {"a\rb\rc\r", L{"a", "b", "c"}},  // lone CRs add lines beyond the presized count
      {std::string("a\0b\r\nc", 6), L{std::string("a\0b", 3), "c"}},  // NUL cuts nothing off
      {"\x82\x0d\n", L{"\x82"}},  // a line break is never a trail byte
  };
  for (const auto& c : cases) {
    platform::TStringList list;
    list.Add("old");
    editor::SplitLines(c.text, list);
    EXPECT_EQ(Lines(list), c.lines) << c.text;
  }
}

TEST(SplitLines, OneUpdateAndOneChange) {
  platform::TStringList list;
  int changes = 0;
  list.OnChange = [&](platform::TObject*) { ++changes; };
  editor::SplitLines("a\r\nb\rc", list);
  EXPECT_EQ(changes, 1);
  EXPECT_EQ(list.UpdateCount(), 0);
}

TEST(SplitLines, PresizedCountNeverExceedsTheLines) {
  const std::string texts[] = {"", "a", "a\n", "a\r\n", "\n\n", "a\rb", "a\n\rb\n", "\r"};
  for (const auto& text : texts) {
    int lines = 0;
    editor::ForEachLine(text, [&](std::string_view) { ++lines; });
    EXPECT_LE(editor::PresizedLineCount(text), lines) << text;
    if (text.find('\r') == std::string::npos) {
      EXPECT_EQ(editor::PresizedLineCount(text), lines);
    }
  }
}

TEST(SplitLines, ManyLoneCrsStayLinear) {
  // A text of lone CRs followed by one far LF: each line must not search
  // the whole rest of the text again.
  std::string text;
  for (int i = 0; i < 200000; ++i) text += "ab\r";
  text += "\n";
  int lines = 0;
  editor::ForEachLine(text, [&](std::string_view line) {
    if (!line.empty()) ++lines;
  });
  EXPECT_EQ(lines, 200000);
}

}  // namespace
