#include "editor/text/line_end_scan.h"

#include <gtest/gtest.h>

#include "editor/text/text_file_loader.h"
#include "tests/support/files.h"

#include <string>
#include <vector>

namespace editor {
namespace {

struct Case {
  const char* name;
  std::string text;
  std::optional<TLineEnd> first;
  bool mixed;
};

// Every way of cutting `text` into two pieces gives what the whole gives,
// so a CR LF parted by a read boundary still counts as one break.
void ExpectScan(const Case& c) {
  for (std::size_t cut = 0; cut <= c.text.size(); ++cut) {
    TLineEndScan scan;
    scan.Feed(std::string_view(c.text).substr(0, cut));
    scan.Feed(std::string_view(c.text).substr(cut));
    scan.Finish();
    EXPECT_EQ(scan.First(), c.first) << c.name << " cut at " << cut;
    EXPECT_EQ(scan.Mixed(), c.mixed) << c.name << " cut at " << cut;
  }
}

TEST(LineEndScan, FirstFormAndMixing) {
  const std::vector<Case> cases = {
      {"no text", "", std::nullopt, false},
      {"no break", "abc", std::nullopt, false},
      {"CR LF", "a\r\nb\r\n", TLineEnd::CrLf, false},
      {"LF", "a\nb\nc", TLineEnd::Lf, false},
      {"CR", "a\rb\r", TLineEnd::Cr, false},
      {"CR at the very end", "abc\r", TLineEnd::Cr, false},
      {"CR LF then a lone LF", "a\r\nb\n", TLineEnd::CrLf, true},
      {"LF then CR LF", "a\nb\r\n", TLineEnd::Lf, true},
      {"CR LF then a lone CR at the end", "a\r\nb\r", TLineEnd::CrLf, true},
      {"LF CR is two breaks", "a\n\rb", TLineEnd::Lf, true},
      {"CR CR LF", "\r\r\n", TLineEnd::Cr, true},
      {"empty lines of CR LF", "\r\n\r\n\r\n", TLineEnd::CrLf, false},
      {"a break after NUL and high bytes", std::string("\0\x82\r\n\xFF\r\n", 7), TLineEnd::CrLf,
       false},
  };
  for (const Case& c : cases) ExpectScan(c);
}

TEST(LineEndScan, ManyPiecesOfOneByte) {
  // A mixed break far into a long text, fed byte by byte and in one piece.
  std::string text;
  for (int i = 0; i < 1000; ++i) text += "line\r\n";
  text += "odd\n";
  for (int i = 0; i < 300; ++i) text += "line\r\n";
  TLineEndScan bytewise;
  for (char c : text) bytewise.Feed(std::string_view(&c, 1));
  bytewise.Finish();
  TLineEndScan whole;
  whole.Feed(text);
  whole.Finish();
  for (const TLineEndScan* scan : {&bytewise, &whole}) {
    EXPECT_EQ(scan->First(), TLineEnd::CrLf);
    EXPECT_TRUE(scan->Mixed());
  }
}

// The loader's first pass notes the same, whatever its block size: a CR LF
// or the end mark may fall on a block boundary.
TEST(LineEndScan, TheLoaderNotesTheBreaksAndTheMarkAtEveryBlockSize) {
  struct File {
    std::string bytes;
    TLineEnd first;
    bool mixed;
    bool mark;
    std::uint64_t data_size;
  };
  const File files[] = {
      {"ab\r\ncd\r\n", TLineEnd::CrLf, false, false, 8},
      {"ab\r\ncd\nef", TLineEnd::CrLf, true, false, 9},
      {"ab\ncd\x1A\r\nrest\r", TLineEnd::Lf, false, true, 5},
      {"ab\r\x1A\n", TLineEnd::Cr, false, true, 3},
  };
  test_support::TempDir dir;
  const std::string path = (dir.path() / "t.txt").string();
  for (const File& f : files) {
    test_support::WriteFile(path, f.bytes);
    for (std::size_t block = 1; block <= f.bytes.size() + 1; ++block) {
      TPointerStringList rows;
      TTextFileNotes notes;
      LoadTextFile(rows, path, block, &notes);
      EXPECT_EQ(notes.LineEnds.First(), f.first) << f.bytes << " in blocks of " << block;
      EXPECT_EQ(notes.LineEnds.Mixed(), f.mixed) << f.bytes << " in blocks of " << block;
      EXPECT_EQ(notes.EndMark, f.mark) << f.bytes << " in blocks of " << block;
      EXPECT_EQ(notes.DataSize, f.data_size) << f.bytes << " in blocks of " << block;
    }
  }
}

TEST(LineEndScan, NamesAndBytes) {
  EXPECT_EQ(LineEndBytes(TLineEnd::CrLf), "\r\n");
  EXPECT_EQ(LineEndBytes(TLineEnd::Lf), "\n");
  EXPECT_EQ(LineEndBytes(TLineEnd::Cr), "\r");
  EXPECT_EQ(LineEndName(TLineEnd::CrLf), "CR+LF");
  EXPECT_EQ(LineEndName(TLineEnd::Lf), "LF");
  EXPECT_EQ(LineEndName(TLineEnd::Cr), "CR");
}

}  // namespace
}  // namespace editor
