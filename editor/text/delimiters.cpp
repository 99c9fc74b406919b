#include "editor/text/delimiters.h"

namespace editor {

TDelimiterSet DefaultDelimiters() {
  TDelimiterSet set;
  auto add = [&set](int from, int to) {
    for (int b = from; b <= to; ++b) set.set(static_cast<std::size_t>(b));
  };
  add(0, 47);
  add(58, 64);
  add(91, 94);
  add(96, 96);
  add(123, 128);
  add(160, 165);
  add(253, 255);
  return set;
}

}  // namespace editor
