#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "editor/text/editor_strings.h"
#include "editor/text/text_file_loader.h"
#include "editor/text/wrap_option.h"
#include "tests/editor/text/test_owner.h"

namespace editor {
namespace {

using testing::DescribeRows;
using testing::TestOwner;

// A file in a fresh folder of its own, removed with the fixture.
class LoadFromFileTest : public ::testing::Test {
 protected:
  LoadFromFileTest() {
    dir_ = std::filesystem::temp_directory_path() /
           ("pirukko_load_" + std::to_string(::getpid()) + "_" + std::to_string(++counter_));
    std::filesystem::create_directories(dir_);
  }
  ~LoadFromFileTest() override { std::filesystem::remove_all(dir_); }

  std::string Write(const std::string& bytes) {
    const std::filesystem::path path = dir_ / "text.txt";
    std::ofstream(path, std::ios::binary).write(bytes.data(), bytes.size());
    return path.string();
  }

  TestOwner owner;

 private:
  std::filesystem::path dir_;
  static inline int counter_ = 0;
};

// The rows a file must give, worked out byte by byte.
std::string ExpectedRows(const std::string& bytes) {
  std::string out, line;
  bool open = false;
  for (std::size_t i = 0; i < bytes.size() && bytes[i] != '\x1A'; ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      out += line + "|";
      line.clear();
      open = false;
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
      open = true;
    }
  }
  if (open) out += line + "$";
  return out;
}

TEST_F(LoadFromFileTest, LineBreaksEndMarkAndNulBytes) {
  struct Case {
    std::string bytes;
    std::string rows;
  };
  const Case cases[] = {
      {"a\r\nb\x1Amore\r\n", "a|b$"},
      {"", ""},
      {"\x1A"
       "abc",
       ""},
      {"a\r\n", "a|"},
      {"a\n\rb", "a||b$"},
      {"a\rb\nc\r\n", "a|b|c|"},
      {"\r\n\r\n", "||"},
      {std::string("a\0b\r\n\0", 6), std::string("a\0b|\0$", 6)},  // NUL is an ordinary byte
  };
  for (const Case& c : cases) {
    owner.lines.Add("old");
    owner.lines.LoadFromFile(Write(c.bytes));
    EXPECT_EQ(DescribeRows(owner.rows), c.rows);
    EXPECT_EQ(ExpectedRows(c.bytes), c.rows);
    EXPECT_FALSE(owner.rows.CanUndo());
  }
}

TEST_F(LoadFromFileTest, AFileThatCannotBeOpenedLeavesTheEditorEmpty) {
  owner.lines.Add("old");
  EXPECT_THROW(owner.lines.LoadFromFile(Write("x") + ".missing"), platform::EFOpenError);
  EXPECT_EQ(owner.rows.GetCount(), 0);
  EXPECT_EQ(owner.events, (std::vector<std::string>{"begin", "end"}));  // the update closed
}

TEST_F(LoadFromFileTest, LoadedLinesAreWrappedAndShown) {
  owner.rows.WrapOption().SetWrapByte(20);
  owner.rows.SetWordWrap(true);
  owner.client.full_repaints = 0;
  owner.client.changes.clear();
  owner.lines.LoadFromFile(Write(std::string(30, 'a') + "\r\nb"));
  EXPECT_EQ(DescribeRows(owner.rows), std::string(20, 'a') + "~" + std::string(10, 'a') + "|b$");
  EXPECT_EQ(owner.rows.BracketStates(2), -1);
  EXPECT_EQ(owner.client.changes.size(), 1u);
  EXPECT_GE(owner.client.full_repaints, 1);
  // Edits of rows that point into the loaded block.
  owner.lines.Put(0, "x");
  owner.lines.Add("c");
  EXPECT_EQ(owner.lines.Text(), "x\r\nb\r\nc");
  owner.rows.SetWordWrap(false);
  EXPECT_EQ(owner.lines.Text(), "x\r\nb\r\nc");
}

// Every line break form, an empty line, the end mark and an unterminated
// last line, slid across a read boundary one byte at a time, with tiny
// blocks and with one of a few dozen bytes.
TEST_F(LoadFromFileTest, ReadBoundariesNeverChangeTheRows) {
  const std::string tails[] = {
      "ab\r\ncd\ref\ngh\n\rij\r\n\r\nkl",  // unterminated last line
      "ab\r\n\r\ncd\r",                    // ends with a lone CR
      "ab\r\ncd\x1A"
      "ef\r\n",            // the end mark
      "\x82\xA0\r\n\x1A",  // a double-byte character, the mark after a break
  };
  struct Run {
    std::size_t block;
    std::size_t from, to;  // the padding lengths tried
  };
  const Run runs[] = {{1, 0, 3}, {2, 0, 5}, {3, 0, 7}, {7, 0, 15}, {64, 40, 68}};
  for (const std::string& tail : tails) {
    for (const Run& run : runs) {
      owner.lines.SetLoadBlockSize(run.block);
      for (std::size_t pad = run.from; pad <= run.to; ++pad) {
        const std::string bytes = std::string(pad, 'p') + tail;
        const std::string path = Write(bytes);
        owner.lines.LoadFromFile(path);
        ASSERT_EQ(DescribeRows(owner.rows), ExpectedRows(bytes))
            << "block " << run.block << ", padding " << pad;
        // The count that sizes the rows must be exact too.
        ASSERT_EQ(CountTextFileLines(path, run.block), owner.rows.GetCount())
            << "block " << run.block << ", padding " << pad;
        // A file of line breaks only, and the same with a first empty line.
        const std::string breaks = std::string(pad, '\n') + tail;
        const std::string breaks_path = Write(breaks);
        owner.lines.LoadFromFile(breaks_path);
        ASSERT_EQ(DescribeRows(owner.rows), ExpectedRows(breaks))
            << "block " << run.block << ", breaks " << pad;
        ASSERT_EQ(CountTextFileLines(breaks_path, run.block), owner.rows.GetCount())
            << "block " << run.block << ", breaks " << pad;
      }
    }
  }
}

// Files of more than one read with the real block: one of several megabytes
// (its block is mapped on its own), and one whose end mark stands after the
// first read, far before its end.
TEST_F(LoadFromFileTest, LargeFilesLoadWhole) {
  std::string big;
  for (int i = 0; big.size() < 3 * kLoadBlockSize; ++i)
    big += std::to_string(i) + std::string(i % 97, '\x82') + (i % 5 == 0 ? "\n" : "\r\n");
  big += "tail";
  owner.lines.LoadFromFile(Write(big));
  ASSERT_EQ(DescribeRows(owner.rows), ExpectedRows(big));

  const std::string marked =
      std::string(kLoadBlockSize + 10, 'a') + "\r\nb\x1A" + std::string(4 * kLoadBlockSize, 'z');
  TTextFileNotes notes;
  owner.lines.LoadFromFile(Write(marked), &notes);
  EXPECT_EQ(DescribeRows(owner.rows), ExpectedRows(marked));
  EXPECT_TRUE(notes.EndMark);
  EXPECT_EQ(notes.DataSize, kLoadBlockSize + 13);
}

// A file that tells no length in advance (a pipe) is read to its end all the
// same, the block growing as the bytes come.
TEST_F(LoadFromFileTest, AFileWithoutALengthIsReadToItsEnd) {
  const std::string path = Write("") + ".pipe";
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  std::string bytes;
  for (int i = 0; i < 300; ++i) bytes += "line " + std::to_string(i) + "\r\n";
  bytes += "last";
  std::thread writer([&] { std::ofstream(path, std::ios::binary) << bytes; });
  owner.lines.SetLoadBlockSize(7);
  owner.lines.LoadFromFile(path);
  writer.join();
  EXPECT_EQ(DescribeRows(owner.rows), ExpectedRows(bytes));
}

TEST_F(LoadFromFileTest, RowsCanBeLoadedIntoAPlainRowList) {
  TEditorStringList rows;
  rows.Add("kept");
  LoadTextFile(rows, Write("a\r\nb"), 1);
  EXPECT_EQ(DescribeRows(rows), "kept|a|b$");
  EXPECT_THROW(LoadTextFile(rows, Write("") + ".missing"), platform::EFOpenError);
  EXPECT_EQ(rows.GetCount(), 3);
}

}  // namespace
}  // namespace editor
