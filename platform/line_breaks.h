// Lines of a text: CR LF, a lone CR and a lone LF each end a line, LF
// followed by CR is two line ends, and a line break at the very end starts no
// extra empty line. A NUL byte is an ordinary byte of its line, so that
// nothing after it is ever lost. Plain C++, for the editor's text model and
// for the command line's log alike.
#pragma once

#include <bit>
#include <cstddef>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace platform {

// The first CR or LF at or after `p`, or `end` when there is none. Looks at
// sixteen bytes at a time where the processor can: a big file's lines are
// short, and two library searches for each of them cost more than the text.
inline const char* FindLineBreak(const char* p, const char* end) {
#if defined(__SSE2__)
  const __m128i cr = _mm_set1_epi8('\r');
  const __m128i lf = _mm_set1_epi8('\n');
  while (end - p >= 16) {
    const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
    const int found =
        _mm_movemask_epi8(_mm_or_si128(_mm_cmpeq_epi8(bytes, cr), _mm_cmpeq_epi8(bytes, lf)));
    if (found != 0) return p + std::countr_zero(static_cast<unsigned>(found));
    p += 16;
  }
#endif
  while (p < end && *p != '\r' && *p != '\n') ++p;
  return p;
}

// Calls `line(std::string_view)` for every line of `text`, in order; an
// empty text has no lines.
template <class Line>
void ForEachLine(std::string_view text, Line&& line) {
  const char* p = text.data();
  const char* const end = p + text.size();
  while (p < end) {
    const char* stop = FindLineBreak(p, end);
    line(std::string_view(p, static_cast<std::size_t>(stop - p)));
    p = stop;
    if (p < end && *p == '\r') ++p;
    if (p < end && *p == '\n') ++p;
  }
}

}  // namespace platform
