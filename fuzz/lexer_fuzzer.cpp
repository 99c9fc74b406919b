// The colouring lexer over arbitrary rows, bare and with an owner whose
// settings come from the input: the tokens lie in order inside the row with
// only blanks between them, each holds at least one byte, none starts on the
// trail byte of a double-byte character, and scanning stops at the first
// line end or NUL.
#include <cstdint>
#include <string>
#include <vector>

#include "editor/colour/parser.h"
#include "editor/text/dbcs.h"
#include "fuzz/fuzz_support.h"
#include "tests/editor/text/test_client.h"

namespace {

using editor::TEditorParser;

// Bytes the lexer skips between tokens, and those that end its scan.
bool IsBlank(unsigned char b) {
  return (b >= 0x01 && b <= 0x08) || (b >= 0x0A && b <= 0x20);
}
bool IsLineEnd(unsigned char b) {
  return b == 0 || b == '\n' || b == '\r';
}

// Settings the information window and the usual file kinds use, ASCII and
// Japanese alike.
const char* const kQuotes[] = {"", "\"", "'", "`"};
const char* const kCommenters[] = {"", "//", ";", "#", "--", "rem", "\x81\x96"};
const char* const kHexPrefixes[] = {"", "0x", "$", "&H", "#"};
const std::pair<const char*, const char*> kBrackets[] = {
    {"/*", "*/"},
    {"(*", "*)"},
    {"{", "}"},
    {"<!--", "-->"},
    {"\"", "\""},
    {"[", "]"},
    {"\x81\x75", "\x81\x76"},  // 「 」
    {"\x81\x79", "\x81\x7A"},  // 【 】
};

void CheckTokens(TEditorParser& parser, std::string_view row) {
  const auto* bytes = reinterpret_cast<const unsigned char*>(row.data());
  const int size = static_cast<int>(row.size());
  // The trail bytes of the row, found once by walking it from its start.
  std::vector<bool> trail(row.size() + 1, false);
  for (std::size_t b = 0; b < row.size(); ++b)
    if (editor::IsLeadByte(row[b])) trail[++b] = true;
  int end = 0;  // where the last token ended
  int tokens = 0;
  for (; parser.Token() != editor::tkEnd; parser.NextToken()) {
    FUZZ_CHECK(++tokens <= size);
    const int start = parser.SourcePos();
    const int length = parser.TokenLength();
    FUZZ_CHECK(length >= 1);
    FUZZ_CHECK(start >= end);
    FUZZ_CHECK(start + length <= size);
    FUZZ_CHECK(parser.TokenView() == row.substr(start, length));
    for (int i = end; i < start; ++i) FUZZ_CHECK(IsBlank(bytes[i]));
    FUZZ_CHECK(!trail[start]);
    end = start + length;
  }
  // After the last token only blanks, then the end of the row or a line end.
  int p = end;
  while (p < size && IsBlank(bytes[p])) ++p;
  FUZZ_CHECK(p == size || IsLineEnd(bytes[p]));
  FUZZ_CHECK(parser.BracketState() >= editor::kBracketsUnknown);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  const bool bare = in.Bool();
  editor::testing::TestClient owner;
  editor::TEditorViewInfo& view = owner.view;
  view.SetMail(in.Bool());
  view.SetUrl(in.Bool());
  view.SetControlCode(in.Bool());
  view.SetQuotation(kQuotes[in.Below(std::size(kQuotes))]);
  view.SetCommenter(kCommenters[in.Below(std::size(kCommenters))]);
  view.SetHexPrefix(kHexPrefixes[in.Below(std::size(kHexPrefixes))]);
  const int bracket_count = in.Below(4);
  for (int i = 0; i < bracket_count; ++i) {
    const auto& [left, right] = kBrackets[in.Below(std::size(kBrackets))];
    editor::TEditorBracketItem* item = view.Brackets().Add();
    item->SetLeftBracket(left);
    item->SetRightBracket(right);
  }
  // The state the row starts in: regions unknown, none open, or one open
  // (also one that no longer exists).
  const int state = in.Below(bracket_count + 3) - 2;
  const std::string row = in.Rest();

  if (bare) {
    TEditorParser parser(row);
    CheckTokens(parser, row);
  } else {
    TEditorParser parser(&owner, row, state);
    CheckTokens(parser, row);
    // The same lexer started over on the row gives the same tokens.
    parser.Reset(row, state);
    CheckTokens(parser, row);
  }
  return 0;
}
