// A stand-in for the editor control as a client of the screen-row list: it
// keeps a caret, a top row and a selection flag, and writes down what the
// list asks of it.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/colour/parser.h"
#include "editor/colour/view_info.h"
#include "editor/text/screen_strings.h"

namespace editor::testing {

struct SeenChange {
  int row, old_count, new_count;
  bool recorded;
};

class TestClient : public TScreenStringsClient, public TEditorParserOwner {
 public:
  explicit TestClient(const TEditorScreenStrings* list = nullptr) : list_(list) {}
  void Watch(const TEditorScreenStrings* list) { list_ = list; }

  void DoChange() override {
    if (list_)
      changes.push_back({list_->ChangeRow(), list_->ChangeOldCount(), list_->ChangeNewCount(),
                         list_->ChangeRecorded()});
    else
      changes.push_back({0, 0, 0, false});
  }
  bool Selected() const override { return selected; }
  void CancelSelection() override {
    selected = false;
    ++cancels;
  }
  int Row() const override { return row; }
  void SetRow(int r) override { row = r; }
  int Col() const override { return col; }
  void SetCol(int c) override { col = c; }
  int TopRow() const override { return top_row; }
  void SetTopRow(int r) override { top_row = r; }
  bool Focused() const override { return focused; }
  bool Loading() const override { return loading; }
  void UpdateScrollBars() override { ++scroll_bar_updates; }
  void InvalidateAll() override { ++full_repaints; }
  void InvalidateRow(int r) override { repainted_rows.push_back(r); }
  int RowHeight() const override { return row_height; }
  int ScreenHeight() const override { return screen_height; }
  TColumnMapSettings ColumnMapSettings() const override { return columns; }
  int BracketCount() const override { return view.Brackets().Count(); }
  std::unique_ptr<TRowLexer> CreateRowLexer(std::string_view text,
                                            int bracket_state) const override {
    ++parsers_made;
    return kDefaultParserClass(this, text, bracket_state);
  }
  const TEditorViewInfo& View() const override { return view; }
  const platform::TStringList& ReserveWordList() const override { return reserved_words; }

  // A bracket region from `left` to `right`.
  void AddBrackets(const std::string& left, const std::string& right) {
    TEditorBracketItem* item = view.Brackets().Add();
    item->SetLeftBracket(left);
    item->SetRightBracket(right);
  }

  int row = 0, col = 0, top_row = 0;
  bool selected = false, focused = false, loading = false;
  int cancels = 0, scroll_bar_updates = 0, full_repaints = 0;
  int row_height = 16, screen_height = 160;
  TColumnMapSettings columns;
  TEditorViewInfo view;
  platform::TStringList reserved_words;
  mutable int parsers_made = 0;
  std::vector<SeenChange> changes;
  std::vector<int> repainted_rows;

 private:
  const TEditorScreenStrings* list_;
};

// Rows written compactly for tables: each row's text followed by its end
// kind, "|" for rkReturn, "~" for rkWrap, "$" for rkEof; rows separated by
// nothing else. So "ab|cd$" is the rows ab (rkReturn) and cd (rkEof).
inline std::string DescribeRows(const TPointerStringList& rows) {
  std::string out;
  for (int i = 0; i < rows.GetCount(); ++i) {
    out += rows.RowText(i);
    switch (rows.EndKinds(i)) {
      case rkReturn:
        out += '|';
        break;
      case rkWrap:
        out += '~';
        break;
      case rkEof:
        out += '$';
        break;
      default:
        out += '?';
        break;
    }
  }
  return out;
}

// Fills `rows` from the compact form of DescribeRows (no undo, no wrapping).
inline void SetRows(TEditorScreenStrings& rows, std::string_view compact) {
  platform::TStringsUpdate update(rows);
  rows.Clear();
  std::string text;
  for (char c : compact) {
    if (c == '|' || c == '~' || c == '$') {
      rows.Add(text);
      rows.SetEndKinds(rows.GetCount() - 1, c == '|' ? rkReturn : c == '~' ? rkWrap : rkEof);
      rows.SetBracketStates(rows.GetCount() - 1, -1);
      text.clear();
    } else {
      text += c;
    }
  }
}

}  // namespace editor::testing
