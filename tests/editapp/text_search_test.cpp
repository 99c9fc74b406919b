#include "editapp/document/text_search.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/cp932.h"

namespace editapp {
namespace {

using editor::rkEof;
using editor::rkReturn;
using editor::rkWrap;

struct Row {
  std::string text;
  editor::TRowEndKind kind;
};

std::unique_ptr<editor::TPointerStringList> Rows(const std::vector<Row>& rows) {
  auto list = std::make_unique<editor::TPointerStringList>();
  for (const Row& r : rows) {
    list->AppendRow(r.text, 0);
    list->SetEndKinds(list->GetCount() - 1, r.kind);
  }
  return list;
}

std::string Sjis(const char* utf8) {
  return *platform::Utf8ToCp932(utf8);
}

// Offsets count CR LF after every line end as two bytes, and nothing
// between the rows of a wrapped line.
TEST(TextSearch, ForwardAndBackwardOverLinesAndWrappedRows) {
  // "abc" CR LF "xyAB" (wrapped after "xy") CR LF "ab"
  const auto rows_ptr = Rows({{"abc", rkReturn}, {"xy", rkWrap}, {"AB", rkReturn}, {"ab", rkEof}});
  struct Case {
    const char* pattern;
    bool forward;
    int from;
    std::optional<int> offset;
  };
  const Case cases[] = {
      {"ab", true, 0, 0},   // at the very start
      {"ab", true, 1, 7},   // case folded, across the wrap ("xyAB" starts at 5)
      {"yA", true, 0, 6},   // a match that spans the wrapped rows
      {"ab", true, 8, 11},  // the last line
      {"ab", true, 12, std::nullopt},
      {"c\r", true, 0, std::nullopt},  // never across a line break
      {"ab", false, 13, 11},
      {"ab", false, 11, 7},  // starts before, not at
      {"ab", false, 7, 0},
      {"ab", false, 0, std::nullopt},
      {"", true, 0, std::nullopt},
  };
  for (const Case& c : cases) {
    const auto match = c.forward ? FindForward(*rows_ptr, c.pattern, c.from)
                                 : FindBackward(*rows_ptr, c.pattern, c.from);
    ASSERT_EQ(match.has_value(), c.offset.has_value())
        << c.pattern << (c.forward ? " forward from " : " backward before ") << c.from;
    if (match) {
      EXPECT_EQ(match->Offset, *c.offset) << c.pattern << " from " << c.from;
      EXPECT_EQ(match->Length, static_cast<int>(std::string_view(c.pattern).size()));
    }
  }
}

TEST(TextSearch, DoubleByteCharactersAreWholeAndExact) {
  // 表 is 0x95 0x5C and ソ 0x83 0x5C: their second bytes look like "\".
  // ア is 0x83 0x41, whose second byte looks like "A" and must not fold to "a".
  const std::string line = Sjis("表ソアa\\");
  const auto rows_ptr = Rows({{line, rkEof}});
  EXPECT_EQ(FindForward(*rows_ptr, "\\", 0)->Offset, 7);  // not inside 表 or ソ
  EXPECT_EQ(FindBackward(*rows_ptr, "\\", 8)->Offset, 7);
  EXPECT_EQ(FindForward(*rows_ptr, "a", 0)->Offset, 6);  // not the second byte of ア
  EXPECT_EQ(FindForward(*rows_ptr, "A", 0)->Offset, 6);
  EXPECT_EQ(FindForward(*rows_ptr, Sjis("ア"), 0)->Offset, 4);
  EXPECT_FALSE(FindForward(*rows_ptr, std::string("\x83\x61"), 0));  // ア's second byte, folded
  EXPECT_EQ(FindForward(*rows_ptr, Sjis("ソア"), 0)->Offset, 2);
}

TEST(TextSearch, EmptyRowsAndNoRows) {
  EXPECT_FALSE(FindForward(*Rows({}), "a", 0));
  EXPECT_FALSE(FindBackward(*Rows({}), "a", 10));
  const auto rows_ptr = Rows({{"", rkReturn}, {"", rkReturn}, {"a", rkReturn}});
  EXPECT_EQ(FindForward(*rows_ptr, "a", 0)->Offset, 4);
  EXPECT_EQ(FindBackward(*rows_ptr, "a", 100)->Offset, 4);
}

}  // namespace
}  // namespace editapp
