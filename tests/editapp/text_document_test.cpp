#include "editapp/document/text_document.h"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <string>
#include <vector>

#include "editor/text/wrap_option.h"
#include "platform/native_file.h"
#include "platform/string_list.h"
#include "tests/editor/text/test_owner.h"
#include "tests/support/files.h"

namespace editapp {
namespace {

using editor::TLineEnd;
using test_support::ReadFile;
using test_support::TempDir;
using test_support::WriteFile;

struct Fixture {
  const char* name;
  std::string bytes;
};

std::string Bytes(const char* s, std::size_t n) {
  return std::string(s, n);
}

// The files a Shift-JIS editor meets, each to come back byte for byte.
std::vector<Fixture> RoundTripFixtures() {
  std::vector<Fixture> f = {
      {"empty", ""},
      {"CR LF", "abc\r\ndef\r\n"},
      {"LF", "abc\ndef\n"},
      {"CR", "abc\rdef\r"},
      {"CR LF without a final break", "abc\r\ndef"},
      {"LF without a final break", "abc\ndef"},
      {"CR without a final break", "abc\rdef"},
      {"one line, no break", "x"},
      {"a break alone", "\r\n"},
      {"empty lines only", "\n\n\n"},
      {"NUL bytes", Bytes("a\0b\r\n\0\r\n\0", 9)},
      {"0x80 0xA0 0xFD 0xFE 0xFF", "\x80\xA0\xFD\xFE\xFF\r\n\xFF"},
      {"a lone lead byte at the end", "abc\r\nde\x82"},
      {"the last lead byte alone before a break", "\xFC\r\n\x81\r\n"},
      {"NEC and IBM codes, user-defined and unassigned",
       "\x87\x90\xED\x40\xFA\x5C\xEE\xFC\xF0\x40\x85\x40\r\n"},
      {"second bytes that look like \\ and |", "\x95\x5C\x83\x7C\x89\x5C\r\n"},
      {"spaces and tabs at the ends", " \tx \t\r\n\t\r\n"},
      {"the end mark in the middle",
       "abc\r\nde\x1A"
       "after\r\nmore\x1A"},
      {"the end mark first",
       "\x1A"
       "abc"},
      {"the end mark right after a break", "abc\n\x1A"},
  };
  // Read-block boundaries of the line store: a CR LF parted by one, and a
  // line longer than a block.
  f.push_back({"CR LF across a read block", std::string(8191, 'x') + "\r\n" + "y\r\n"});
  f.push_back({"a line longer than a write piece", std::string((1 << 20) + 100, 'z') + "\n"});
  return f;
}

// Opens `bytes` as a file into the line view and saves it again, unchanged,
// with the rows cut at `wrap` columns (0: not wrapped).
std::string RoundTrip(const std::string& bytes, int wrap, bool keep_after_mark = true) {
  TempDir dir;
  const std::string path = (dir.path() / "text.txt").string();
  WriteFile(path, bytes);
  editor::testing::TestOwner owner;
  if (wrap > 0) {
    owner.rows.WrapOption().SetWrapByte(wrap);
    owner.rows.SetWordWrap(true);
  }
  TTextDocument document;
  document.Open(owner.lines, path);
  document.Save(owner.rows, path, keep_after_mark);
  return ReadFile(path);
}

TEST(TextDocument, OpenedAndSavedUnchangedIsByteForByteTheSame) {
  for (const Fixture& f : RoundTripFixtures()) {
    for (int wrap : {0, 20}) {
      EXPECT_EQ(RoundTrip(f.bytes, wrap), f.bytes) << f.name << ", wrapped at " << wrap;
    }
  }
}

TEST(TextDocument, ShapeOfTheOpenedFile) {
  struct Case {
    const char* name;
    std::string bytes;
    TLineEnd line_end;
    bool mixed;
    std::string after_mark;
    bool has_mark;
  };
  const Case cases[] = {
      {"no break: CR LF for what is added", "abc", TLineEnd::CrLf, false, "", false},
      {"LF", "a\nb\n", TLineEnd::Lf, false, "", false},
      {"CR", "a\rb", TLineEnd::Cr, false, "", false},
      {"LF first, then CR LF", "a\nb\r\nc\r\n", TLineEnd::Lf, true, "", false},
      {"a mixed break after the mark does not count", "a\r\nb\x1A\n\r", TLineEnd::CrLf, false,
       "\x1A\n\r", true},
      {"the mark alone", "\x1A", TLineEnd::CrLf, false, "\x1A", true},
  };
  for (const Case& c : cases) {
    TempDir dir;
    const std::string path = (dir.path() / "t.txt").string();
    WriteFile(path, c.bytes);
    editor::testing::TestOwner owner;
    TTextDocument document;
    document.Open(owner.lines, path);
    EXPECT_EQ(document.LineEnd(), c.line_end) << c.name;
    EXPECT_EQ(document.MixedLineEnds(), c.mixed) << c.name;
    EXPECT_EQ(document.HasEndMark(), c.has_mark) << c.name;
    EXPECT_EQ(document.AfterMark(), c.after_mark) << c.name;
    EXPECT_EQ(document.Path(), path) << c.name;
  }
}

TEST(TextDocument, MixedBreaksAreSavedInTheFirstLinesForm) {
  EXPECT_EQ(RoundTrip("a\r\nb\nc\rd\r\n", 0), "a\r\nb\r\nc\r\nd\r\n");
  EXPECT_EQ(RoundTrip("a\nb\r\nc\r", 0), "a\nb\nc\n");
  EXPECT_EQ(RoundTrip("a\rb\n\n", 0), "a\rb\r\r");
}

TEST(TextDocument, TheBytesAfterTheMarkGoOnlyWhenAskedTo) {
  EXPECT_EQ(RoundTrip("abc\r\nde\x1A"
                      "after",
                      0, false),
            "abc\r\nde");
  EXPECT_EQ(RoundTrip("abc\r\nde\x1A"
                      "after",
                      0, true),
            "abc\r\nde\x1A"
            "after");
}

TEST(TextDocument, EditedRowsAreWrittenInTheFilesForm) {
  TempDir dir;
  const std::string path = (dir.path() / "t.txt").string();
  WriteFile(path, "one\ntwo\n");
  editor::testing::TestOwner owner;
  TTextDocument document;
  document.Open(owner.lines, path);
  owner.lines.Insert(1, "new");
  owner.lines.Add("end");
  document.Save(owner.rows, path, true);
  EXPECT_EQ(ReadFile(path), "one\nnew\ntwo\nend\n");
}

TEST(TextDocument, WhatCannotBeOpenedLeavesTheLinesAsTheyWere) {
  TempDir dir;
  const std::string fifo = (dir.path() / "fifo").string();
  ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
  struct Case {
    const char* name;
    std::string path;
    int error;
  };
  const Case cases[] = {
      {"missing", (dir.path() / "missing.txt").string(), ENOENT},
      {"a folder", dir.path().string(), EISDIR},
      {"a pipe", fifo, EINVAL},
  };
  for (const Case& c : cases) {
    editor::testing::TestOwner owner;
    owner.lines.SetTextStr("kept\r\n");
    TTextDocument document;
    try {
      document.Open(owner.lines, c.path);
      ADD_FAILURE() << c.name << " opened";
    } catch (const platform::ENativeFileError& e) {
      EXPECT_EQ(e.ErrorNumber(), c.error) << c.name;
    }
    EXPECT_EQ(owner.lines.GetTextStr(), "kept\r\n") << c.name;
    EXPECT_TRUE(document.Path().empty()) << c.name;
  }
}

TEST(TextDocument, ANameWithoutACp932FormOpensAndSaves) {
  TempDir dir;
  // U+301C (wave dash) has no exact CP932 form; 😀 has none at all.
  const std::string path = (dir.path() / "\xE3\x80\x9C\xF0\x9F\x98\x80.txt").string();
  WriteFile(path, "abc\n");
  editor::testing::TestOwner owner;
  TTextDocument document;
  document.Open(owner.lines, path);
  EXPECT_EQ(owner.lines.GetTextStr(), "abc\r\n");
  owner.lines.Add("d");
  document.Save(owner.rows, path, true);
  EXPECT_EQ(ReadFile(path), "abc\nd\n");
}

// A save that cannot be completed leaves the old file whole and no
// temporary file behind.
void ExpectOldFileIntact(const TempDir& dir, const std::string& path, const std::string& old) {
  EXPECT_EQ(ReadFile(path), old);
  int entries = 0;
  for (const auto& entry : std::filesystem::directory_iterator(dir.path())) {
    (void)entry;
    ++entries;
  }
  EXPECT_EQ(entries, 1) << "a temporary file was left behind";
}

TEST(TextDocument, SaveIntoAReadOnlyFolderFailsWithTheOldFileIntact) {
  TempDir outer;
  const auto folder = outer.path() / "ro";
  std::filesystem::create_directory(folder);
  const std::string path = (folder / "t.txt").string();
  WriteFile(path, "old\r\n");
  chmod(outer.path().c_str(), 0755);
  chmod(path.c_str(), 0644);
  chmod(folder.c_str(), 0555);

  // The folder's permissions bind an ordinary user only, so the save runs
  // in a child process that is one (root gives its rights away first).
  const pid_t child = fork();
  ASSERT_GE(child, 0);
  if (child == 0) {
    if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) _exit(10);
    int code = 11;
    try {
      editor::TPointerStringList rows;
      rows.AppendRow("new", 0);
      TTextDocument document;
      document.Save(rows, path, true);
      code = 12;  // saved: the folder was not read-only after all
    } catch (const platform::ENativeFileError& e) {
      code = e.ErrorNumber() == EACCES ? 0 : 13;
    }
    _exit(code);
  }
  int status = 0;
  ASSERT_EQ(waitpid(child, &status, 0), child);
  ASSERT_TRUE(WIFEXITED(status));
  EXPECT_EQ(WEXITSTATUS(status), 0) << "10: could not drop rights, 12: saved, 13: other error";
  chmod(folder.c_str(), 0755);
  EXPECT_EQ(ReadFile(path), "old\r\n");
  EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder),
                          std::filesystem::directory_iterator()),
            1);
}

