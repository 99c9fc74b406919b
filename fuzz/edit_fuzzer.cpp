// Random edits through ReplaceRows and the line view, with word wrap on or
// off: after every edit the rows keep their invariants, a replacement of rows
// leaves the text it describes with every line break it was given, and the
// rows equal a fresh wrap of the text (with word wrap on once the text is
// wrapped whole again); undoing every step brings back the first text and
// rows exactly, and redoing every step the last ones.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "editor/text/screen_strings.h"
#include "editor/text/wrap_option.h"
#include "fuzz/fuzz_support.h"
#include "tests/editor/text/crlf_text.h"
#include "tests/editor/text/test_owner.h"

namespace {

using editor::TEditorScreenStrings;
using editor::testing::TestOwner;

struct Row {
  std::string text;
  editor::TRowEndKind kind;
  bool operator==(const Row&) const = default;
};

std::vector<Row> RowsOf(const editor::TPointerStringList& rows) {
  std::vector<Row> out;
  for (int i = 0; i < rows.GetCount(); ++i)
    out.push_back({std::string(rows.RowText(i)), rows.EndKinds(i)});
  return out;
}

void CheckInvariants(const TEditorScreenStrings& rows) {
  const int count = rows.GetCount();
  for (int r = 0; r < count; ++r) {
    const std::string_view text = rows.RowText(r);
    FUZZ_CHECK(text.find_first_of("\r\n") == std::string_view::npos);
    const editor::TRowEndKind kind = rows.EndKinds(r);
    if (r + 1 < count)
      FUZZ_CHECK(kind == editor::rkReturn || (kind == editor::rkWrap && rows.WordWrap()));
    else
      FUZZ_CHECK(kind == editor::rkReturn || kind == editor::rkEof);
    if (kind == editor::rkWrap) FUZZ_CHECK(!text.empty());
  }
}

// Applies the input's wrap settings to a list.
struct WrapSettings {
  bool wrap;
  int width, tab;
  bool follow_ret_mark, follow_punctuation, leading, word_break;

