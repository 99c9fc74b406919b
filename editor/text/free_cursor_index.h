// Finding a free slot in the application's cursor table for one of the
// editor's own cursors.
#pragma once

#include <functional>

namespace editor {

// The first index from 1 to 32767 whose entry is still the default cursor
// (the entry at index 0), that is a free slot; -1 when all are taken.
// `is_default` answers for one index whether its entry is that cursor.
int GetFreeCursorIndex(const std::function<bool(int index)>& is_default);

}  // namespace editor