// A write that fails half way (as on a full disk): a file-size limit stops
// the temporary file, which binds root as well.
TEST(TextDocument, AWriteThatFailsHalfWayKeepsTheOldFile) {
  TempDir dir;
  const std::string path = (dir.path() / "t.txt").string();
  WriteFile(path, "old\n");
  editor::TPointerStringList rows;
  for (int i = 0; i < 3000; ++i) rows.AppendRow(std::string(100, 'x'), 0);

  struct rlimit saved;
  ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
  const auto old_handler = std::signal(SIGXFSZ, SIG_IGN);
  struct rlimit limited = saved;
  limited.rlim_cur = 64 * 1024;
  ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &limited), 0);
  TTextDocument document;
  int error = 0;
  try {
    document.Save(rows, path, true);
  } catch (const platform::ENativeFileError& e) {
    error = e.ErrorNumber();
  }
  setrlimit(RLIMIT_FSIZE, &saved);
  std::signal(SIGXFSZ, old_handler);
  EXPECT_EQ(error, EFBIG);
  EXPECT_TRUE(document.Path().empty()) << "a failed save named the document after the file";
  ExpectOldFileIntact(dir, path, "old\n");
}

TEST(TextDocument, SavingKeepsPermissionsAndWritesThroughALink) {
  TempDir dir;
  const std::string target = (dir.path() / "target.txt").string();
  const std::string link = (dir.path() / "link.txt").string();
  WriteFile(target, "old\n");
  chmod(target.c_str(), 0640);
  ASSERT_EQ(symlink("target.txt", link.c_str()), 0);

  editor::testing::TestOwner owner;
  TTextDocument document;
  document.Open(owner.lines, link);
  owner.lines.Add("new");
  document.Save(owner.rows, link, true);

  EXPECT_EQ(ReadFile(target), "old\nnew\n");
  EXPECT_TRUE(std::filesystem::is_symlink(link));
  struct stat st;
  ASSERT_EQ(stat(target.c_str(), &st), 0);
  EXPECT_EQ(st.st_mode & 07777, 0640u);
}

TEST(TextDocument, SavingIntoAFolderOrAMissingFolderFails) {
  TempDir dir;
  editor::TPointerStringList rows;
  rows.AppendRow("x", 0);
  TTextDocument document;
  for (const auto& [path, error] : {std::pair{dir.path().string(), EISDIR},
                                    std::pair{(dir.path() / "no" / "t.txt").string(), ENOENT}}) {
    try {
      document.Save(rows, path, true);
      ADD_FAILURE() << path << " saved";
    } catch (const platform::ENativeFileError& e) {
      EXPECT_EQ(e.ErrorNumber(), error) << path;
    }
  }
  EXPECT_TRUE(std::filesystem::is_empty(dir.path()));
}

}  // namespace
}  // namespace editapp
