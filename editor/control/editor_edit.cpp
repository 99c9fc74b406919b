// The operations that change the text: typing (also over what is there),
// deleting the selection, pasting a stream or a box of lines, moving and
// copying the selection, the clipboard commands, undo and redo. Each builds
// the new text of a run of rows and hands it to the rows in one replacement,
// so that one undo step takes the whole change back.
#include <algorithm>
#include <optional>
#include <string>
#include <string_view>

#include "editor/control/editor.h"
#include "editor/control/selection_text.h"
#include "editor/text/split_lines.h"
#include "platform/control/clipboard.h"

namespace editor {

namespace {

// The rows a replacement of first..last takes: the row after the text (where
// a caret may stand) is no row of the list.
int ReplacedRowCount(int first, int last, int count) {
  if (first >= count) return 0;
  return std::min(last, count - 1) - first + 1;
}

// The byte of the first character that starts at or after column `col`; a
// column beyond the row counts on as if the row went on in spaces.
int FirstByteAtOrAfter(std::string_view map, int col) {
  while (col < static_cast<int>(map.size()) &&
         (map[static_cast<std::size_t>(col)] == kCellTrail ||
          map[static_cast<std::size_t>(col)] == kCellTabFiller))
    ++col;
  return ByteIndexOfColumn(map, col);
}

// `s` put before byte `byte` of `row`, which is padded with spaces when it
// is shorter.
std::string InsertPadded(std::string row, int byte, std::string_view s) {
  if (static_cast<int>(row.size()) < byte) row.resize(static_cast<std::size_t>(byte), ' ');
  row.insert(static_cast<std::size_t>(byte), s);
  return row;
}

// Every line break as CR LF: the caret is placed by offsets that count two
// bytes for each, as the rows do.
std::string WithCrLf(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '\r') {
      out += "\r\n";
      if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
    } else if (c == '\n') {
      out += "\r\n";
    } else {
      out += c;
    }
  }
  return out;
}

// Both hiding counters held, for changes that move more than one row.
class THideBoth {
 public:
  THideBoth(TEditor& editor, bool hide) {
    if (!hide) return;
    caret_.emplace(editor);
    underline_.emplace(editor);
  }

 private:
  // Ended in reverse order: the underline first, then the caret.
  std::optional<TEditor::TCaretHideGuard> caret_;
  std::optional<TEditor::TUnderlineHideGuard> underline_;
};

}  // namespace

// ------------------------------------------------------------------ remainders

int TEditor::ReferenceRow(int row) const {
  if (row >= RowCount()) return row;
  return std::max(FScreenStrings->FirstRowOfLine(row), row - 1);
}

void TEditor::SelectionRemainder(TRowRemainders& list) const {
  list.clear();
  if (!Selected()) return;
  if (SelectionMode() == smBox) {
    const TColumnMapSettings settings = ColumnMapSettings();
    for (int r = FSelCols.StartRow; r <= FSelCols.EndRow; ++r) {
      const std::string text = RowText(r);
      const TByteSpan span = BoxRowBytes(text, settings, FSelCols.StartCol, FSelCols.EndCol);
      const int cut =
          span.Length > 0 ? span.Start : FirstByteAtOrAfter(ColumnMapOf(r), FSelCols.StartCol);
      std::string rest = text.substr(0, std::min<std::size_t>(cut, text.size()));
      if (span.Length > 0) rest += text.substr(static_cast<std::size_t>(span.Start + span.Length));
      list.push_back({std::move(rest), RowEndKind(r), cut});
    }
    return;
  }
  const std::string start = RowText(FSelBytes.StartRow);
  std::string rest = start.substr(0, std::min<std::size_t>(FSelBytes.StartCol, start.size()));
  if (FSelBytes.EndRow < RowCount()) {
    const std::string end = RowText(FSelBytes.EndRow);
    rest += end.substr(std::min<std::size_t>(FSelBytes.EndCol + 1, end.size()));
  }
  list.push_back({std::move(rest), RowEndKind(FSelBytes.EndRow), FSelBytes.StartCol});
}

std::string TEditor::JoinRows(const TRowRemainders& list) {
  std::string text;
  for (const TRowRemainder& entry : list) {
    text += entry.Text;
    if (entry.EndKind == rkReturn) text += "\r\n";
  }
  return text;
}

void TEditor::ReplaceRowRange(int first, int last, const std::string& text, int reference,
                              int offset) {
  if (Selected()) ClearSelection();
  FScreenStrings->ReplaceRows(first, ReplacedRowCount(first, last, RowCount()), text);
  SetRowOffset(reference, offset);
}

