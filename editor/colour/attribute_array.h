// A cursor over the cells of one row: its text together with its column map
// (one code per display column: '1' word byte, '2' delimiter byte, '3' tab
// filler, '4' lead byte, '5' trail byte). Cells and text bytes count from 1;
// after the last cell comes an end cell with the code '0'.
//
// It keeps its own copies of the text and the map, so that it may outlive
// them; the moves themselves are those of the column map's cell cursor,
// which the wrapping walk uses directly.
#pragma once

#include <string>
#include <string_view>
#include <utility>

#include "editor/text/cell_cursor.h"

namespace editor {

class TEditorAttributeArray {
 public:
  TEditorAttributeArray(std::string text, std::string map)
      : FText(std::move(text)), FAttrs(std::move(map)), FCursor(FText, FAttrs) {}
  // The cursor views the copies held here.
  TEditorAttributeArray(const TEditorAttributeArray&) = delete;
  TEditorAttributeArray& operator=(const TEditorAttributeArray&) = delete;

  // The number of cells: the map's length without the end cell.
  int CellCount() const { return FCursor.CellCount(); }

  // The code of the current cell, its 1-based index, and the 1-based index of
  // the text byte it belongs to (a filler cell belongs to its tab byte).
  char Attr() const { return FCursor.Attr(); }
  int Pos() const { return FCursor.Pos(); }
  int TextPos() const { return FCursor.TextPos(); }
  const std::string& Text() const { return FText; }

  // One cell forward; nothing on the end cell.
  void NextCell() { FCursor.NextCell(); }
  // One cell back; nothing on the first cell. Stepping back from a tab's
  // first filler onto the tab keeps the tab's byte.
  void PriorCell() { FCursor.PriorCell(); }
  // Steps towards cell n, never past the end cell nor before the first cell.
  void MoveToCell(int n) { FCursor.MoveToCell(n); }

  // The character of the current cell: both bytes for either half of a
  // double-byte character, the tab for a filler cell, nothing on the end cell.
  std::string_view CellChar() const { return FCursor.CellChar(); }
  // The character of the following cell, the position left unchanged.
  std::string_view NextCellChar() { return FCursor.NextCellChar(); }

 private:
  std::string FText;
  std::string FAttrs;
  TCellCursor FCursor;
};

}  // namespace editor
