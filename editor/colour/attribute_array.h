// A cursor over the cells of one row: its text together with its column map
// (one code per display column: '1' word byte, '2' delimiter byte, '3' tab
// filler, '4' lead byte, '5' trail byte). The wrapping walk steps it cell by
// cell to find where a row may end. Cells and text bytes count from 1; after
// the last cell comes an end cell with the code '0'.
#pragma once

#include <string>
#include <string_view>

#include "editor/text/column_map.h"

namespace editor {

class TEditorAttributeArray {
 public:
  TEditorAttributeArray(std::string text, std::string map);

  // The number of cells: the map's length without the end cell.
  int CellCount() const { return static_cast<int>(FAttrs.size()) - 1; }

  // The code of the current cell, its 1-based index, and the 1-based index of
  // the text byte it belongs to (a filler cell belongs to its tab byte).
  char Attr() const { return FAttr; }
  int Pos() const { return FPos; }
  int TextPos() const { return FTextPos; }
  const std::string& Text() const { return FText; }

  // One cell forward; nothing on the end cell.
  void NextCell();
  // One cell back; nothing on the first cell.
  void PriorCell();
  // Steps towards cell n, never past the end cell nor before the first cell.
  void MoveToCell(int n);

  // The character of the current cell: both bytes for either half of a
  // double-byte character, the tab for a filler cell, nothing on the end cell.
  std::string_view CellChar() const;
  // The character of the following cell, the position left unchanged.
  std::string_view NextCellChar();

 private:
  char CodeAt(int pos) const { return FAttrs[static_cast<size_t>(pos) - 1]; }
  // Up to `count` bytes of the text from the 1-based index `from`.
  std::string_view TextBytes(int from, int count) const;

  char FAttr = kCellEnd;
  std::string FAttrs;
  int FPos = 1;
  std::string FText;
  int FTextPos = 1;
};

}  // namespace editor
