#include "editor/text/editor_strings.h"

#include <algorithm>
#include <vector>

namespace editor {
namespace {

constexpr std::string_view kLineBreak = "\r\n";

}  // namespace

int TEditorStrings::LineToRow(int index) const {
  const TEditorScreenStrings& rows = Rows();
  const int count = rows.GetCount();
  if (index < 0) IndexError(index);
  if (!rows.WordWrap()) {
    if (index > count) IndexError(index);
    return index;
  }
  int row = 0;
  for (int ends = 0; ends < index; ++row) {
    if (row >= count) IndexError(index);
    if (rows.EndKinds(row) != rkWrap || row == count - 1) ++ends;
  }
  return row;
}

int TEditorStrings::GetCount() const {
  const TEditorScreenStrings& rows = Rows();
  const int count = rows.GetCount();
  if (!rows.WordWrap() || count == 0) return count;
  int lines = 0;
  for (int row = 0; row < count - 1; ++row)
    if (rows.EndKinds(row) != rkWrap) ++lines;
  return lines + 1;  // the last row ends a line in any case
}

std::string TEditorStrings::Get(int index) const {
  const TEditorScreenStrings& rows = Rows();
  if (!rows.WordWrap()) return rows.Get(index);
  const int row = LineToRow(index);
  if (row >= rows.GetCount()) IndexError(index);
  TRowEndKind kind;
  int taken;
  std::string text;
  rows.GetRowsText(row, -1, kind, taken, text);
  if (kind == rkReturn) text.resize(text.size() - kLineBreak.size());
  return text;
}

std::string TEditorStrings::GetTextStr() const {
  const TEditorScreenStrings& rows = Rows();
  return rows.GetRowsText(0, rows.GetCount());
}

void TEditorStrings::Put(int index, const std::string& s) {
  TEditorScreenStrings& rows = Rows();
  const int row = LineToRow(index);
  if (row >= rows.GetCount()) IndexError(index);
  FOwner.CancelSelection();
  const int last = rows.LastRowOfLine(row);
  std::string text = s;
  AppendLineBreak(rows, last, text);
  rows.ReplaceRows(row, last - row + 1, text);
  FOwner.PlaceCaretAtOffset(row, static_cast<int>(text.size()));
}

int TEditorStrings::Add(const std::string& s) {
  TEditorScreenStrings& rows = Rows();
  const int index = GetCount();
  FOwner.CancelSelection();
  const int count = rows.GetCount();
  if (count > 0 && rows.EndKinds(count - 1) != rkReturn) {
    // The text ends without a line break: the break goes before the new
    // line, and the text still ends without one.
    std::string text(rows.RowText(count - 1));
    text += kLineBreak;
    text += s;
    rows.ReplaceRows(count - 1, 1, text);
    FOwner.PlaceCaretAtOffset(count - 1, static_cast<int>(text.size()));
  } else {
    std::string text = s;
    text += kLineBreak;
    rows.ReplaceRows(count, 0, text);
    FOwner.PlaceCaretAtOffset(count, static_cast<int>(text.size()));
  }
  return index;
}

void TEditorStrings::AddLines(std::span<const std::string> lines) {
  if (lines.empty()) return;
  platform::TStringsUpdate update(*this);
  TEditorScreenStrings& rows = Rows();
  const int count = rows.GetCount();
  // The undo list keeps its newest steps only (never fewer than it holds
  // now). The lines whose steps it would keep, and one more, are added one
  // by one; every line before them goes in one replacement, whose one step
  // is then dropped as theirs would have been. The line after them records
  // a step that is dropped as well, and puts the caret where it belongs
  // (an offset counted over many lines would count a lone CR or LF as two
  // bytes each). The rows are the same: lines that end in a line break,
  // after a text that ends in one, are cut into rows one by one.
  //
  // After a text without a final line break every Add rewrites the last
  // line, and with bracket items each Add brings the states of its own rows
  // up to date where one replacement reaches two screens deep only: in both
  // cases every line goes on its own.
  const TScreenStringsClient* first = rows.FirstClient();
  std::size_t joined = 0;
  if ((count == 0 || rows.EndKinds(count - 1) == rkReturn) &&
      !(first && first->BracketCount() > 0)) {
    const TEditorUndoObj& undo = rows.UndoObj();
    const std::size_t kept =
        static_cast<std::size_t>(std::max(undo.UndoList().Count(), undo.UndoListMax()));
    if (lines.size() > kept + 1) joined = lines.size() - kept - 1;
  }
  if (joined > 0) {
    std::size_t size = 0;
    for (std::size_t i = 0; i < joined; ++i) size += lines[i].size() + kLineBreak.size();
    std::string text;
    text.reserve(size);
    for (std::size_t i = 0; i < joined; ++i) {
      text += lines[i];
      text += kLineBreak;
    }
    FOwner.CancelSelection();
    rows.ReplaceRows(count, 0, text);
  }
  for (std::size_t i = joined; i < lines.size(); ++i) Add(lines[i]);
}

void TEditorStrings::AddStrings(const platform::TStrings& strings) {
  // Per-line objects are not stored here, as Add leaves them.
  std::vector<std::string> lines;
  const int count = strings.GetCount();
  lines.reserve(static_cast<std::size_t>(count));
  for (int i = 0; i < count; ++i) lines.push_back(strings.Get(i));
  AddLines(lines);
}

void TEditorStrings::Insert(int index, const std::string& s) {
  TEditorScreenStrings& rows = Rows();
  const int row = LineToRow(index);
  if (row == rows.GetCount()) {
    Add(s);
    return;
  }
  FOwner.CancelSelection();
  std::string text = s;
  text += kLineBreak;
  rows.ReplaceRows(row, 0, text);
  FOwner.PlaceCaretAtOffset(row, static_cast<int>(text.size()));
}

void TEditorStrings::Delete(int index) {
  TEditorScreenStrings& rows = Rows();
  const int row = LineToRow(index);
  if (row >= rows.GetCount()) IndexError(index);
  FOwner.CancelSelection();
  rows.ReplaceRows(row, rows.LastRowOfLine(row) - rows.FirstRowOfLine(row) + 1, std::string());
  FOwner.PlaceCaretAtOffset(row, 0);
}

void TEditorStrings::Clear() {
  Rows().Clear();
}

void TEditorStrings::SetTextStr(std::string_view text) {
  platform::TStringsUpdate update(*this);
  TEditorScreenStrings& rows = Rows();
  Clear();
  rows.TEditorStringList::SetTextStr(text);
  if (rows.WordWrap()) rows.WrapAll();
  rows.UpdateAllBrackets();
}

void TEditorStrings::Assign(const platform::TPersistent* source) {
  if (auto strings = dynamic_cast<const platform::TStrings*>(source)) {
    SetTextStr(strings->GetTextStr());
    FOwner.SetCaretRow(Rows().GetCount());
    FOwner.SetCaretCol(0);
    return;
  }
  platform::TStrings::Assign(source);
}

void TEditorStrings::SetUpdateState(bool updating) {
  TEditorScreenStrings& rows = Rows();
  if (updating) {
    rows.BeginUpdate();
    FOwner.BeginLinesUpdate();
  } else {
    // The owner is restored even when telling the clients fails.
    struct OwnerEnd {
      TEditorStringsOwner& owner;
      ~OwnerEnd() { owner.EndLinesUpdate(); }
    } owner_end{FOwner};
    rows.EndUpdate();
  }
  if (!updating && FOwner.Visible()) rows.RefreshClients();
}

void TEditorStrings::LoadFromFile(std::string_view path, TTextFileNotes* notes) {
  platform::TStringsUpdate update(*this);
  TEditorScreenStrings& rows = Rows();
  Clear();
  LoadTextFile(rows, path, FLoadBlockSize, notes);
  if (rows.WordWrap()) rows.WrapAll();
  rows.UpdateAllBrackets();
  rows.RefreshClients();
}

// ------------------------------------------------------------ form stream

bool TEditorStrings::HasLinesToStore(const TFiler& filer) const {
  if (const platform::TPersistent* ancestor = filer.Ancestor()) {
    auto strings = dynamic_cast<const platform::TStrings*>(ancestor);
    if (!strings || strings->GetCount() != GetCount()) return true;
    for (int i = 0; i < GetCount(); ++i)
      if (strings->Get(i) != Get(i)) return true;
    return false;
  }
  return GetCount() > 0;
}

void TEditorStrings::DefineProperties(TFiler& filer) {
  filer.DefineProperty(
      "Strings", [this](TReader& reader) { ReadLines(reader); },
      [this](TWriter& writer) { WriteLines(writer); }, HasLinesToStore(filer));
}

void TEditorStrings::WriteLines(TWriter& writer) const {
  writer.WriteListBegin();
  const int count = GetCount();
  for (int i = 0; i < count; ++i) writer.WriteString(Get(i));
  writer.WriteListEnd();
}

void TEditorStrings::ReadLines(TReader& reader) {
  reader.ReadListBegin();
  {
    platform::TStringsUpdate update(*this);
    TEditorScreenStrings& rows = Rows();
    Clear();
    // Added as they are: the owner's Loaded wraps them and computes their
    // bracket states once the whole form is read.
    while (!reader.EndOfList()) rows.TEditorStringList::Add(reader.ReadString());
  }
  reader.ReadListEnd();
}

}  // namespace editor