// ------------------------------------------------------------ typing, deleting

void TEditor::DeleteSelection() {
  if (!HandleAllocated() || !Selected()) return;
  const int first = FSelBytes.StartRow;
  const int last = FSelBytes.EndRow;
  const int reference = ReferenceRow(first);
  const int offset = OffsetFromRow(reference, FSelCols.StartRow, FSelCols.StartCol);
  TRowRemainders list;
  SelectionRemainder(list);
  THideBoth hide(*this, last > first);
  ReplaceRowRange(first, last, JoinRows(list), reference, offset);
}

void TEditor::ReplaceAtCaret(const std::string& s, bool overwrite) {
  const int length = static_cast<int>(s.size());
  int first = FRow;
  int last = FRow;
  int reference = 0;
  int offset = 0;
  std::string text;
  if (Selected()) {
    first = FSelBytes.StartRow;
    last = FSelBytes.EndRow;
    reference = ReferenceRow(first);
    offset = OffsetFromRow(reference, FSelCols.StartRow, FSelCols.StartCol) + length;
    TRowRemainders list;
    SelectionRemainder(list);
    // A box takes the text only in its first row, at its left edge.
    TRowRemainder& head = list.front();
    head.Text = InsertPadded(std::move(head.Text), head.CutAt, s);
    text = JoinRows(list);
  } else {
    reference = ReferenceRow(FRow);
    offset = OffsetFromRow(reference, FRow, FCol) + length;
    const std::string row = RowText(FRow);
    const int byte = ByteIndexOfColumn(ColumnMapOf(FRow), FCol);  // not limited to the row
    if (overwrite && byte < static_cast<int>(row.size())) {
      // The columns the typed bytes cover end at column n, which may lie in
      // the following rows of a wrapped line.
      int n = FCol + length;
      std::string map = ColumnMapOf(last);
      while (static_cast<int>(map.size()) < n && RowEndKind(last) == rkWrap) {
        n -= static_cast<int>(map.size());
        ++last;
        map = ColumnMapOf(last);
      }
      const std::string tail_row = RowText(last);
      int from = ByteIndexOfColumn(map, n);
      text = row.substr(0, static_cast<std::size_t>(byte)) + s;
      // Half a double-byte character never stays: its other half becomes a space.
      if (n < static_cast<int>(map.size()) && map[static_cast<std::size_t>(n)] == kCellTrail) {
        text += ' ';
        ++from;
      }
      if (from < static_cast<int>(tail_row.size()))
        text += tail_row.substr(static_cast<std::size_t>(from));
    } else {
      text = InsertPadded(row, byte, s);
    }
    AppendLineBreak(*FScreenStrings, last, text);
  }
  THideBoth hide(*this, s.find('\r') != std::string::npos);
  ReplaceRowRange(first, last, text, reference, offset);
}

void TEditor::InsertText(const std::string& s) {
  if (s.empty()) return;
  ReplaceAtCaret(WithCrLf(s), FOverWrite);
}

// --------------------------------------------------------------------- pasting

void TEditor::PasteText(const std::string& text) {
  if (FReadOnly) return;
  if (text.empty()) {
    DeleteSelection();
    return;
  }
  ReplaceAtCaret(WithCrLf(text), false);
}

void TEditor::PasteBox(const std::string& text) {
  if (FReadOnly) return;
  if (text.empty()) {
    DeleteSelection();
    return;
  }
  std::vector<std::string_view> lines;
  ForEachLine(text, [&lines](std::string_view line) { lines.push_back(line); });
  const int count = RowCount();
  const int line_count = static_cast<int>(lines.size());

  TRowRemainders list;
  int first = FRow;
  int last = std::min(count - 1, FRow + line_count - 1);
  int source = FRow;
  int column = FCol;
  if (Selected()) {
    first = FSelBytes.StartRow;
    last = std::min(count - 1, std::max(first + line_count - 1, FSelBytes.EndRow));
    source = FSelBytes.EndRow + 1;
    column = FSelCols.StartCol;
    SelectionRemainder(list);
  }
  const std::size_t removed_rows = list.size();
  int caret_byte = 0;  // just after the piece pasted into the last line's row
  for (int j = 0; j < line_count; ++j) {
    const std::string_view line = lines[static_cast<std::size_t>(j)];
    int at = 0;
    if (static_cast<std::size_t>(j) < removed_rows) {
      TRowRemainder& entry = list[static_cast<std::size_t>(j)];
      at = entry.CutAt;
      entry.Text = InsertPadded(std::move(entry.Text), at, line);
    } else if (source < count) {
      at = FirstByteAtOrAfter(ColumnMapOf(source), column);
      list.push_back({InsertPadded(RowText(source), at, line), RowEndKind(source), at});
      ++source;
    } else {
      at = column;
      list.push_back(
          {std::string(static_cast<std::size_t>(column), ' ') + std::string(line), rkEof, at});
    }
    caret_byte = at + static_cast<int>(line.size());
  }
  // Pasted rows below the end of the text each end their line.
  for (TRowRemainder& entry : list)
    if (entry.EndKind == rkEof) entry.EndKind = rkReturn;

  THideBoth hide(*this, true);
  if (Selected()) ClearSelection();
  FScreenStrings->ReplaceRows(first, ReplacedRowCount(first, last, count), JoinRows(list));
  const int caret_row = first + line_count - 1;
  const std::string row = RowText(caret_row);
  SetRow(caret_row);
  SetCol(
      DisplayLength(std::string_view(row).substr(0, std::min<std::size_t>(caret_byte, row.size())),
                    ColumnMapSettings()));
}

