#include "editor/text/wrap_walk.h"

#include "editor/text/cell_cursor.h"

namespace editor {

TWrapWalk::TWrapWalk(const TEditorWrapOption& option, const TColumnMapSettings& columns)
    : option_(option), columns_(columns) {
  columns_.WordWrap = true;
}

const std::vector<TWrappedRow>& TWrapWalk::CutLine(std::string_view line) {
  rows_.clear();
  columns_.WrapWidth = option_.WrapByte();
  // Columns are never fewer than bytes, so only a short line needs its
  // width measured, and a line narrower than a row needs no walk.
  if (static_cast<int>(line.size()) < columns_.WrapWidth &&
      DisplayLength(line, columns_) < columns_.WrapWidth) {
    rows_.push_back({0, line.size(), rkReturn});
    return rows_;
  }
  map_.clear();
  AppendColumnMap(line, columns_, map_);
  TCellCursor cells(line, map_);
  WalkRows(cells, line, option_, rows_);
  return rows_;
}

int TWrapWalk::WrapCount(std::string_view line) {
  return static_cast<int>(CutLine(line).size());
}

}  // namespace editor
