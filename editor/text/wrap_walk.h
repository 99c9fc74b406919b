// The Japanese line-breaking walk: cuts a logical line into screen rows of
// at most WrapByte columns. A double-byte character is never split; with the
// options on, a row ends after a delimiter rather than inside a single-byte
// word, punctuation hangs past the margin, a character that may not end a
// row moves down and one that may not begin a row pulls the characters
// before it down with it. The screen-row list cuts its text with it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text/column_map.h"
#include "editor/text/row_end_kind.h"
#include "editor/text/row_walk.h"
#include "editor/text/split_lines.h"
#include "editor/text/wrap_option.h"

namespace editor {

class TWrapWalk {
 public:
  // The options are read at each call, so the walk follows their changes.
  // Of `columns` the tab width and the delimiter set count; tabs also stop
  // at multiples of WrapByte, counted from the start of each line.
  TWrapWalk(const TEditorWrapOption& option, const TColumnMapSettings& columns);

  // The rows of one logical line (no line breaks in it). The last row is
  // rkReturn, every other rkWrap. The result lives until the next call.
  const std::vector<TWrappedRow>& CutLine(std::string_view line);
  // The number of rows CutLine gives, at least 1.
  int WrapCount(std::string_view line);

  // The rows of a whole text in order: `row(std::string_view, TRowEndKind)`
  // for each. With word wrap off every line is one row. Every line's last
  // row is rkReturn; an empty text gives one empty row.
  template <class Row>
  void WrapText(std::string_view text, bool word_wrap, Row&& row);

 private:
  const TEditorWrapOption& option_;
  TColumnMapSettings columns_;
  std::vector<TWrappedRow> rows_;
  std::string map_;  // kept between lines, so that its buffer is reused
};

template <class Row>
void TWrapWalk::WrapText(std::string_view text, bool word_wrap, Row&& row) {
  if (text.empty()) {
    row(std::string_view(), rkReturn);
    return;
  }
  ForEachLine(text, [&](std::string_view line) {
    if (!word_wrap) {
      row(line, rkReturn);
      return;
    }
    for (const TWrappedRow& cut : CutLine(line))
      row(line.substr(cut.Start, cut.Length), cut.EndKind);
  });
}

}  // namespace editor
