#include "editor/text/gap_buffer.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <vector>

namespace editor {
namespace {

template <typename T>
std::vector<T> Contents(const GapBuffer<T>& b) {
  std::vector<T> out;
  b.for_each(0, b.size(), [&](const T& v) { out.push_back(v); });
  return out;
}

TEST(GapBufferTest, InsertsAndErasesAtEitherSideOfTheGap) {
  GapBuffer<int> b;
  for (int i = 0; i < 5; ++i) b.push_back(i);  // 0 1 2 3 4
  b.insert(0, 10);                             // gap moves to the front
  b.insert(6, 20);                             // and back to the end
  b.insert(3, 30);
  EXPECT_EQ(Contents(b), (std::vector<int>{10, 0, 1, 30, 2, 3, 4, 20}));
  b.erase(1, 3);
  EXPECT_EQ(Contents(b), (std::vector<int>{10, 2, 3, 4, 20}));
  b.erase(4, 1);
  b.erase(0, 1);
  EXPECT_EQ(Contents(b), (std::vector<int>{2, 3, 4}));
  EXPECT_EQ(b[1], 3);
  b.insert_default(1, 2);
  EXPECT_EQ(Contents(b), (std::vector<int>{2, 0, 0, 3, 4}));
}

TEST(GapBufferTest, RejectsPositionsOutsideTheSequence) {
  GapBuffer<int> b;
  b.push_back(1);
  EXPECT_THROW(b.insert(2, 0), std::out_of_range);
  EXPECT_THROW(b.erase(0, 2), std::out_of_range);
  EXPECT_THROW(b.erase(2, 0), std::out_of_range);
  EXPECT_THROW(b.at(1), std::out_of_range);
  EXPECT_EQ(b.size(), 1u);
}

TEST(GapBufferTest, ReservedRoomTakesAppendsWithoutGrowing) {
  GapBuffer<int> b;
  b.reserve(1000);
  const std::size_t cap = b.capacity();
  for (int i = 0; i < 1000; ++i) b.push_back(i);
  EXPECT_EQ(b.capacity(), cap);
  EXPECT_EQ(b[999], 999);
}

TEST(GapBufferTest, ErasedElementsReleaseWhatTheyOwn) {
  auto shared = std::make_shared<int>(7);
  {
    GapBuffer<std::shared_ptr<int>> b;
    for (int i = 0; i < 4; ++i) b.push_back(shared);
    EXPECT_EQ(shared.use_count(), 5);
    b.erase(1, 2);
    EXPECT_EQ(shared.use_count(), 3);
    b.insert(0, shared);  // moves the gap across the erased slots
    EXPECT_EQ(shared.use_count(), 4);
  }
  EXPECT_EQ(shared.use_count(), 1);
}

TEST(GapBufferTest, RandomEditsMatchAVector) {
  std::mt19937 rng(1234);
  GapBuffer<int> b;
  std::vector<int> ref;
  for (int step = 0; step < 5000; ++step) {
    const int op = rng() % 3;
    const std::size_t pos = rng() % (ref.size() + 1);
    if (op < 2) {
      const std::size_t count = rng() % 4;
      b.insert_default(pos, count);
      ref.insert(ref.begin() + pos, count, 0);
      for (std::size_t i = 0; i < count; ++i) {
        b[pos + i] = step;
        ref[pos + i] = step;
      }
    } else if (pos < ref.size()) {
      const std::size_t count = 1 + rng() % std::min<std::size_t>(3, ref.size() - pos);
      b.erase(pos, count);
      ref.erase(ref.begin() + pos, ref.begin() + pos + count);
    }
    ASSERT_EQ(b.size(), ref.size());
  }
  EXPECT_EQ(Contents(b), ref);
  GapBuffer<int> moved(std::move(b));
  EXPECT_EQ(Contents(moved), ref);
  EXPECT_TRUE(b.empty());
}

}  // namespace
}  // namespace editor
