// Loading arbitrary bytes as a text file, with blocks of several sizes
// around the loader's own and small ones that put every line break across a
// block boundary. The text read is the bytes before the first 0x1A with CR
// LF, a lone CR and a lone LF each one line break, and nothing else changed.
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "editor/text/text_file_loader.h"
#include "fuzz/fuzz_support.h"
#include "tests/editor/text/test_owner.h"

namespace {

using editor::TRowEndKind;

struct Line {
  std::string text;
  TRowEndKind kind;
  bool operator==(const Line&) const = default;
};

// The lines the rules make of `bytes`, written out plainly.
std::vector<Line> ExpectedLines(std::string_view bytes) {
  bytes = bytes.substr(0, bytes.find('\x1A'));
  std::vector<Line> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = bytes[i];
    if (c == '\r' || c == '\n') {
      lines.push_back({line, editor::rkReturn});
      line.clear();
      if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
    } else {
      line += c;
    }
  }
  if (!line.empty()) lines.push_back({line, editor::rkEof});
  return lines;
}

std::vector<Line> RowsOf(const editor::TPointerStringList& rows) {
  std::vector<Line> lines;
  for (int i = 0; i < rows.GetCount(); ++i)
    lines.push_back({std::string(rows.RowText(i)), rows.EndKinds(i)});
  return lines;
}

// One file for the whole run, rewritten for every input.
const std::string& ScratchFile() {
  static const std::string path = [] {
    std::string name = "/tmp/pirukko-load-fuzz-XXXXXX";
    const int fd = mkstemp(name.data());
    FUZZ_CHECK(fd >= 0);
    close(fd);
    return name;
  }();
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string& path = ScratchFile();
  {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size());
    std::fclose(file);
  }
  const std::vector<Line> expected = ExpectedLines(bytes);
  std::string expected_text;
  for (const Line& line : expected)
    expected_text += line.text + (line.kind == editor::rkReturn ? "\r\n" : "");

  const std::size_t block = editor::kLoadBlockSize;
  for (const std::size_t block_size :
       {std::size_t{1}, std::size_t{2}, std::size_t{3}, std::size_t{7}, std::size_t{64}, block - 1,
        block, block + 1}) {
    editor::testing::TestOwner owner;
    owner.lines.SetLoadBlockSize(block_size);
    owner.lines.LoadFromFile(path);
    FUZZ_CHECK(RowsOf(owner.rows) == expected);
    FUZZ_CHECK(owner.lines.Text() == expected_text);
    FUZZ_CHECK(editor::CountTextFileLines(path, block_size) ==
               static_cast<long long>(expected.size()));
    FUZZ_CHECK(!owner.rows.CanUndo());
  }
  return 0;
}
