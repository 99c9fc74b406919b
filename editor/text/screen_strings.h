// The editor's text as a list of screen rows. With word wrap off a row is a
// logical line; with it on a logical line is cut into rows by the wrapping
// walk. Every edit passes through ReplaceRows, which re-wraps the touched
// lines, records one undo step, brings the bracket states below up to date
// and tells every control that shows the list.
#pragma once

#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text/pointer_string_list.h"
#include "editor/text/row_lexer.h"
#include "editor/text/screen_strings_client.h"
#include "editor/text/undo.h"

namespace editor {

class TEditorWrapOption;

class TEditorScreenStrings : public TEditorStringList {
 public:
  TEditorScreenStrings();
  ~TEditorScreenStrings() override;

  // ---- clients
  void AddClient(TScreenStringsClient* client);
  int ClientCount() const { return static_cast<int>(FClients.size()); }
  TScreenStringsClient* Client(int index) const { return FClients.at(index); }
  // The control that created the list; its rules (tabs, delimiters, lexer,
  // brackets, loading state) are the ones the list follows. Nil without clients.
  TScreenStringsClient* FirstClient() const;
  // The first focused client, else the first: undo records its caret.
  TScreenStringsClient* ActiveClient() const;
  void NotifyClients();
  void CancelSelections();
  void ResetClientCols();
  void RefreshClients();
  // Keeps every client's caret row and top row inside the text.
  void ClampClients();

  // ---- change record of the current update
  void SetChange(int row, int old_count, int new_count);
  // Tells the clients that `count` rows from `row` are about to be replaced.
  void WillChange(int row, int count);
  int ChangeRow() const { return FChangeRow; }
  int ChangeOldCount() const { return FChangeOldCount; }
  int ChangeNewCount() const { return FChangeNewCount; }
  bool ChangeRecorded() const { return FChanged; }

  // ---- rows
  int FirstRowOfLine(int row) const;
  int LastRowOfLine(int row) const;
  // Count -1: up to the end of the logical line. For an index outside the
  // list: empty text, rkNone, 0 rows.
  void GetRowsText(int index, int count, TRowEndKind& last_kind, int& row_count,
                   std::string& text) const;
  std::string GetRowsText(int index, int count) const;
  // Length and end kind of each of `count` rows from `index`, as an undo
  // step keeps them (length shifted left by 2, end kind in the low bits).
  std::vector<std::uint32_t> GetRowShapes(int index, int count) const;
  // Rows cut from `text` by `shapes`; false, and nothing in `rows`, when the
  // shapes do not fit the text.
  static bool RowsFromShapes(std::string_view text, const std::vector<std::uint32_t>& shapes,
                             TEditorStringList& rows);
  // Rows removed and inserted as runs, each inside one update.
  void DeleteRows(int index, int count);
  void InsertRows(int index, TEditorStringList& rows);
  void PutRows(int index, int old_count, TEditorStringList& rows);

  // The one editing primitive: replaces `count` rows from `index` by `text`
  // (which may hold CR LF); count 0 inserts. One undo step per call.
  void ReplaceRows(int index, int count, std::string_view text);

  // ---- wrapping
  virtual void WrapText(std::string_view text, TEditorStringList& rows);
  virtual int WrapCount(std::string_view line);
  void WrapAll();
  void UnwrapAll();
  bool WordWrap() const { return FWordWrap; }
  void SetWordWrap(bool value);
  // The options object is made by CreateWrapOption on first use, so that a
  // descendant's factory is the one that runs.
  TEditorWrapOption& WrapOption() const;
  void WrapOptionChanged();
  // Column rules of the first client with the list's own wrap settings.
  TColumnMapSettings ColumnMapSettings() const;

  // ---- bracket states
  std::string RowHead(int row) const;
  int RowEndBracket(int row, int state) const;
  void UpdateBrackets(int row, bool notify);
  void UpdateAllBrackets();

  // ---- undo
  // Made by CreateUndoObj on first use, as the options object is.
  TEditorUndoObj& UndoObj() const;
  virtual void Redo();
  virtual void Undo();
  bool CanUndo() const { return UndoObj().CanUndo(); }
  bool CanRedo() const { return UndoObj().CanRedo(); }

  // Empties rows, undo and redo; carets go to row 0, column 0.
  void Clear() override;

 protected:
  virtual std::unique_ptr<TEditorUndoObj> CreateUndoObj();
  virtual std::unique_ptr<TEditorWrapOption> CreateWrapOption();
  void SetUpdateState(bool updating) override;

 private:
  bool FirstClientLoading() const;
  // RowEndBracket with a lexer kept between rows of a pass.
  int RowEndBracket(int row, int state, std::unique_ptr<TRowLexer>& lexer) const;

  std::vector<TScreenStringsClient*> FClients;
  int FChangeRow = 0;
  int FChangeOldCount = 0;
  int FChangeNewCount = 0;
  bool FChanged = false;
  mutable std::unique_ptr<TEditorUndoObj> FUndoObj;
  bool FWordWrap = false;
  mutable std::unique_ptr<TEditorWrapOption> FWrapOption;
  bool FOptionRewrap = false;

  friend void RemoveClient(TEditorScreenStrings*& list, TScreenStringsClient* client);
};

// Removes the first occurrence of `client` from the list's clients and frees
// the list when none is left. `list` is reset to nil when it is freed.
void RemoveClient(TEditorScreenStrings*& list, TScreenStringsClient* client);

// Appends CR LF to `s` when `row` is a valid row of `list` and ends its line.
void AppendLineBreak(const TEditorScreenStrings& list, int row, std::string& s);

}  // namespace editor
