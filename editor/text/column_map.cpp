#include "editor/text/column_map.h"

#include <cstring>

#include "editor/text/dbcs.h"

namespace editor {

namespace {

// Walks `text` a character at a time in display columns; `emit` is called
// with each character's kind, its byte position, the column it starts at
// and, for a tab, its filler count. The display text and the length share
// it; the map has a faster loop of its own under the same rules.
enum class Cell { Single, Double, Tab };

template <class Emit>
void WalkColumns(std::string_view text, const TColumnMapSettings& settings, Emit&& emit) {
  int column = 0;
  std::size_t p = 0;
  const std::size_t n = text.size();
  while (p < n) {
    const unsigned char b = static_cast<unsigned char>(text[p]);
    if (IsLeadByte(b)) {
      emit(Cell::Double, p, column, 0);
      column += 2;
      p += 2;
    } else if (b == '\t') {
      const int fillers = TabFillerCount(column, settings);
      emit(Cell::Tab, p, column, fillers);
      column += 1 + fillers;
      p += 1;
    } else {
      emit(Cell::Single, p, column, 0);
      column += 1;
      p += 1;
    }
  }
}

}  // namespace

int TabFillerCount(int column, const TColumnMapSettings& settings) {
  const int tab = settings.TabWidth > 0 ? settings.TabWidth : 1;
  int fillers = tab - column % tab - 1;
  if (settings.WordWrap) {
    const int wrap = settings.WrapWidth > 0 ? settings.WrapWidth : 1;
    fillers = Min(fillers, wrap - column % wrap - 1);
  }
  return fillers;
}

void AppendColumnMap(std::string_view text, const TColumnMapSettings& settings, std::string& map) {
  // The wrapping walk builds a map for every long line of a text of many
  // megabytes, so this writes into a buffer sized once for the usual case
  // (one cell per byte, one more for a lead byte left alone at the end) and
  // grows it only at a tab.
  const std::size_t base = map.size();
  const std::size_t n = text.size();
  map.resize(base + n + 1);
  char* out = map.data() + base;
  std::size_t o = 0;
  std::size_t p = 0;
  while (p < n) {
    const unsigned char b = static_cast<unsigned char>(text[p]);
    if (IsLeadByte(b)) {
      out[o] = kCellLead;
      out[o + 1] = kCellTrail;
      o += 2;
      p += 2;
      continue;
    }
    out[o++] = settings.Delimiters.test(b) ? kCellDelimiter : kCellWord;
    ++p;
    if (b == '\t') {
      const auto fillers =
          static_cast<std::size_t>(TabFillerCount(static_cast<int>(o - 1), settings));
      map.resize(map.size() + fillers);
      out = map.data() + base;
      std::memset(out + o, kCellTabFiller, fillers);
      o += fillers;
    }
  }
  map.resize(base + o);
}

std::string ColumnMap(std::string_view text, const TColumnMapSettings& settings) {
  std::string map;
  AppendColumnMap(text, settings, map);
  return map;
}

std::string DisplayText(std::string_view text, const TColumnMapSettings& settings) {
  std::string shown;
  shown.reserve(text.size());
  WalkColumns(text, settings, [&](Cell cell, std::size_t p, int, int fillers) {
    switch (cell) {
      case Cell::Double:
        shown.append(text.substr(p, 2));
        // A lead byte left alone at the end still takes two columns, as in
        // the column map: its missing half is shown blank.
        if (p + 1 == text.size()) shown += ' ';
        break;
      case Cell::Tab:
        shown.append(static_cast<std::size_t>(fillers) + 1, ' ');
        break;
      case Cell::Single:
        shown += text[p];
        break;
    }
  });
  return shown;
}

int DisplayLength(std::string_view text, const TColumnMapSettings& settings) {
  // Without a tab every byte is one column, and only a lead byte left alone
  // at the end adds its missing trail.
  if (!std::memchr(text.data(), '\t', text.size())) {
    int length = static_cast<int>(text.size());
    if (EndsInLoneLeadByte(text)) ++length;
    return length;
  }
  int length = 0;
  WalkColumns(text, settings, [&](Cell cell, std::size_t, int column, int fillers) {
    length = column + (cell == Cell::Double ? 2 : 1 + fillers);
  });
  return length;
}

int ByteIndexOfColumn(std::string_view map, int column) {
  return column - CountChar(map, kCellTabFiller, column + 1);
}

}  // namespace editor
