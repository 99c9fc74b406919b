// The text the rows keep for a given text: every line break form becomes
// CR LF. The random edit test and the edit fuzzer both check against it.
#pragma once

#include <string>
#include <string_view>

namespace editor::testing {

inline std::string Normalise(std::string_view s) {
  std::string out;
  out.reserve(s.size() + 16);
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (s[i] == '\r' || s[i] == '\n') {
      out += "\r\n";
      if (s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n') ++i;
    } else {
      out += s[i];
    }
  }
  return out;
}

}  // namespace editor::testing
