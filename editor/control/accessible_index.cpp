// The Unicode starts of the screen rows, counted lazily.
#include "editor/control/accessible_index.h"

#include <algorithm>

#include "editor/text/screen_strings.h"
#include "platform/cp932.h"

namespace editor {

void TAccessibleIndex::InvalidateFrom(int row) {
  known_ = std::clamp(row + 1, 1, known_);
}

int TAccessibleIndex::RowLength(const TEditorScreenStrings& rows, int row) {
  return platform::Cp932CharCount(rows.RowText(row)) + (rows.EndKinds(row) == rkReturn ? 1 : 0);
}

void TAccessibleIndex::Extend(const TEditorScreenStrings& rows, int row) {
  if (row < known_) return;
  if (static_cast<int>(starts_.size()) < row + 1) starts_.resize(row + 1);
  for (int i = known_; i <= row; ++i) starts_[i] = starts_[i - 1] + RowLength(rows, i - 1);
  known_ = row + 1;
}

int TAccessibleIndex::RowStart(const TEditorScreenStrings& rows, int row) {
  row = std::clamp(row, 0, rows.GetCount());
  Extend(rows, row);
  return starts_[row];
}

int TAccessibleIndex::RowOfOffset(const TEditorScreenStrings& rows, int offset) {
  const int count = rows.GetCount();
  if (count == 0) return 0;
  Extend(rows, count);
  const int length = starts_[count];
  offset = std::clamp(offset, 0, length);
  // The last row starting at or before the offset; the end of the text is
  // in the last row unless a line break ends it.
  const auto it = std::upper_bound(starts_.begin(), starts_.begin() + count + 1, offset);
  int row = static_cast<int>(it - starts_.begin()) - 1;
  if (row == count && rows.EndKinds(count - 1) != rkReturn) row = count - 1;
  return row;
}

}  // namespace editor
