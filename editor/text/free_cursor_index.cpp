#include "editor/text/free_cursor_index.h"

namespace editor {

int GetFreeCursorIndex(const std::function<bool(int index)>& is_default) {
  for (int index = 1; index <= 32767; ++index)
    if (is_default(index)) return index;
  return -1;
}

}  // namespace editor
