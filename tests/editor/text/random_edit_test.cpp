// Random edit sequences checked against a plain string edited the same way.
// Every seed is reproducible: a failure names its seed and step.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "editor/text/column_map.h"
#include "editor/text/editor_strings.h"
#include "editor/text/wrap_option.h"
#include "tests/editor/text/crlf_text.h"
#include "tests/editor/text/test_owner.h"

namespace editor {
namespace {

using testing::TestOwner;

// CP932 pieces: ASCII words and punctuation, tabs, half-width katakana and
// punctuation, hiragana, kanji, and the characters the line-breaking rules
// care about (「」（）、。ー and their half-width forms).
const char* const kPieces[] = {
    "a",        "bc",       "def",      "x1",       " ",        "  ",       "\t",
    ".",        ",",        "!",        "(",        ")",        "[",        "]",
    "\xB1",     "\xB2\xB3", "\xA1",     "\xA2",     "\xA3",     "\xA4",     "\xDE",
    "\x82\xA0", "\x82\xA2", "\x88\x9F", "\x8A\xBF", "\x81\x75", "\x81\x76", "\x81\x41",
    "\x81\x42", "\x81\x5B", "\x81\x69", "\x81\x6A", "\x81\x40", "\x83\x41", "\x82\x60",
};
const char* const kBreaks[] = {"\r\n", "\r\n", "\r\n", "\r", "\n", "\n\r"};

class Random {
 public:
  explicit Random(unsigned seed) : rng_(seed) {}
  int Below(int n) { return n <= 0 ? 0 : static_cast<int>(rng_() % static_cast<unsigned>(n)); }
  bool OneIn(int n) { return Below(n) == 0; }
  // Text of about `pieces` pieces, with line breaks when `breaks`.
  std::string Text(int pieces, bool breaks) {
    std::string s;
    for (int i = 0; i < pieces; ++i) {
      if (breaks && OneIn(16))
        s += kBreaks[Below(std::size(kBreaks))];
      else
        s += kPieces[Below(std::size(kPieces))];
    }
    return s;
  }

 private:
  std::mt19937 rng_;
};

using editor::testing::Normalise;

// The reference: a plain CR LF text and the line operations on it.
struct Reference {
  std::string text;

