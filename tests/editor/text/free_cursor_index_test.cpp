#include "editor/text/free_cursor_index.h"

#include <gtest/gtest.h>

#include <set>

namespace {

TEST(GetFreeCursorIndex, FirstSlotStillHoldingTheDefault) {
  std::set<int> taken = {1, 2, 4};
  EXPECT_EQ(editor::GetFreeCursorIndex([&](int i) { return !taken.count(i); }), 3);
  EXPECT_EQ(editor::GetFreeCursorIndex([](int) { return true; }), 1);
  EXPECT_EQ(editor::GetFreeCursorIndex([](int i) { return i == 32767; }), 32767);
  EXPECT_EQ(editor::GetFreeCursorIndex([](int) { return false; }), -1);
}

}  // namespace