// --------------------------------------------------------- moving, copying

void TEditor::DropSelectionAt(int row, int col, bool move) {
  if (!CanDragSelection() || InSelection(row, col)) {
    ClearSelection();
    return;
  }
  const int count = RowCount();
  const TEditorSelRange bytes = FSelBytes;
  const std::string moved = GetSelText();
  // The rows from the earlier to the later of the selection and the target
  // are rebuilt together, so that a move is one step to undo.
  const int top = move ? std::min(bytes.StartRow, row) : row;
  const int bottom = move ? std::max(bytes.EndRow, row) : row;
  std::string span = FScreenStrings->GetRowsText(top, ReplacedRowCount(top, bottom, count));
  // Offsets inside the span of byte `byte` of row `r`.
  auto offset_of = [&](int r, int byte) { return OffsetFromRow(top, r, 0) + byte; };

  int target = offset_of(row, ByteIndexOfColumn(ColumnMapOf(row), col));
  // A target beyond the end of its row pads that row with spaces.
  const int row_end = offset_of(row, row < count ? FScreenStrings->RowLength(row) : 0);
  if (target > row_end)
    span.insert(static_cast<std::size_t>(row_end), static_cast<std::size_t>(target - row_end), ' ');
  if (move) {
    const int start = offset_of(bytes.StartRow, bytes.StartCol);
    const int end = offset_of(bytes.EndRow, bytes.EndCol + 1);
    span.erase(static_cast<std::size_t>(start), static_cast<std::size_t>(end - start));
    if (target >= end) target -= end - start;
  }
  span.insert(static_cast<std::size_t>(target), moved);

  const int reference = ReferenceRow(top);
  const int caret = OffsetFromRow(reference, top, 0) + target + static_cast<int>(moved.size());
  THideBoth hide(*this, true);
  ReplaceRowRange(top, bottom, span, reference, caret);
}

void TEditor::MoveSelectionTo(int row, int col) {
  DropSelectionAt(row, col, true);
}

void TEditor::CopySelectionTo(int row, int col) {
  DropSelectionAt(row, col, false);
}

// ------------------------------------------------------------------- clipboard

bool TEditor::CopyToClipboard() {
  if (!Selected()) return false;
  return platform::PutClipboardText(GetSelText(), SelectionMode() == smBox) ==
         platform::TClipboardStatus::Done;
}

bool TEditor::CutToClipboard() {
  // The text leaves only once the clipboard holds it.
  if (FReadOnly || !CopyToClipboard()) return false;
  DeleteSelection();
  return true;
}

bool TEditor::PasteFromClipboard() {
  if (FReadOnly) return false;
  const platform::TClipboardText clip = platform::GetClipboardText();
  if (clip.Status != platform::TClipboardStatus::Done) return false;
  if (clip.Box)
    PasteBox(clip.Text);
  else
    PasteText(clip.Text);
  return true;
}

// --------------------------------------------------------------- undo, redo

bool TEditor::CanRedo() const {
  return FScreenStrings->CanRedo();
}

bool TEditor::CanUndo() const {
  return FScreenStrings->CanUndo();
}

void TEditor::Redo() {
  if (Selected()) ClearSelection();
  FScreenStrings->Redo();
}

void TEditor::Undo() {
  if (Selected()) ClearSelection();
  FScreenStrings->Undo();
}

}  // namespace editor