  // Start offsets of the lines; a final line break starts no line.
  std::vector<std::size_t> LineStarts() const {
    std::vector<std::size_t> starts;
    for (std::size_t p = 0; p < text.size();) {
      starts.push_back(p);
      const std::size_t br = text.find("\r\n", p);
      if (br == std::string::npos) break;
      p = br + 2;
    }
    return starts;
  }
  int LineCount() const { return static_cast<int>(LineStarts().size()); }
  // Offset of the end of line i's text, before its line break.
  std::size_t LineEnd(std::size_t start) const {
    const std::size_t br = text.find("\r\n", start);
    return br == std::string::npos ? text.size() : br;
  }
  void Replace(std::size_t from, std::size_t to, const std::string& s) {
    text = Normalise(text.substr(0, from) + s + text.substr(to));
  }
  void Put(int i, const std::string& s) {
    const std::size_t start = LineStarts()[i];
    Replace(start, LineEnd(start), s);
  }
  void Add(const std::string& s) {
    // A text without a final line break gets one before the new line.
    if (!text.empty() && !text.ends_with("\r\n"))
      text = Normalise(text + "\r\n" + s);
    else
      text = Normalise(text + s + "\r\n");
  }
  void Insert(int i, const std::string& s) {
    if (i == LineCount())
      Add(s);
    else
      Replace(LineStarts()[i], LineStarts()[i], s + "\r\n");
  }
  void Delete(int i) {
    const std::size_t start = LineStarts()[i];
    std::size_t end = LineEnd(start);
    if (end < text.size()) end += 2;
    Replace(start, end, "");
  }
};

// The text offset of the start of `row`.
std::size_t RowOffset(const TEditorScreenStrings& rows, int row) {
  std::size_t offset = 0;
  for (int r = 0; r < row; ++r)
    offset += rows.RowLength(r) + (rows.EndKinds(r) == rkReturn ? 2 : 0);
  return offset;
}

// The row invariants, and the text against the reference.
void CheckRows(const TestOwner& owner, const Reference& ref, int& wrapped_rows) {
  const TEditorScreenStrings& rows = owner.rows;
  const int count = rows.GetCount();
  const TColumnMapSettings columns = rows.ColumnMapSettings();
  for (int r = 0; r < count; ++r) {
    const std::string_view text = rows.RowText(r);
    ASSERT_EQ(text.find_first_of("\r\n"), std::string_view::npos) << "row " << r;
    const TRowEndKind kind = rows.EndKinds(r);
    if (r < count - 1)
      ASSERT_TRUE(kind == rkReturn || kind == rkWrap) << "row " << r;
    else
      ASSERT_TRUE(kind == rkReturn || kind == rkEof) << "last row " << r;
    if (kind == rkWrap) {
      ++wrapped_rows;
      ASSERT_TRUE(rows.WordWrap()) << "row " << r;
      ASSERT_FALSE(text.empty()) << "row " << r;
      // Hanging punctuation may pass the margin by at most four columns.
      // (A tab's width depends on where the walk started, so rows with
      // tabs are not measured on their own.)
      if (text.find('\t') == std::string_view::npos) {
        ASSERT_LE(DisplayLength(text, columns), rows.WrapOption().WrapByte() + 4) << "row " << r;
      }
    }
    ASSERT_GE(rows.BracketStates(r), -2);
  }
  ASSERT_EQ(owner.lines.Text(), ref.text);
  ASSERT_EQ(owner.lines.GetCount(), ref.LineCount());
}

struct Caret {
  int row, col;
  bool operator==(const Caret&) const = default;
};

class RandomEditTest : public ::testing::TestWithParam<unsigned> {
 protected:
  Caret CaretNow() const { return {owner.client.row, owner.client.col}; }
  void RandomCaret() {
    owner.client.row = random.Below(owner.rows.GetCount() + 1);
    owner.client.col = random.Below(10);
  }

  // One undoable edit, applied to the rows and to the reference.
  void Edit() {
    const int lines = ref.LineCount();
    const int rows = owner.rows.GetCount();
    switch (random.Below(6)) {
      case 0:
      case 1: {  // a row replacement as the control makes them
        const int index = random.Below(rows + 1);
        const int count = random.Below(std::min(3, rows - index) + 1);
        std::string s = random.Text(random.Below(30), true);
        if (random.OneIn(3) && index + count > 0) {
          // keep the line break of the last replaced row, as typing does
          AppendLineBreak(owner.rows, index + count - 1, s);
        }
        const std::size_t from = RowOffset(owner.rows, index);
        const std::size_t to = RowOffset(owner.rows, index + count);
        last_op = "ReplaceRows(" + std::to_string(index) + ", " + std::to_string(count) + ", " +
                  ::testing::PrintToString(s) + ")";
        owner.rows.ReplaceRows(index, count, s);
        if (count > 0 || !s.empty()) ref.Replace(from, to, s);
        RandomCaret();
        break;
      }
      case 2:
        if (lines > 0) {
          const int i = random.Below(lines);
          const std::string s = random.Text(random.Below(30), random.OneIn(6));
          last_op = "Put(" + std::to_string(i) + ", " + ::testing::PrintToString(s) + ")";
          owner.lines.Put(i, s);
          ref.Put(i, s);
          break;
        }
        [[fallthrough]];
      case 3: {
        const std::string s = random.Text(random.Below(30), false);
        last_op = "Add(" + ::testing::PrintToString(s) + ")";
        owner.lines.Add(s);
        ref.Add(s);
        break;
      }
      case 4: {
        const int i = random.Below(lines + 1);
        const std::string s = random.Text(random.Below(10), false);
        last_op = "Insert(" + std::to_string(i) + ", " + ::testing::PrintToString(s) + ")";
        owner.lines.Insert(i, s);
        ref.Insert(i, s);
        break;
      }
      case 5:
        if (lines > 0) {
          const int i = random.Below(lines);
          last_op = "Delete(" + std::to_string(i) + ")";
          owner.lines.Delete(i);
          ref.Delete(i);
        }
        break;
    }
  }

