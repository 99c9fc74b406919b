// A stand-in for the control that owns a line view: it owns the screen-row
// list, shows it through a test client, and places the caret by text offset
// as the control does.
#pragma once

#include <string>
#include <vector>

#include "editor/text/editor_strings.h"
#include "editor/text/screen_strings.h"
#include "tests/editor/text/test_client.h"

namespace editor::testing {

// The row and byte index of a text offset counted from the start of `row`:
// each row takes its bytes, two more after a line break and one more on the
// last row without one, so that the very end of the text lands in it.
inline std::pair<int, int> RowAndByteOfOffset(const TEditorScreenStrings& rows, int row,
                                              int offset) {
  const int count = rows.GetCount();
  while (row < count) {
    const TRowEndKind kind = rows.EndKinds(row);
    const int share = rows.RowLength(row) + (kind == rkReturn ? 2 : kind == rkEof ? 1 : 0);
    if (share > offset || kind == rkEof) break;
    offset -= share;
    ++row;
  }
  return {row, row < count ? std::min(offset, rows.RowLength(row)) : offset};
}

class TestOwner : public TEditorStringsOwner {
 public:
  TestOwner() : client(&rows), lines(*this) { rows.AddClient(&client); }

  TEditorScreenStrings& ScreenStrings() const override { return rows; }
  void CancelSelection() override {
    client.selected = false;
    ++selection_cancels;
  }
  void PlaceCaretAtOffset(int row, int offset) override {
    auto [r, byte] = RowAndByteOfOffset(rows, row, offset);
    client.row = r;
    client.col = byte;
  }
  void SetCaretRow(int row) override { client.row = row; }
  void SetCaretCol(int col) override { client.col = col; }
  void BeginLinesUpdate() override { events.push_back("begin"); }
  void EndLinesUpdate() override { events.push_back("end"); }
  bool Visible() const override { return visible; }

  mutable TEditorScreenStrings rows;
  TestClient client;
  TEditorStrings lines;
  bool visible = true;
  int selection_cancels = 0;
  std::vector<std::string> events;
};

}  // namespace editor::testing
