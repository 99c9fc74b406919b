#include "editor/text/screen_strings.h"
#include "editor/text/flag_scope.h"

#include <algorithm>
#include <utility>

#include "editor/text/split_lines.h"
#include "editor/text/wrap_option.h"
#include "editor/text/wrap_walk.h"

namespace editor {
namespace {

// Bracket items beyond this index cannot be stored in a row's word; a region
// of such an item is taken as closed at the end of its row.
constexpr int kMaxStoredBracket = 13;

constexpr std::uint32_t WordOf(TRowEndKind kind) {
  return static_cast<std::uint32_t>(kind);
}

// Takes the list's change event away for its lifetime, so that a whole-text
// re-wrap notifies nobody, and gives it back on every path.
class ChangeEventPause {
 public:
  explicit ChangeEventPause(platform::TStringList& list)
      : list_(list), saved_(std::move(list.OnChange)) {
    list_.OnChange = nullptr;
  }
  ~ChangeEventPause() { list_.OnChange = std::move(saved_); }
  ChangeEventPause(const ChangeEventPause&) = delete;
  ChangeEventPause& operator=(const ChangeEventPause&) = delete;

 private:
  platform::TStringList& list_;
  platform::TNotifyEvent saved_;
};

}  // namespace

TEditorScreenStrings::TEditorScreenStrings() {
  OnChange = [this](platform::TObject*) { NotifyClients(); };
}

TEditorScreenStrings::~TEditorScreenStrings() {
  OnChange = nullptr;
  FClients.clear();
}

TEditorUndoObj& TEditorScreenStrings::UndoObj() const {
  if (!FUndoObj) FUndoObj = const_cast<TEditorScreenStrings*>(this)->CreateUndoObj();
  return *FUndoObj;
}

TEditorWrapOption& TEditorScreenStrings::WrapOption() const {
  if (!FWrapOption) FWrapOption = const_cast<TEditorScreenStrings*>(this)->CreateWrapOption();
  return *FWrapOption;
}

std::unique_ptr<TEditorUndoObj> TEditorScreenStrings::CreateUndoObj() {
  return std::make_unique<TEditorUndoObj>(*this);
}

std::unique_ptr<TEditorWrapOption> TEditorScreenStrings::CreateWrapOption() {
  auto option = std::make_unique<TEditorWrapOption>();
  option->SetOnChange([this](platform::TObject*) { WrapOptionChanged(); });
  return option;
}

// ------------------------------------------------------------------ clients

void TEditorScreenStrings::AddClient(TScreenStringsClient* client) {
  if (client) FClients.push_back(client);
}

void RemoveClient(TEditorScreenStrings*& list, TScreenStringsClient* client) {
  if (!list) return;
  auto& clients = list->FClients;
  auto it = std::find(clients.begin(), clients.end(), client);
  if (it != clients.end()) clients.erase(it);
  if (clients.empty()) {
    delete list;
    list = nullptr;
  }
}

TScreenStringsClient* TEditorScreenStrings::FirstClient() const {
  return FClients.empty() ? nullptr : FClients.front();
}

TScreenStringsClient* TEditorScreenStrings::ActiveClient() const {
  for (TScreenStringsClient* client : FClients)
    if (client->Focused()) return client;
  return FirstClient();
}

bool TEditorScreenStrings::FirstClientLoading() const {
  TScreenStringsClient* first = FirstClient();
  return first && first->Loading();
}

void TEditorScreenStrings::NotifyClients() {
  // A client may leave the list while it is told; tell the ones there were.
  const std::vector<TScreenStringsClient*> clients = FClients;
  for (TScreenStringsClient* client : clients) client->DoChange();
}

void TEditorScreenStrings::CancelSelections() {
  for (TScreenStringsClient* client : FClients)
    if (client->Selected()) client->CancelSelection();
}

void TEditorScreenStrings::ResetClientCols() {
  for (TScreenStringsClient* client : FClients) client->SetCol(0);
}

void TEditorScreenStrings::RefreshClients() {
  // The rows may all be new (a loaded file, a new wrap width).
  const int count = GetCount();
  for (TScreenStringsClient* client : FClients) {
    client->RowsChanged(0, count, count);
    client->UpdateScrollBars();
    client->InvalidateAll();
  }
}

void TEditorScreenStrings::ClampClients() {
  const int count = GetCount();
  const int last = count - 1;
  // The row after a final line break is a place for the caret; an empty
  // list still has its row 0.
  int limit = (count == 0 || EndKinds(last) == rkEof) ? count - 1 : count;
  limit = std::max(limit, 0);
  for (TScreenStringsClient* client : FClients) {
    if (client->Row() > last) client->SetRow(limit);
    if (client->TopRow() > last) client->SetTopRow(limit);
  }
}

// ------------------------------------------------------------ change record

void TEditorScreenStrings::SetChange(int row, int old_count, int new_count) {
  FChangeRow = row;
  FChangeOldCount = old_count;
  FChangeNewCount = new_count;
  FChanged = true;
  for (TScreenStringsClient* client : FClients) client->RowsChanged(row, old_count, new_count);
}

void TEditorScreenStrings::WillChange(int row, int count) {
  for (TScreenStringsClient* client : FClients) client->RowsChanging(row, count);
}

void TEditorScreenStrings::SetUpdateState(bool updating) {
  TEditorStringList::SetUpdateState(updating);
  if (updating) return;
  FChangeRow = FChangeOldCount = FChangeNewCount = 0;
  FChanged = false;
  ClampClients();
}

// --------------------------------------------------------------------- rows

int TEditorScreenStrings::FirstRowOfLine(int row) const {
  if (row > GetCount()) return row;
  while (row > 0 && EndKinds(row - 1) == rkWrap) --row;
  return row;
}

int TEditorScreenStrings::LastRowOfLine(int row) const {
  const int last = GetCount() - 1;
  while (row >= 0 && row < last && EndKinds(row) == rkWrap) ++row;
  return row;
}

void TEditorScreenStrings::GetRowsText(int index, int count, TRowEndKind& last_kind, int& row_count,
                                       std::string& text) const {
  text.clear();
  last_kind = rkNone;
  row_count = 0;
  const int rows = GetCount();
  if (index < 0 || index >= rows) return;
  int last;
  if (count < 0) {
    last = LastRowOfLine(index);
  } else {
    if (count == 0) return;
    last = std::min(index + count, rows) - 1;
  }
  std::size_t size = 0;
  for (int r = index; r <= last; ++r) size += RowText(r).size() + (EndKinds(r) == rkReturn ? 2 : 0);
  text.reserve(size);
  for (int r = index; r <= last; ++r) {
    text += RowText(r);
    if (EndKinds(r) == rkReturn) text += "\r\n";
  }
  last_kind = EndKinds(last);
  row_count = last - index + 1;
}

std::string TEditorScreenStrings::GetRowsText(int index, int count) const {
  TRowEndKind kind;
  int rows;
  std::string text;
  GetRowsText(index, count, kind, rows, text);
  return text;
}

std::vector<std::uint32_t> TEditorScreenStrings::GetRowShapes(int index, int count) const {
  std::vector<std::uint32_t> shapes;
  if (index < 0 || index >= GetCount() || count <= 0) return shapes;
  const int last = std::min(index + count, GetCount()) - 1;
  shapes.reserve(last - index + 1);
  for (int r = index; r <= last; ++r)
    shapes.push_back(static_cast<std::uint32_t>(RowLength(r)) << 2 | WordOf(EndKinds(r)));
  return shapes;
}

bool TEditorScreenStrings::RowsFromShapes(std::string_view text,
                                          const std::vector<std::uint32_t>& shapes,
                                          TEditorStringList& rows) {
  platform::TStringsUpdate update(rows);
  rows.Clear();
  std::size_t p = 0;
  for (const std::uint32_t shape : shapes) {
    const std::size_t length = shape >> 2;
    const auto kind = static_cast<TRowEndKind>(shape & 3);
    const bool line_break = kind == rkReturn;
    if (length > text.size() - p ||
        (line_break && text.substr(p + length, 2) != std::string_view("\r\n"))) {
      rows.Clear();
      return false;
    }
    rows.AppendRow(text.substr(p, length), WordOf(kind));
    p += length + (line_break ? 2 : 0);
  }
  if (p != text.size() || shapes.empty()) {
    rows.Clear();
    return false;
  }
  return true;
}

void AppendLineBreak(const TEditorScreenStrings& list, int row, std::string& s) {
  if (row >= 0 && row < list.GetCount() && list.EndKinds(row) == rkReturn) s += "\r\n";
}

void TEditorScreenStrings::DeleteRows(int index, int count) {
  if (index < 0 || index >= GetCount() || count <= 0) return;
  platform::TStringsUpdate update(*this);
  DeleteRowRange(index, std::min(count, GetCount() - index));
}

void TEditorScreenStrings::InsertRows(int index, TEditorStringList& rows) {
  if (index < 0 || index > GetCount() || rows.GetCount() == 0) return;
  platform::TStringsUpdate update(*this);
  const int n = rows.GetCount();
  InsertEmptyRows(index, n);
  for (int i = 0; i < n; ++i) TakeRow(index + i, rows, i);
}

void TEditorScreenStrings::PutRows(int index, int old_count, TEditorStringList& rows) {
  const int count = GetCount();
  if (index < 0 || index > count) return;
  old_count = std::clamp(old_count, 0, count - index);
  const int n = rows.GetCount();
  platform::TStringsUpdate update(*this);
  if (n < old_count)
    DeleteRowRange(index + n, old_count - n);
  else if (n > old_count)
    InsertEmptyRows(index + old_count, n - old_count);
  for (int i = 0; i < n; ++i) TakeRow(index + i, rows, i);
}

// ------------------------------------------------------------ ReplaceRows

void TEditorScreenStrings::ReplaceRows(int index, int count, std::string_view text) {
  const int rows = GetCount();
  if (index < 0 || count < 0 || index + count > rows || (count == 0 && text.empty())) return;

  // Re-wrapping starts one row above when that row belongs to the same
  // logical line: its break may move.
  int first = std::max(FirstRowOfLine(index), index - 1);
  // Text put after a last row that has no line break joins that row: the
  // row then stays the last one, as its end kind says. The whole logical
  // line is re-wrapped, so that the new text breaks as it would in a fresh
  // wrap (a closing bracket at its start may pull characters along).
  if (index == rows && rows > 0 && EndKinds(rows - 1) != rkReturn)
    first = FirstRowOfLine(index - 1);
  const int last_old = index + count - 1;
  int last = LastRowOfLine(last_old);

  platform::TStringsUpdate update(*this);

  if (index == first && last == last_old && text.empty() && count > 0) {
    // Whole lines with their line breaks go.
    TUndoData& undo = UndoObj().NewUndoData();
    undo.FirstRow = index;
    int removed;
    GetRowsText(index, count, undo.EndKind, removed, undo.Text);
    undo.RowShapes = GetRowShapes(index, count);
    WillChange(index, count);
    DeleteRows(index, count);
    UpdateBrackets(index, true);
    SetChange(index, removed, 0);
    return;
  }

  TRowEndKind kind;
  if (last_old < last) {
    kind = EndKinds(last);
  } else if (last + 1 < rows) {
    // Text without a final line break joins the next line, so that line is
    // re-wrapped too.
    last = LastRowOfLine(last + 1);
    kind = EndKinds(last);
  } else {
    const char end = text.empty() ? '\0' : text.back();
    kind = (end == '\n' || end == '\r') ? rkReturn : rkEof;
  }

  TUndoData& undo = UndoObj().NewUndoData();
  undo.FirstRow = first;
  int removed;
  GetRowsText(first, last - first + 1, undo.EndKind, removed, undo.Text);
  undo.RowShapes = GetRowShapes(first, last - first + 1);

  std::string joined;
  joined.reserve(text.size() + 64);
  for (int r = first; r < index; ++r) {
    joined += RowText(r);
    AppendLineBreak(*this, r, joined);
  }
  joined += text;
  for (int r = last_old + 1; r <= last; ++r) {
    joined += RowText(r);
    AppendLineBreak(*this, r, joined);
  }

  // A last row without a line break adds none of its own; when it is empty,
  // the text put before it may end with a break, and that break stays.
  if (kind == rkEof && !joined.empty() && (joined.back() == '\n' || joined.back() == '\r'))
    kind = rkReturn;

  TEditorStringList wrapped;
  WrapText(joined, wrapped);
  wrapped.SetEndKinds(wrapped.GetCount() - 1, kind);
  // Nothing is left of the rows at the end of the text (the rest of a
  // wrapped last line and the empty row after it): they go, rather than
  // leave an empty row that would count as one more line.
  if (joined.empty()) wrapped.Clear();
  const int added = wrapped.GetCount();
  undo.NewRowCount = added;
  WillChange(first, last - first + 1);
  PutRows(first, last - first + 1, wrapped);
  UpdateBrackets(first, true);
  SetChange(first, removed, added);
}

// ----------------------------------------------------------------- wrapping

TColumnMapSettings TEditorScreenStrings::ColumnMapSettings() const {
  TScreenStringsClient* first = FirstClient();
  TColumnMapSettings settings = first ? first->ColumnMapSettings() : TColumnMapSettings();
  settings.WordWrap = FWordWrap;
  settings.WrapWidth = WrapOption().WrapByte();
  return settings;
}

void TEditorScreenStrings::WrapText(std::string_view text, TEditorStringList& rows) {
  platform::TStringsUpdate update(rows);
  rows.Clear();
  rows.ReserveRows(PresizedLineCount(text));
  TWrapWalk walk(WrapOption(), ColumnMapSettings());
  walk.WrapText(text, FWordWrap, [&rows](std::string_view row, TRowEndKind kind) {
    rows.AppendRow(row, WordOf(kind));
  });
}

int TEditorScreenStrings::WrapCount(std::string_view line) {
  if (!FWordWrap) return 1;
  TWrapWalk walk(WrapOption(), ColumnMapSettings());
  return walk.WrapCount(line);
}

void TEditorScreenStrings::WrapAll() {
  if (GetCount() == 0 || FirstClientLoading()) return;
  CancelSelections();
  ChangeEventPause pause(*this);
  platform::TStringsUpdate update(*this);

  const int count = GetCount();
  const TRowEndKind last_kind = EndKinds(count - 1);
  TWrapWalk walk(WrapOption(), ColumnMapSettings());
  // A logical line's text: the row itself, or its rows joined into `line`.
  std::string line;
  auto line_text = [&](int first, int last) -> std::string_view {
    if (first == last) return RowText(first);
    line.clear();
    for (int k = first; k <= last; ++k) line += RowText(k);
    return line;
  };

  // First every line is cut and nothing moves. The cuts of the lines whose
  // rows change are kept (length and end kind of each new row), so that the
  // rows are then moved once without walking any line a second time.
  struct ChangedLine {
    int line;
    int cuts;
  };
  std::vector<ChangedLine> changed;
  std::vector<std::uint32_t> cuts;
  long long delta = 0;
  int line_index = 0;
  for (int r = 0; r < count; ++line_index) {
    const int end = LastRowOfLine(r);
    const int old_rows = end - r + 1;
    const std::string_view text = line_text(r, end);
    int new_rows = 1;
    if (FWordWrap) {
      const std::vector<TWrappedRow>& pieces = walk.CutLine(text);
      new_rows = static_cast<int>(pieces.size());
      if (old_rows != 1 || new_rows != 1) {
        for (const TWrappedRow& piece : pieces)
          cuts.push_back(static_cast<std::uint32_t>(piece.Length) << 2 | WordOf(piece.EndKind));
        changed.push_back({line_index, new_rows});
      }
    } else if (old_rows != 1) {
      cuts.push_back(static_cast<std::uint32_t>(text.size()) << 2 | WordOf(rkReturn));
      changed.push_back({line_index, 1});
    }
    delta += new_rows - old_rows;
    r = end + 1;
  }
  if (delta == 0 && !FOptionRewrap) return;

  // Each changed line is replaced where it stands, from the first to the
  // last, so the row store's gap travels along with the work and every row
  // moves once at most.
  ReserveRows(static_cast<int>(count + std::max<long long>(delta, 0)));
  std::size_t next_cut = 0;
  line_index = 0;
  int r = 0;
  for (const ChangedLine& change : changed) {
    for (; line_index < change.line; ++line_index) r = LastRowOfLine(r) + 1;
    const int end = LastRowOfLine(r);
    const int old_rows = end - r + 1;
    const int new_rows = change.cuts;
    // Pieces of a row that lies in a loaded block point into it too.
    const bool shared = old_rows == 1 && RowIsShared(r);
    // Otherwise the text is copied first: the rows it comes from are rewritten.
    std::string_view text = line_text(r, end);
    if (!shared && old_rows == 1) text = line.assign(text);
    if (new_rows < old_rows)
      DeleteRowRange(r + new_rows, old_rows - new_rows);
    else if (new_rows > old_rows)
      InsertEmptyRows(r + old_rows, new_rows - old_rows);
    std::size_t start = 0;
    for (int k = 0; k < new_rows; ++k) {
      const std::uint32_t cut = cuts[next_cut++];
      const std::size_t length = cut >> 2;
      const std::uint32_t word = cut & 3;
      if (shared) {
        SetSharedRowText(r + k, text.data() + start, length);
        SetPointers(r + k, word);
      } else {
        SetRow(r + k, text.substr(start, length), word);
      }
      start += length;
    }
    r += new_rows;
    ++line_index;
  }
  SetEndKinds(GetCount() - 1, last_kind);
}

void TEditorScreenStrings::UnwrapAll() {
  if (GetCount() == 0) return;
  CancelSelections();
  const TRowEndKind last_kind =
      EndKinds(GetCount() - 1) == rkWrap ? rkEof : EndKinds(GetCount() - 1);
  ChangeEventPause pause(*this);
  platform::TStringsUpdate update(*this);
  std::string line;
  for (int r = 0; r < GetCount(); ++r) {
    const int end = LastRowOfLine(r);
    if (end > r) {
      const std::uint32_t word = (Pointers(r) & ~0xFu) | WordOf(rkReturn);
      // Rows cut from one loaded line lie side by side in their block: the
      // joined line points there again instead of taking a copy.
      bool side_by_side = RowIsShared(r);
      std::size_t size = RowText(r).size();
      for (int k = r + 1; side_by_side && k <= end; ++k) {
        side_by_side = RowIsShared(k) && RowText(k).data() == RowText(r).data() + size;
        size += RowText(k).size();
      }
      if (side_by_side) {
        SetSharedRowText(r, RowText(r).data(), size);
        SetPointers(r, word);
      } else {
        line.clear();
        for (int k = r; k <= end; ++k) line += RowText(k);
        SetRow(r, line, word);
      }
      DeleteRowRange(r + 1, end - r);
    } else {
      SetEndKinds(r, rkReturn);
    }
  }
  SetEndKinds(GetCount() - 1, last_kind);
}

void TEditorScreenStrings::SetWordWrap(bool value) {
  if (value == FWordWrap) return;
  FWordWrap = value;
  if (FirstClientLoading()) return;
  UndoObj().Clear();
  if (value)
    WrapAll();
  else
    UnwrapAll();
  UpdateAllBrackets();
  RefreshClients();
  ClampClients();
  ResetClientCols();
}

void TEditorScreenStrings::WrapOptionChanged() {
  if (FirstClientLoading() || !FWordWrap) return;
  UndoObj().Clear();
  FlagScope rewrap(FOptionRewrap);
  WrapAll();
  UpdateAllBrackets();
  RefreshClients();
  ClampClients();
  ResetClientCols();
}

void TEditorScreenStrings::Clear() {
  CancelSelections();
  UndoObj().Clear();
  WillChange(0, GetCount());
  SetChange(0, GetCount(), 0);
  TEditorStringList::Clear();
  FChangeRow = FChangeOldCount = FChangeNewCount = 0;
  FChanged = false;
  for (TScreenStringsClient* client : FClients) {
    client->SetRow(0);
    client->SetCol(0);
  }
}

// ------------------------------------------------------------------- undo

void TEditorScreenStrings::Redo() {
  UndoObj().Redo();
}

void TEditorScreenStrings::Undo() {
  UndoObj().Undo();
}

// ---------------------------------------------------------- bracket states

void TEditorScreenStrings::UpdateAllBrackets() {
  if (FirstClientLoading()) return;
  TScreenStringsClient* first = FirstClient();
  const int count = GetCount();
  if (!first || first->BracketCount() == 0) {
    for (int r = 0; r < count; ++r) SetBracketStates(r, -1);
    return;
  }
  std::unique_ptr<TRowLexer> lexer;  // one lexer for every row
  int state = kNoBracketOpen;
  for (int r = 0; r < count; ++r) {
    SetBracketStates(r, state);
    state = RowEndBracket(r, state, lexer);
  }
}

void TEditorScreenStrings::UpdateBrackets(int row, bool notify) {
  const int count = GetCount();
  if (row < 0 || row >= count) return;
  int start = 0;
  int state = -1;
  for (int k = row - 1; k >= 0; --k) {
    if (BracketStates(k) != -2) {
      state = RowEndBracket(k, BracketStates(k));
      start = k + 1;
      break;
    }
  }
  TScreenStringsClient* first = FirstClient();
  int limit = count - 1;
  // Without bracket items no row needs the lexer, so nothing limits the walk.
  if (first && first->BracketCount() > 0)
    limit = std::min(limit, row + 2 * (first->ScreenHeight() / std::max(first->RowHeight(), 1)));
  std::unique_ptr<TRowLexer> lexer;
  int r = start;
  for (; r <= limit; ++r) {
    if (BracketStates(r) == state) return;
    SetBracketStates(r, state);
    if (notify)
      for (TScreenStringsClient* client : FClients) client->InvalidateRow(r);
    state = RowEndBracket(r, state, lexer);
  }
  for (; r < count; ++r) SetBracketStates(r, -2);
}

std::string TEditorScreenStrings::RowHead(int row) const {
  const std::string_view text = RowText(row);
  TScreenStringsClient* first = FirstClient();
  if (text.empty() || !first) return std::string(text);
  std::unique_ptr<TRowLexer> lexer = first->CreateRowLexer(text, kNoBracketOpen);
  if (!lexer) return std::string(text);
  return std::string(text.substr(0, static_cast<std::size_t>(lexer->HeadLength())));
}

int TEditorScreenStrings::RowEndBracket(int row, int state) const {
  std::unique_ptr<TRowLexer> lexer;
  return RowEndBracket(row, state, lexer);
}

int TEditorScreenStrings::RowEndBracket(int row, int state,
                                        std::unique_ptr<TRowLexer>& lexer) const {
  TScreenStringsClient* first = FirstClient();
  // Without bracket items no region opens or closes.
  if (!first || first->BracketCount() == 0) return state;
  std::string joined;
  std::string_view text = RowText(row);
  if (FWordWrap && row < GetCount() - 1 && EndKinds(row) == rkWrap) {
    // A token cut by the wrap is seen whole.
    joined.assign(text);
    joined += RowHead(row + 1);
    text = joined;
  }
  if (text.empty()) return state;
  if (lexer)
    lexer->Reset(text, state);
  else
    lexer = first->CreateRowLexer(text, state);
  if (!lexer) return state;
  const int end_state = lexer->EndBracketState();
  return end_state > kMaxStoredBracket ? kNoBracketOpen : end_state;
}

}  // namespace editor
