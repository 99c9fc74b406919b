#include "editor/text/editor_strings.h"

#include <gtest/gtest.h>

#include "editor/text/wrap_option.h"
#include "tests/editor/text/test_owner.h"

namespace editor {
namespace {

using testing::DescribeRows;
using testing::SetRows;
using testing::TestOwner;

class EditorStringsTest : public ::testing::Test {
 protected:
  // Rows wrapped at 20 columns.
  void Wrap20() {
    owner.rows.WrapOption().SetWrapByte(20);
    owner.rows.SetWordWrap(true);
  }
  TestOwner owner;
  TEditorStrings& lines = owner.lines;
  TEditorScreenStrings& rows = owner.rows;
};

TEST_F(EditorStringsTest, AddAppendsLinesAndLeavesTheCaretBelowThem) {
  EXPECT_EQ(lines.Add("first"), 0);
  EXPECT_EQ(lines.Text(), "first\r\n");
  EXPECT_EQ(owner.client.row, 1);
  EXPECT_EQ(owner.client.col, 0);
  EXPECT_EQ(lines.Add("second"), 1);
  EXPECT_EQ(lines.Text(), "first\r\nsecond\r\n");
  EXPECT_EQ(owner.client.row, 2);
  EXPECT_EQ(lines.GetCount(), 2);
}

TEST_F(EditorStringsTest, AddAfterALastLineWithoutBreakPutsTheBreakBeforeTheNewLine) {
  SetRows(rows, "a|b$");
  EXPECT_EQ(lines.Add("x"), 2);
  EXPECT_EQ(DescribeRows(rows), "a|b|x$");
  EXPECT_EQ(lines.Text(), "a\r\nb\r\nx");
  EXPECT_EQ(owner.client.row, 2);  // at the end of the new last line
  EXPECT_EQ(owner.client.col, 1);
}

TEST_F(EditorStringsTest, LineOperationsTable) {
  struct Case {
    const char* name;
    const char* before;
    std::function<void(TEditorStrings&)> op;
    const char* after;
    int caret_row, caret_col;
  };
  const Case cases[] = {
      {"put keeps the line break", "a|b|c$", [](TEditorStrings& l) { l.Put(1, "xy"); }, "a|xy|c$",
       2, 0},
      {"put on a last line without break", "a|b$", [](TEditorStrings& l) { l.Put(1, "xy"); },
       "a|xy$", 1, 2},
      {"put before an empty last row keeps the break", "a|$",
       [](TEditorStrings& l) { l.Put(0, "x"); }, "x|", 1, 0},
      {"insert before a line", "a|b|", [](TEditorStrings& l) { l.Insert(1, "x"); }, "a|x|b|", 2, 0},
      {"insert at the line count adds", "a|b$", [](TEditorStrings& l) { l.Insert(2, "x"); },
       "a|b|x$", 2, 1},
      {"insert at the start", "a|", [](TEditorStrings& l) { l.Insert(0, "x"); }, "x|a|", 1, 0},
      {"delete a middle line", "a|b|c|", [](TEditorStrings& l) { l.Delete(1); }, "a|c|", 1, 0},
      {"delete the last line keeps the break before it", "a|b$",
       [](TEditorStrings& l) { l.Delete(1); }, "a|", 1, 0},
      {"delete the only line", "a$", [](TEditorStrings& l) { l.Delete(0); }, "", 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    SetRows(rows, c.before);
    owner.client.selected = true;
    c.op(lines);
    EXPECT_EQ(DescribeRows(rows), c.after);
    EXPECT_EQ(owner.client.row, c.caret_row);
    EXPECT_EQ(owner.client.col, c.caret_col);
    EXPECT_FALSE(owner.client.selected);
    EXPECT_EQ(rows.UndoObj().UndoList().Count(), 1);  // each operation is one step
    rows.Undo();
    EXPECT_EQ(DescribeRows(rows), c.before);
  }
}

TEST_F(EditorStringsTest, IndexesOutsideTheLinesRaiseTheListError) {
  SetRows(rows, "a|b$");
  EXPECT_THROW(lines.Get(2), platform::EListError);
  EXPECT_THROW(lines.Get(-1), platform::EListError);
  EXPECT_THROW(lines.Put(2, "x"), platform::EListError);
  EXPECT_THROW(lines.Delete(2), platform::EListError);
  EXPECT_THROW(lines.Insert(3, "x"), platform::EListError);
  Wrap20();
  EXPECT_THROW(lines.Get(2), platform::EListError);
  EXPECT_THROW(lines.Insert(3, "x"), platform::EListError);
  EXPECT_EQ(lines.Text(), "a\r\nb");
  EXPECT_FALSE(rows.CanUndo());
}

TEST_F(EditorStringsTest, AWrappedLineCountsOnceAndReadsWhole) {
  Wrap20();
  const std::string long_line(50, 'w');
  lines.Add("a");
  lines.Add(long_line);
  lines.Add("b");
  EXPECT_EQ(rows.GetCount(), 5);
  EXPECT_EQ(lines.GetCount(), 3);
  EXPECT_EQ(lines.Get(1), long_line);
  EXPECT_EQ(lines.LineToRow(2), 4);
  EXPECT_EQ(lines.LineToRow(3), 5);
  lines.Put(1, "short");
  EXPECT_EQ(DescribeRows(rows), "a|short|b|");
  lines.Insert(1, long_line);
  lines.Delete(2);
  EXPECT_EQ(lines.Text(), "a\r\n" + long_line + "\r\nb\r\n");
}

TEST_F(EditorStringsTest, SettingTheTextFillsRowsWithoutUndo) {
  lines.Add("old");
  lines.SetText("x\ry\nz");
  EXPECT_EQ(DescribeRows(rows), "x|y|z|");  // every row ends with a line break
  EXPECT_EQ(lines.Text(), "x\r\ny\r\nz\r\n");
  EXPECT_FALSE(rows.CanUndo());
  SetRows(rows, "a|b$");
  EXPECT_EQ(lines.Text(), "a\r\nb");  // a last row without break adds none
  Wrap20();
  lines.SetText(std::string(30, 'c'));
  EXPECT_EQ(DescribeRows(rows), std::string(20, 'c') + "~" + std::string(10, 'c') + "|");
  lines.Clear();
  EXPECT_EQ(rows.GetCount(), 0);
}

TEST_F(EditorStringsTest, AssignTakesTheTextAndPutsTheCaretBelowIt) {
  platform::TStringList source;
  source.Add("one");
  source.Add("two");
  owner.client.col = 5;
  lines.Assign(&source);
  EXPECT_EQ(lines.Text(), "one\r\ntwo\r\n");
  EXPECT_EQ(owner.client.row, 2);
  EXPECT_EQ(owner.client.col, 0);
  EXPECT_THROW(lines.Assign(nullptr), platform::EConvertError);
}

TEST_F(EditorStringsTest, ABatchOfLinesNotifiesOnceAndHoldsTheOwnerStill) {
  owner.client.changes.clear();
  owner.client.full_repaints = 0;
  {
    platform::TStringsUpdate update(lines);
    for (int i = 0; i < 10; ++i) lines.Add("line");
    EXPECT_TRUE(owner.client.changes.empty());
  }
  EXPECT_EQ(owner.client.changes.size(), 1u);
  EXPECT_EQ(owner.events, (std::vector<std::string>{"begin", "end"}));
  EXPECT_EQ(owner.client.full_repaints, 1);
  EXPECT_EQ(rows.UndoObj().UndoList().Count(), 10);
  owner.visible = false;
  lines.Add("hidden");
  EXPECT_EQ(owner.client.full_repaints, 1);
}

// Everything adding lines leaves behind: rows with their bracket states,
// caret, selection, and every undo and redo step.
std::string DescribeEverything(TestOwner& owner) {
  TEditorScreenStrings& rows = owner.rows;
  std::string out = DescribeRows(rows) + "\nbrackets:";
  for (int i = 0; i < rows.GetCount(); ++i) out += " " + std::to_string(rows.BracketStates(i));
  out += "\ncaret " + std::to_string(owner.client.row) + "," + std::to_string(owner.client.col) +
         (owner.client.selected ? " selected" : "");
  const auto steps = [&out](const char* name, const TUndoDataList& list) {
    out += std::string("\n") + name + " " + std::to_string(list.Count()) + ":";
    for (int i = 0; i < list.Count(); ++i) {
      const TUndoData& d = list[i];
      out += " [" + std::to_string(d.CaretRow) + "," + std::to_string(d.CaretCol) + " " +
             std::to_string(d.FirstRow) + "+" + std::to_string(d.NewRowCount) + " " +
             std::to_string(d.EndKind) + " '" + d.Text + "' " + std::to_string(d.RowShapes.size()) +
             "]";
    }
  };
  steps("undo", rows.UndoObj().UndoList());
  steps("redo", rows.UndoObj().RedoList());
  return out;
}

TEST(EditorStringsAddLinesTest, LeavesWhatAddingThemOneByOneLeaves) {
  struct Start {
    const char* name;
    bool wrap = false;
    bool brackets = false;
    const char* rows = "";   // compact rows before the earlier steps
    int steps_before = 0;    // Adds before, each one undo step
    int undo_max = 64;       // raised before the earlier steps
    int undo_max_after = 0;  // set after them (the list may then hold more)
  };
  const Start starts[] = {
      {"empty"},
      {"after a line break, with a step to redo", false, false, "head|", 3},
      {"undo list full", false, false, "", 64},
      {"undo list over its limit", false, false, "", 100, 100, 64},
      {"raised limit", false, false, "", 10, 100},
      {"word wrap", true, false, "", 5},
      {"word wrap after a wrapped line", true, false, "aaaaaaaaaaaaaaaaaaaa~bb|"},
      {"text without a final line break", false, false, "a|b$"},
      {"bracket items", false, true, "(|", 2},
  };
  // Entries as a run writes them: with a carriage return first (the
  // separator) or last (the notes), empty, a lone LF, and long enough to
  // wrap at 20 columns.
  const std::vector<std::string> entries = {"\r" + std::string(30, '-') + "\r",
                                            "COPY_From: a.txt",
                                            "     To  : 2000/01/05001.txt",
                                            "",
                                            "note\r",
                                            "x\ny",
                                            "\n",
                                            "(open",
                                            std::string(45, 'w') + " tail",
                                            "close)"};
  for (const Start& start : starts) {
    for (int n : {1, 9, 63, 64, 65, 99, 100, 101, 250}) {
      SCOPED_TRACE(std::string(start.name) + ", " + std::to_string(n) + " lines");
      std::vector<std::string> lines;
      for (int i = 0; i < n; ++i)
        lines.push_back(entries[static_cast<std::size_t>(i) % entries.size()]);
      std::string results[2];
      for (int way = 0; way < 2; ++way) {
        TestOwner owner;
        if (start.brackets) owner.client.AddBrackets("(", ")");
        if (start.wrap) {
          owner.rows.WrapOption().SetWrapByte(20);
          owner.rows.SetWordWrap(true);
        }
        SetRows(owner.rows, start.rows);
        owner.rows.UndoObj().SetUndoListMax(start.undo_max);
        for (int i = 0; i < start.steps_before; ++i) owner.lines.Add("before " + std::to_string(i));
        if (start.steps_before > 0) owner.rows.Undo();
        if (start.undo_max_after) owner.rows.UndoObj().SetUndoListMax(start.undo_max_after);
        owner.client.selected = true;
        owner.client.changes.clear();
        if (way == 0) {
          for (const std::string& line : lines) owner.lines.Add(line);
        } else {
          owner.lines.AddLines(lines);
          // Told once, after everything.
          EXPECT_EQ(owner.client.changes.size(), 1u);
        }
        results[way] = DescribeEverything(owner);
        // The steps undo as they would have.
        for (int i = 0; i < 3 && owner.rows.CanUndo(); ++i) owner.rows.Undo();
        results[way] += "\nafter three undos: " + DescribeEverything(owner);
      }
      EXPECT_EQ(results[1], results[0]);
    }
  }
}

TEST(EditorStringsAddLinesTest, AddStringsTakesTheLinesOfAnyList) {
  TestOwner one_by_one, at_once;
  platform::TStringList list;
  for (int i = 0; i < 200; ++i) list.Add("line " + std::to_string(i));
  for (int i = 0; i < list.Count(); ++i) one_by_one.lines.Add(list[i]);
  at_once.lines.AddStrings(list);
  EXPECT_EQ(DescribeEverything(at_once), DescribeEverything(one_by_one));
  EXPECT_EQ(at_once.lines.GetCount(), 200);
  EXPECT_EQ(at_once.client.changes.size(), 1u);
}

TEST_F(EditorStringsTest, TheStoredPropertyHoldsOneStringPerLogicalLine) {
  Wrap20();
  const std::string long_line(300, 'L');  // wrapped, and longer than a short string
  const std::string title =
      "\x81\xA1\x81\xA0\x81\xA1 \x8F\xEE\x95\xF1\x83\x45\x83\x43\x83\x93"
      "\x83\x68\x83\x45 \x81\xA1\x81\xA0\x81\xA1";  // ■□■ 情報ウインドウ ■□■
  lines.Add(title);
  lines.Add(long_line);
  lines.Add("");
  TWriter writer;
  lines.DefineProperties(writer);

  TestOwner other;
  other.rows.WrapOption().SetWrapByte(20);
  other.rows.SetWordWrap(true);
  other.lines.Add("replaced");
  TReader reader(writer.Data());
  other.lines.DefineProperties(reader);
  EXPECT_TRUE(reader.AtEnd());
  EXPECT_EQ(other.rows.GetCount(), 3);  // read as rows, wrapped when the form is loaded
  EXPECT_FALSE(other.rows.CanUndo());
  other.rows.WrapAll();
  EXPECT_EQ(other.lines.Text(), lines.Text());
  EXPECT_EQ(other.lines.Get(0), title);
}

TEST_F(EditorStringsTest, ThePropertyIsStoredOnlyWhenItDiffersFromTheAncestor) {
  struct Case {
    const char* name;
    std::vector<std::string> lines;
    const platform::TPersistent* ancestor;
    bool stored;
  };
  platform::TStringList same, other;
  same.Add("a");
  other.Add("b");
  TEditorViewInfo not_strings;
  const Case cases[] = {
      {"no ancestor, no lines", {}, nullptr, false},
      {"no ancestor, lines", {"a"}, nullptr, true},
      {"equal ancestor", {"a"}, &same, false},
      {"different ancestor", {"a"}, &other, true},
      {"ancestor that is no string list", {"a"}, &not_strings, true},
  };
  for (const Case& c : cases) {
    TestOwner fresh;
    for (const std::string& line : c.lines) fresh.lines.Add(line);
    TWriter writer;
    writer.SetAncestor(c.ancestor);
    fresh.lines.DefineProperties(writer);
    EXPECT_EQ(!writer.Data().empty(), c.stored) << c.name;
  }
}

TEST_F(EditorStringsTest, ABrokenStoredPropertyIsRefused) {
  TWriter writer;
  lines.Add("abc");
  lines.DefineProperties(writer);
  const std::string data = writer.Data();
  for (std::size_t cut = data.size() - 1; cut > 8; --cut) {
    TestOwner other;
    TReader reader(std::string_view(data).substr(0, cut));
    EXPECT_THROW(other.lines.DefineProperties(reader), platform::EReadError) << cut;
  }
  TestOwner other;
  const std::string other_property("\x05Other\x01\x00", 8);
  TReader unrelated(other_property);
  other.lines.DefineProperties(unrelated);  // another property: left alone
  EXPECT_FALSE(unrelated.AtEnd());
}

}  // namespace
}  // namespace editor
