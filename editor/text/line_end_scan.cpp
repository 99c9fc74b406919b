#include "editor/text/line_end_scan.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace editor {
namespace {

// Counts among `n` bytes: every LF, every CR, and every CR directly followed
// by LF inside the bytes. Summed in runs of 255 bytes into byte-wide
// counters, which lets the compiler look at many bytes at once.
struct BreakCounts {
  std::uint64_t lf = 0;
  std::uint64_t cr = 0;
  std::uint64_t crlf = 0;
};

BreakCounts CountBreaks(const unsigned char* p, std::size_t n) {
  BreakCounts counts;
  for (std::size_t run = 0; run < n; run += 255) {
    const std::size_t stop = std::min(n, run + 255);
    unsigned char lf = 0;
    unsigned char cr = 0;
    unsigned char crlf = 0;
    for (std::size_t i = run; i < stop; ++i) {
      lf += p[i] == '\n';
      cr += p[i] == '\r';
    }
    const std::size_t pair_stop = std::min(n - 1, stop);
    for (std::size_t i = run; i < pair_stop; ++i) crlf += (p[i] == '\r') & (p[i + 1] == '\n');
    counts.lf += lf;
    counts.cr += cr;
    counts.crlf += crlf;
  }
  return counts;
}

constexpr std::uint8_t Bit(TLineEnd line_end) {
  return static_cast<std::uint8_t>(1u << static_cast<unsigned>(line_end));
}

}  // namespace

std::string_view LineEndBytes(TLineEnd line_end) {
  switch (line_end) {
    case TLineEnd::Lf:
      return "\n";
    case TLineEnd::Cr:
      return "\r";
    case TLineEnd::CrLf:
      break;
  }
  return "\r\n";
}

std::string_view LineEndName(TLineEnd line_end) {
  switch (line_end) {
    case TLineEnd::Lf:
      return "LF";
    case TLineEnd::Cr:
      return "CR";
    case TLineEnd::CrLf:
      break;
  }
  return "CR+LF";
}

void TLineEndScan::Note(TLineEnd line_end) {
  if (!first_) first_ = line_end;
  seen_ |= Bit(line_end);
}

bool TLineEndScan::Mixed() const {
  return std::popcount(seen_) > 1;
}

void TLineEndScan::Feed(std::string_view piece) {
  if (piece.empty()) return;
  const auto* p = reinterpret_cast<const unsigned char*>(piece.data());
  const std::size_t n = piece.size();
  std::size_t from = 0;
  if (pending_cr_) {
    pending_cr_ = false;
    if (p[0] == '\n') {
      Note(TLineEnd::CrLf);
      from = 1;
    } else {
      Note(TLineEnd::Cr);
    }
  }
  // A CR at the end waits for the next piece to say what it is.
  std::size_t end = n;
  if (end > from && p[end - 1] == '\r') {
    pending_cr_ = true;
    --end;
  }
  if (end <= from) return;
  const unsigned char* q = p + from;
  const std::size_t m = end - from;

  if (!first_) {
    // The first break decides the file's form; look it up before counting.
    for (std::size_t i = 0; i < m; ++i) {
      if (q[i] == '\n') {
        Note(TLineEnd::Lf);
        break;
      }
      if (q[i] == '\r') {
        Note(i + 1 < m && q[i + 1] == '\n' ? TLineEnd::CrLf : TLineEnd::Cr);
        break;
      }
    }
  }
  const BreakCounts counts = CountBreaks(q, m);
  if (counts.crlf > 0) seen_ |= Bit(TLineEnd::CrLf);
  if (counts.lf > counts.crlf) seen_ |= Bit(TLineEnd::Lf);
  if (counts.cr > counts.crlf) seen_ |= Bit(TLineEnd::Cr);
}

void TLineEndScan::Finish() {
  if (pending_cr_) Note(TLineEnd::Cr);
  pending_cr_ = false;
}

}  // namespace editor
