#include "platform/temporary_file.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <string>
#include <vector>

#include "tests/support/files.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::string> Entries(const fs::path& dir) {
  std::vector<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.push_back(e.path().filename().string());
  return names;
}

class TemporaryFileTest : public ::testing::Test {
 protected:
  test_support::TempDir temp_{"pirukko-temporary"};
  const fs::path dir_ = temp_.path();
  const std::string target_ = (dir_ / "a.txt").string();
};

TEST_F(TemporaryFileTest, TakesItsNameOnlyOnceCompleteAndReplacesWhatWasThere) {
  test_support::WriteFile(target_, "old");
  platform::TemporaryFile file;
  ASSERT_TRUE(file.Create((dir_ / ".a.txt.tmp-").string()));
  EXPECT_TRUE(file.Path().starts_with((dir_ / ".a.txt.tmp-").string()));
  EXPECT_EQ(file.Path().size(), (dir_ / ".a.txt.tmp-").string().size() + 6);
  ASSERT_TRUE(file.Write("new ", 4));
  ASSERT_TRUE(file.Write("bytes", 5));
  EXPECT_EQ(test_support::ReadFile(target_), "old");  // untouched until it is complete
  ASSERT_TRUE(file.Close());
  ASSERT_TRUE(file.MoveTo(target_));
  EXPECT_EQ(test_support::ReadFile(target_), "new bytes");
  EXPECT_EQ(Entries(dir_), std::vector<std::string>{"a.txt"});
}

TEST_F(TemporaryFileTest, OneThatNeverGetsItsNameLeavesNothing) {
  test_support::WriteFile(target_, "old");
  {
    platform::TemporaryFile file;
    ASSERT_TRUE(file.Create((dir_ / ".tmp-").string()));
    ASSERT_TRUE(file.Write("half", 4));
  }
  {
    // A failed move keeps the temporary file until it is discarded.
    platform::TemporaryFile file;
    ASSERT_TRUE(file.Create((dir_ / ".tmp-").string()));
    ASSERT_TRUE(file.Close());
    EXPECT_FALSE(file.MoveTo((dir_ / "missing" / "a.txt").string()));
    EXPECT_EQ(errno, ENOENT);
    EXPECT_EQ(Entries(dir_).size(), 2u);
  }
  EXPECT_EQ(Entries(dir_), std::vector<std::string>{"a.txt"});
  EXPECT_EQ(test_support::ReadFile(target_), "old");

  platform::TemporaryFile nowhere;
  EXPECT_FALSE(nowhere.Create((dir_ / "missing" / ".tmp-").string()));
  EXPECT_EQ(errno, ENOENT);
  EXPECT_FALSE(nowhere.IsOpen());
}

}  // namespace
