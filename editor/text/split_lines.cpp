#include "editor/text/split_lines.h"

#include <algorithm>
#include <string>

namespace editor {

int PresizedLineCount(std::string_view text) {
  if (text.empty()) return 0;
  int count = static_cast<int>(std::count(text.begin(), text.end(), '\n'));
  if (text.back() == '\n') --count;
  return count + 1;
}

void SplitLines(std::string_view text, platform::TStrings& list) {
  platform::TStringsUpdate update(list);
  list.Clear();
  const int presized = PresizedLineCount(text);
  for (int i = 0; i < presized; ++i) list.Add(std::string());
  int index = 0;
  ForEachLine(text, [&](std::string_view line) {
    if (index < presized)
      list.Put(index, std::string(line));
    else
      list.Add(std::string(line));
    ++index;
  });
}

}  // namespace editor
