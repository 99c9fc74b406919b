// Cutting a text into lines: CR LF, a lone CR and a lone LF each end a line,
// LF followed by CR is two line ends, and a line break at the very end
// starts no extra empty line. A NUL byte is an ordinary byte of its line, so
// that nothing after it is ever lost.
#pragma once

#include <cstring>
#include <string_view>

#include "platform/string_list.h"

namespace editor {

// Calls `line(std::string_view)` for every line of `text`, in order; an
// empty text has no lines.
template <class Line>
void ForEachLine(std::string_view text, Line&& line) {
  if (text.empty()) return;
  const char* p = text.data();
  const char* const end = p + text.size();
  // The next LF is remembered, so that a text of lone CRs is not searched
  // to its end once for every line. Both searches are vectorised, which
  // matters for texts of many megabytes.
  auto next_lf = [end](const char* from) {
    const void* found = std::memchr(from, '\n', static_cast<std::size_t>(end - from));
    return found ? static_cast<const char*>(found) : end;
  };
  const char* lf = next_lf(p);
  while (p < end) {
    if (lf < p) lf = next_lf(p);
    const char* cr =
        static_cast<const char*>(std::memchr(p, '\r', static_cast<std::size_t>(lf - p)));
    const char* stop = cr ? cr : lf;
    line(std::string_view(p, static_cast<std::size_t>(stop - p)));
    p = stop;
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
  }
}

// The number of list items SplitLines adds before storing any line: the LF
// count, less one when the text ends with LF, plus one. Never more than the
// number of lines, since lone CRs only add lines.
int PresizedLineCount(std::string_view text);

// Replaces the items of `list` by the lines of `text`, inside one update of
// the list. The list is sized once before the lines are stored.
void SplitLines(std::string_view text, platform::TStrings& list);

}  // namespace editor
