// A regular file held open for reading: reads at any offset, and what is no
// regular file is refused at once, never waited for.
#include "platform/native_file.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

class OpenedFile : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("opened_file_test_" + std::to_string(getpid()));
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  fs::path dir_;
};

TEST_F(OpenedFile, ReadsFromAnyOffsetAndFewerBytesAtTheEnd) {
  const fs::path path = dir_ / "ten.bin";
  std::ofstream(path, std::ios::binary) << "0123456789";
  const platform::TOpenedFile file(path.string());
  EXPECT_EQ(file.Size(), 10u);
  std::vector<std::uint8_t> buffer(8, 0);
  const struct {
    std::uint64_t offset;
    std::size_t wanted;
    std::string read;
  } cases[] = {
      {0, 4, "0123"}, {6, 4, "6789"},  // the last byte
      {8, 8, "89"},   {10, 4, ""},     // from the end
      {1000, 4, ""},  {3, 0, ""},
  };
  for (const auto& c : cases) {
    const std::size_t n = file.ReadAt(c.offset, buffer.data(), c.wanted);
    EXPECT_EQ(std::string(buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(n)), c.read)
        << "at " << c.offset;
  }
}

TEST_F(OpenedFile, RefusesWhatIsNoRegularFile) {
  const fs::path fifo = dir_ / "pipe";
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  const struct {
    fs::path path;
    int error;
  } cases[] = {{dir_, EISDIR}, {fifo, EINVAL}, {dir_ / "missing", ENOENT}};
  for (const auto& c : cases) {
    try {
      const platform::TOpenedFile file(c.path.string());
      ADD_FAILURE() << c.path << " was opened";
    } catch (const platform::ENativeFileError& e) {
      EXPECT_EQ(e.ErrorNumber(), c.error) << c.path;
    }
  }
}

}  // namespace
