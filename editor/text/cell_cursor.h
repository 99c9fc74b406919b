// A cursor over the cells of one line: its text with its column map, moved
// cell by cell the way TEditorAttributeArray moves (cells and text bytes
// count from 1, the end cell after the last has the code '0', a filler cell
// belongs to its tab byte). This one only views the line and the map and is
// inlined, since the wrapping walk moves it over every long line of a text
// of many megabytes; a line without tabs moves by jumps.
#pragma once

#include <string_view>

#include "editor/text/column_map.h"

namespace editor {

class TCellCursor {
 public:
  TCellCursor(std::string_view text, std::string_view map)
      : text_(text),
        map_(map),
        cells_(static_cast<int>(map.size())),
        fillers_(map.find(kCellTabFiller) != std::string_view::npos) {
    attr_ = Code(1);
  }

  int CellCount() const { return cells_; }
  char Attr() const { return attr_; }
  int Pos() const { return pos_; }
  int TextPos() const { return text_pos_; }

  void NextCell() {
    if (attr_ == kCellEnd) return;
    ++pos_;
    attr_ = Code(pos_);
    if (attr_ != kCellTabFiller) ++text_pos_;
  }

  void PriorCell() {
    if (pos_ <= 1) return;
    // Only leaving a cell of a byte of its own steps the byte back: every
    // filler and its tab belong to the same byte.
    const char left = attr_;
    --pos_;
    attr_ = Code(pos_);
    if (left != kCellTabFiller) --text_pos_;
  }

  // Towards cell n, never past the end cell nor before the first cell.
  void MoveToCell(int n) {
    if (!fillers_) {
      // Every cell is one byte: the walk is a jump.
      int to = pos_;
      if (n > pos_) to = n < cells_ + 1 ? n : cells_ + 1;
      if (n < pos_) to = n > 1 ? n : 1;
      text_pos_ += to - pos_;
      pos_ = to;
      attr_ = Code(pos_);
      return;
    }
    while (attr_ != kCellEnd && pos_ < n) NextCell();
    while (pos_ > 1 && pos_ > n) PriorCell();
  }

  // Both bytes for either half of a double-byte character, the tab for a
  // filler, nothing on the end cell.
  std::string_view CellChar() const {
    switch (attr_) {
      case kCellEnd:
        return {};
      case kCellLead:
        return Bytes(text_pos_, 2);
      case kCellTrail:
        return Bytes(text_pos_ - 1, 2);
      default:
        return Bytes(text_pos_, 1);
    }
  }

  std::string_view NextCellChar() {
    const int pos = pos_;
    NextCell();
    const std::string_view result = CellChar();
    if (pos_ != pos) PriorCell();
    return result;
  }

 private:
  char Code(int pos) const {
    return pos >= 1 && pos <= cells_ ? map_[static_cast<std::size_t>(pos) - 1] : kCellEnd;
  }
  // Up to `count` bytes from the 1-based `from`, cut at the end of the text
  // (a lead byte left alone at the end has no trail to give).
  std::string_view Bytes(int from, int count) const {
    if (from < 1) {
      count += from - 1;
      from = 1;
    }
    if (count <= 0 || static_cast<std::size_t>(from) > text_.size()) return {};
    return text_.substr(static_cast<std::size_t>(from) - 1, static_cast<std::size_t>(count));
  }

  std::string_view text_;
  std::string_view map_;
  int cells_;
  bool fillers_;
  char attr_ = kCellEnd;
  int pos_ = 1;
  int text_pos_ = 1;
};

}  // namespace editor
