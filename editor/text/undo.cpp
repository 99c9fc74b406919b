#include "editor/text/undo.h"
#include "editor/text/flag_scope.h"

#include "editor/text/screen_strings.h"

namespace editor {
namespace {

void TakeCaret(const TEditorScreenStrings& strings, TUndoData& data) {
  if (TScreenStringsClient* client = strings.ActiveClient()) {
    data.CaretRow = client->Row();
    data.CaretCol = client->Col();
  }
}

void PutCaret(const TEditorScreenStrings& strings, const TUndoData& data) {
  if (TScreenStringsClient* client = strings.ActiveClient()) {
    client->SetRow(data.CaretRow);
    client->SetCol(data.CaretCol);
  }
}

}  // namespace

TUndoData& TUndoDataList::Add(std::unique_ptr<TUndoData> data) {
  items_.push_back(std::move(data));
  return *items_.back();
}

void TUndoDataList::DeleteData(int index) {
  if (index < 0 || index >= Count()) return;
  items_.erase(items_.begin() + index);
}

TUndoData& TEditorUndoObj::NewUndoData() {
  auto data = std::make_unique<TUndoData>();
  TakeCaret(FStrings, *data);
  data->Step = ++FLastStep;
  TUndoData& added = FUndoList.Add(std::move(data));
  if (FUndoList.Count() > FUndoListMax) {
    FBaseStep = FUndoList[0].Step;
    FUndoList.DeleteData(0);
  }
  if (!FRedoing) FRedoList.Clear();
  return added;
}

void TEditorUndoObj::AddRedoData(const TUndoData& data) {
  auto copy = std::make_unique<TUndoData>(data);
  TakeCaret(FStrings, *copy);
  FRedoList.Add(std::move(copy));
}

void TEditorUndoObj::Clear() {
  FUndoList.Clear();
  FRedoList.Clear();
  FBaseStep = ++FLastStep;
}

void TEditorUndoObj::Replay(TUndoData& data) {
  TRowEndKind removed_kind = rkNone;
  int removed = 0;
  std::string removed_text;
  std::vector<std::uint32_t> removed_shapes;
  FStrings.WillChange(data.FirstRow, data.NewRowCount);
  if (data.NewRowCount > 0) {
    FStrings.GetRowsText(data.FirstRow, data.NewRowCount, removed_kind, removed, removed_text);
    removed_shapes = FStrings.GetRowShapes(data.FirstRow, data.NewRowCount);
    FStrings.DeleteRows(data.FirstRow, data.NewRowCount);
  }
  int restored = 0;
  if (data.EndKind != rkNone) {
    TEditorStringList rows;
    if (!TEditorScreenStrings::RowsFromShapes(data.Text, data.RowShapes, rows)) {
      FStrings.WrapText(data.Text, rows);
      if (data.EndKind == rkWrap && rows.GetCount() > 1 && rows.RowLength(rows.GetCount() - 1) == 0)
        rows.Delete(rows.GetCount() - 1);
    }
    rows.SetEndKinds(rows.GetCount() - 1, data.EndKind);
    restored = rows.GetCount();
    FStrings.InsertRows(data.FirstRow, rows);
  }
  FStrings.UpdateBrackets(data.FirstRow, true);
  FStrings.SetChange(data.FirstRow, removed, restored);
  data.NewRowCount = restored;
  data.EndKind = removed_kind;
  data.Text = std::move(removed_text);
  data.RowShapes = std::move(removed_shapes);
}

void TEditorUndoObj::Undo() {
  if (FUndoList.Empty()) return;
  TUndoData caret;
  {
    platform::TStringsUpdate update(FStrings);
    TUndoData& data = FUndoList.Last();
    Replay(data);
    AddRedoData(data);
    caret.CaretRow = data.CaretRow;
    caret.CaretCol = data.CaretCol;
    // Gone before the change is announced, so that listeners see the
    // history as it now stands.
    FUndoList.DeleteData(FUndoList.Count() - 1);
  }
  PutCaret(FStrings, caret);
}

void TEditorUndoObj::Redo() {
  if (FRedoList.Empty()) return;
  TUndoData& data = FRedoList.Last();
  {
    platform::TStringsUpdate update(FStrings);
    Replay(data);
    FlagScope redoing(FRedoing);
    TUndoData& step = NewUndoData();
    step.FirstRow = data.FirstRow;
    step.NewRowCount = data.NewRowCount;
    step.EndKind = data.EndKind;
    step.Text = data.Text;
    step.RowShapes = data.RowShapes;
    step.Step = data.Step;
  }
  PutCaret(FStrings, data);
  FRedoList.DeleteData(FRedoList.Count() - 1);
}

}  // namespace editor