  void ApplyTo(TestOwner& owner) const {
    owner.client.columns.TabWidth = tab;
    editor::TEditorWrapOption& options = owner.rows.WrapOption();
    options.SetWrapByte(width);
    options.SetFollowRetMark(follow_ret_mark);
    options.SetFollowPunctuation(follow_punctuation);
    options.SetLeading(leading);
    options.SetWordBreak(word_break);
    owner.rows.SetWordWrap(wrap);
  }
};

using editor::testing::Normalise;

// The text offset of the start of `row`.
std::size_t RowOffset(const TEditorScreenStrings& rows, int row) {
  std::size_t offset = 0;
  for (int r = 0; r < row; ++r)
    offset += rows.RowText(r).size() + (rows.EndKinds(r) == editor::rkReturn ? 2 : 0);
  return offset;
}

// Rows in a form to read: the text, then | for rkReturn, ~ for rkWrap, $ for rkEof.
std::string Describe(const std::vector<Row>& rows) {
  std::string out;
  for (const Row& row : rows) {
    for (unsigned char c : row.text) {
      char hex[8];
      std::snprintf(hex, sizeof hex, c >= 0x20 && c < 0x7F ? "%c" : "\\x%02X", c);
      out += hex;
    }
    out += row.kind == editor::rkReturn ? '|' : row.kind == editor::rkWrap ? '~' : '$';
  }
  return out;
}

void CheckSameRows(const std::vector<Row>& rows, const std::vector<Row>& expected,
                   const char* what) {
  if (rows == expected) return;
  std::fprintf(stderr, "%s\n  rows:     %s\n  expected: %s\n", what, Describe(rows).c_str(),
               Describe(expected).c_str());
  FUZZ_CHECK(rows == expected);
}

// The rows a fresh wrap makes of the text: WrapText's rows, the last one
// without a line break when the text does not end with one. An empty text
// has no rows, or one empty row without a line break.
std::vector<Row> FreshRows(const WrapSettings& settings, const std::string& text,
                           const std::vector<Row>& now) {
  if (text.empty()) {
    if (now.size() == 1 && now[0] == Row{"", editor::rkEof}) return now;
    return {};
  }
  TestOwner fresh;
  settings.ApplyTo(fresh);
  editor::TEditorStringList wrapped;
  fresh.rows.WrapText(text, wrapped);
  std::vector<Row> rows = RowsOf(wrapped);
  if (!text.ends_with('\n')) rows.back().kind = editor::rkEof;
  return rows;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  fuzz::Input in(data, size);
  WrapSettings settings;
  settings.wrap = in.Bool();
  settings.width = in.Byte();
  settings.tab = 1 + in.Below(8);
  settings.follow_ret_mark = in.Bool();
  settings.follow_punctuation = in.Bool();
  settings.leading = in.Bool();
  settings.word_break = in.Bool();

  TestOwner owner;
  settings.ApplyTo(owner);
  owner.lines.SetTextStr(in.Text(200));
  TEditorScreenStrings& rows = owner.rows;
  const std::string first_text = owner.lines.Text();
  const std::vector<Row> first_rows = RowsOf(rows);
  CheckSameRows(first_rows, FreshRows(settings, first_text, first_rows), "the first text");

  std::string last_edit;
  for (int step = 0; step < 16 && !in.Empty(); ++step) {
    const int count = rows.GetCount();
    const std::string before = Describe(RowsOf(rows));
    std::optional<std::string> expected_text;
    switch (in.Below(6)) {
      case 0:
      case 1: {  // a replacement of rows as the control makes them
        const int index = in.Below(count + 1);
        const int replaced = in.Below(std::min(3, count - index) + 1);
        std::string s = in.Text(40);
        if (in.Bool() && index + replaced > 0)
          editor::AppendLineBreak(rows, index + replaced - 1, s);
        // The text is what it was with the rows' text replaced by `s`,
        // every line break it is given kept.
        const std::string text = owner.lines.Text();
        const std::size_t from = RowOffset(rows, index);
        const std::size_t to = RowOffset(rows, index + replaced);
        expected_text = Normalise(text.substr(0, from) + s + text.substr(to));
        rows.ReplaceRows(index, replaced, s);
        last_edit = "ReplaceRows(" + std::to_string(index) + ", " + std::to_string(replaced) +
                    ", " + Describe({{s, editor::rkEof}}) + ")";
        break;
      }
      case 2:
        if (owner.lines.GetCount() > 0) {
          const int line = in.Below(owner.lines.GetCount());
          const std::string s = in.Text(40);
          owner.lines.Put(line, s);
          last_edit = "Put(" + std::to_string(line) + ", " + Describe({{s, editor::rkEof}}) + ")";
          break;
        }
        [[fallthrough]];
      case 3: {
        const int line = in.Below(owner.lines.GetCount() + 1);
        const std::string s = in.Text(40);
        owner.lines.Insert(line, s);
        last_edit = "Insert(" + std::to_string(line) + ", " + Describe({{s, editor::rkEof}}) + ")";
        break;
      }
      case 4: {
        const std::string s = in.Text(40);
        owner.lines.Add(s);
        last_edit = "Add(" + Describe({{s, editor::rkEof}}) + ")";
        break;
      }
      case 5:
        if (owner.lines.GetCount() > 0) {
          const int line = in.Below(owner.lines.GetCount());
          owner.lines.Delete(line);
          last_edit = "Delete(" + std::to_string(line) + ")";
        }
        break;
    }
    last_edit = before + " after " + last_edit;
    CheckInvariants(rows);
    if (expected_text && owner.lines.Text() != *expected_text) {
      std::fprintf(stderr, "%s\n  text:     %s\n  expected: %s\n", last_edit.c_str(),
                   Describe({{owner.lines.Text(), editor::rkEof}}).c_str(),
                   Describe({{*expected_text, editor::rkEof}}).c_str());
      FUZZ_CHECK(owner.lines.Text() == *expected_text);
    }
    // Without word wrap every line is one row. With it, an edit re-wraps from
    // the row above it and leaves the rows before that as they are (the
    // control counts its caret from there), so a line whose earlier breaks
    // depended on text further on may differ from a fresh wrap until it is
    // re-wrapped whole; that is checked once at the end.
    if (!settings.wrap) {
      const std::vector<Row> now = RowsOf(rows);
      CheckSameRows(now, FreshRows(settings, owner.lines.Text(), now), last_edit.c_str());
    }
  }

  const std::string last_text = owner.lines.Text();
  const std::vector<Row> last_rows = RowsOf(rows);
  int undone = 0;
  while (rows.CanUndo()) {
    rows.Undo();
    FUZZ_CHECK(++undone <= 64);
  }
  FUZZ_CHECK(owner.lines.Text() == first_text);
  CheckSameRows(RowsOf(rows), first_rows, "after undoing every step");
  while (rows.CanRedo()) rows.Redo();
  FUZZ_CHECK(owner.lines.Text() == last_text);
  CheckSameRows(RowsOf(rows), last_rows, "after redoing every step");

  if (settings.wrap) {
    rows.SetWordWrap(false);
    rows.SetWordWrap(true);
    FUZZ_CHECK(owner.lines.Text() == last_text);
    const std::vector<Row> now = RowsOf(rows);
    CheckSameRows(now, FreshRows(settings, last_text, now), "after wrapping everything anew");
  }
  return 0;
}
