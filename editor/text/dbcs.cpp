#include "editor/text/dbcs.h"

#include <algorithm>

namespace editor {

int CountChar(std::string_view s, char b, int n) {
  if (n <= 0) return 0;
  const auto end = s.begin() + std::min<std::size_t>(static_cast<std::size_t>(n), s.size());
  return static_cast<int>(std::count(s.begin(), end, b));
}

char CharAt(std::string_view s, int i) {
  if (i < 1 || static_cast<std::size_t>(i) > s.size()) return '\0';
  return s[static_cast<std::size_t>(i) - 1];
}

bool IsTrailByteAt(std::string_view s, int i) {
  const long long len = static_cast<long long>(s.size());
  for (long long p = 1; p <= len && p <= i; ++p) {
    if (IsLeadByte(s[static_cast<std::size_t>(p - 1)])) {
      ++p;
      if (p == i) return true;
    }
  }
  return false;
}

bool EndsInLoneLeadByte(std::string_view s) {
  // The byte before that run is a single character or a trail byte, so a
  // character starts right after it and the run alternates lead and trail.
  std::size_t run = 0;
  while (run < s.size() && IsLeadByte(s[s.size() - 1 - run])) ++run;
  return run % 2 == 1;
}

bool ContainsChar(std::string_view ch, std::string_view chars) {
  if (ch.empty() || chars.size() < ch.size()) return false;
  // The wrapping walk asks this a few times for every row of a long text,
  // so bytes are compared in place rather than through a call per position.
  const char first = ch[0];
  const std::size_t size = chars.size();
  std::size_t p = 0;
  while (p < size) {
    if (chars[p] == first && size - p >= ch.size()) {
      std::size_t k = 1;
      while (k < ch.size() && chars[p + k] == ch[k]) ++k;
      if (k == ch.size()) return true;
    }
    p += IsLeadByte(chars[p]) ? 2 : 1;
  }
  return false;
}

int LeadingSpaceWidth(std::string_view s) {
  if (s.empty()) return -1;
  int width = 0;
  std::size_t p = 0;
  while (p < s.size()) {
    if (s[p] == ' ') {
      width += 1;
      p += 1;
    } else if (s[p] == '\x81' && p + 1 < s.size() && s[p + 1] == '\x40') {
      width += 2;
      p += 2;
    } else {
      break;
    }
  }
  return width;
}

}  // namespace editor
