// Finding a CP932 string in the rows: a match starts on a character, never
// on the second byte of a double-byte one, lies inside one line, and ASCII
// letters match without regard to case (the second byte of a double-byte
// character always matches exactly).
#pragma once

#include <optional>
#include <string_view>

#include "editor/text/pointer_string_list.h"

namespace editapp {

// Text offsets as the control counts them: a row's bytes, plus two after
// every row that ends its line.
struct TTextMatch {
  int Offset = 0;
  int Length = 0;
};

// The first match that starts at `from` or later.
std::optional<TTextMatch> FindForward(const editor::TPointerStringList& rows,
                                      std::string_view pattern, int from);
// The last match that starts before `before`.
std::optional<TTextMatch> FindBackward(const editor::TPointerStringList& rows,
                                       std::string_view pattern, int before);

}  // namespace editapp