  // A change of the wrapping: no undo step, the same text.
  void Rewrap() {
    TEditorWrapOption& option = owner.rows.WrapOption();
    switch (random.Below(6)) {
      case 0:
        owner.rows.SetWordWrap(!owner.rows.WordWrap());
        break;
      case 1:
        option.SetWrapByte(20 + random.Below(25));
        break;
      case 2:
        option.SetLeading(!option.Leading());
        break;
      case 3:
        option.SetWordBreak(!option.WordBreak());
        break;
      case 4:
        option.SetFollowPunctuation(!option.FollowPunctuation());
        break;
      case 5:
        option.SetFollowRetMark(!option.FollowRetMark());
        break;
    }
  }

  Random random{GetParam()};
  std::string last_op;  // for failure messages
  TestOwner owner;
  Reference ref;
};

TEST_P(RandomEditTest, RowsFollowTheReferenceAndUndoRedoRetraceEveryStep) {
  owner.rows.WrapOption().SetWrapByte(20 + random.Below(25));
  owner.rows.SetWordWrap(true);
  owner.lines.SetText(random.Text(200, true));
  ref.text = owner.lines.Text();
  int wrapped_rows = 0;

  // Edits mixed with wrapping changes.
  for (int step = 0; step < 150; ++step) {
    SCOPED_TRACE("seed " + std::to_string(GetParam()) + ", step " + std::to_string(step));
    if (random.OneIn(6))
      Rewrap();
    else
      Edit();
    ASSERT_NO_FATAL_FAILURE(CheckRows(owner, ref, wrapped_rows));
  }

  // A run of undoable edits, then all of it undone and redone.
  const int steps = 50;
  owner.rows.UndoObj().Clear();
  std::vector<std::string> texts{ref.text};
  std::vector<Caret> before, after;
  std::vector<std::string> ops;
  while (static_cast<int>(after.size()) < steps) {
    if (random.OneIn(2)) RandomCaret();  // the user moves the caret now and then
    const Caret caret = CaretNow();
    const int recorded = owner.rows.UndoObj().UndoList().Count();
    Edit();
    if (owner.rows.UndoObj().UndoList().Count() == recorded) continue;  // an edit of nothing
    before.push_back(caret);
    ops.push_back(last_op);
    after.push_back(CaretNow());
    texts.push_back(ref.text);
  }
  ASSERT_EQ(owner.rows.UndoObj().UndoList().Count(), steps);
  // Redo puts the caret where it was when the step was undone.
  std::vector<Caret> at_undo(steps);
  for (int step = steps - 1; step >= 0; --step) {
    SCOPED_TRACE("seed " + std::to_string(GetParam()) + ", undo " + std::to_string(step) + ": " +
                 ops[step]);
    at_undo[step] = CaretNow();
    owner.rows.Undo();
    ref.text = texts[step];
    ASSERT_NO_FATAL_FAILURE(CheckRows(owner, ref, wrapped_rows));
    ASSERT_EQ(CaretNow(), before[step]);
  }
  EXPECT_FALSE(owner.rows.CanUndo());
  for (int step = 0; step < steps; ++step) {
    SCOPED_TRACE("seed " + std::to_string(GetParam()) + ", redo " + std::to_string(step) + ": " +
                 ops[step]);
    owner.rows.Redo();
    ref.text = texts[step + 1];
    ASSERT_NO_FATAL_FAILURE(CheckRows(owner, ref, wrapped_rows));
    ASSERT_EQ(CaretNow(), at_undo[step]);
  }
  EXPECT_FALSE(owner.rows.CanRedo());
  EXPECT_EQ(at_undo[steps - 1], after[steps - 1]);
  EXPECT_GT(wrapped_rows, 0);  // the sequence did wrap
}

INSTANTIATE_TEST_SUITE_P(Seeds, RandomEditTest, ::testing::Range(1u, 41u));

}  // namespace
}  // namespace editor
