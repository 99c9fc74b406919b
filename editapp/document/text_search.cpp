#include "editapp/document/text_search.h"

#include <string>
#include <vector>

#include "platform/lead_byte.h"

namespace editapp {
namespace {

using editor::rkReturn;
using editor::rkWrap;

unsigned char Fold(unsigned char b) {
  return b >= 'A' && b <= 'Z' ? b + ('a' - 'A') : b;
}

// Whether `pattern` matches `line` at byte `at` (a character start).
bool MatchesAt(std::string_view line, std::size_t at, std::string_view pattern) {
  if (line.size() - at < pattern.size()) return false;
  for (std::size_t j = 0; j < pattern.size(); ++j) {
    const auto p = static_cast<unsigned char>(pattern[j]);
    const auto t = static_cast<unsigned char>(line[at + j]);
    if (platform::IsLeadByte(p) && j + 1 < pattern.size()) {
      if (p != t || pattern[j + 1] != line[at + j + 1]) return false;
      ++j;
      continue;
    }
    if (Fold(p) != Fold(t)) return false;
  }
  return true;
}

// One logical line: its rows and where it starts in the text.
class LineWalk {
 public:
  explicit LineWalk(const editor::TPointerStringList& rows) : rows_(rows) {}

  // The bytes of the line whose first row is `row` (joined when it wraps);
  // `next_row` receives the row after it.
  std::string_view Line(int row, int& next_row) {
    const int count = rows_.GetCount();
    int last = row;
    while (last + 1 < count && rows_.EndKinds(last) == rkWrap) ++last;
    next_row = last + 1;
    if (last == row) return rows_.RowText(row);
    joined_.clear();
    for (int r = row; r <= last; ++r) joined_.append(rows_.RowText(r));
    return joined_;
  }
  // The counted length of the line's break: two after a line end.
  int BreakLength(int last_row) const { return rows_.EndKinds(last_row) == rkReturn ? 2 : 0; }

 private:
  const editor::TPointerStringList& rows_;
  std::string joined_;
};

}  // namespace

std::optional<TTextMatch> FindForward(const editor::TPointerStringList& rows,
                                      std::string_view pattern, int from) {
  if (pattern.empty()) return std::nullopt;
  LineWalk walk(rows);
  int offset = 0;  // where the current line starts
  for (int row = 0; row < rows.GetCount();) {
    int next = 0;
    const std::string_view line = walk.Line(row, next);
    const int end = offset + static_cast<int>(line.size());
    if (end >= from) {
      const int size = static_cast<int>(line.size());
      for (int i = 0; i < size; i += platform::CharLengthAt(line.data(), size, i)) {
        if (offset + i < from) continue;
        if (MatchesAt(line, static_cast<std::size_t>(i), pattern))
          return TTextMatch{offset + i, static_cast<int>(pattern.size())};
      }
    }
    offset = end + walk.BreakLength(next - 1);
    row = next;
  }
  return std::nullopt;
}

std::optional<TTextMatch> FindBackward(const editor::TPointerStringList& rows,
                                       std::string_view pattern, int before) {
  if (pattern.empty()) return std::nullopt;
  // The lines that start before `before`, found front to back (offsets only),
  // are then searched back to front.
  struct LineStart {
    int row;
    int offset;
  };
  std::vector<LineStart> starts;
  LineWalk walk(rows);
  int offset = 0;
  for (int row = 0; row < rows.GetCount() && offset < before;) {
    int last = row;
    while (last + 1 < rows.GetCount() && rows.EndKinds(last) == rkWrap) ++last;
    starts.push_back({row, offset});
    for (int r = row; r <= last; ++r) offset += rows.RowLength(r);
    offset += walk.BreakLength(last);
    row = last + 1;
  }
  for (auto it = starts.rbegin(); it != starts.rend(); ++it) {
    int next = 0;
    const std::string_view line = walk.Line(it->row, next);
    const int size = static_cast<int>(line.size());
    std::optional<TTextMatch> last_match;
    for (int i = 0; i < size && it->offset + i < before;
         i += platform::CharLengthAt(line.data(), size, i)) {
      if (MatchesAt(line, static_cast<std::size_t>(i), pattern))
        last_match = TTextMatch{it->offset + i, static_cast<int>(pattern.size())};
    }
    if (last_match) return last_match;
  }
  return std::nullopt;
}

}  // namespace editapp
