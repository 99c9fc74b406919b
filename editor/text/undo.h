// Undo and redo of row replacements. A step keeps only what one edit removed
// (the text of a run of rows) and how many rows took its place, so that
// replaying it is itself a row replacement that yields the opposite step.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "editor/text/row_end_kind.h"

namespace editor {

class TEditorScreenStrings;

struct TUndoData {
  std::int32_t CaretRow = 0;  // caret of the active client when the step was recorded
  std::int32_t CaretCol = 0;
  std::int32_t FirstRow = -1;    // first row of the change; -1 until filled in
  std::int32_t NewRowCount = 0;  // rows the change put in place
  TRowEndKind EndKind = rkNone;  // end kind of the last removed row; rkNone: nothing removed
  std::string Text;              // the removed rows, CR LF after each rkReturn row
  // Byte length (shifted left by 2) and end kind of each removed row. Undo
  // puts back these very rows: cutting the text anew could split a line with
  // tabs differently and so move every row below, and with them the rows
  // the older steps refer to.
  std::vector<std::uint32_t> RowShapes;
  // Which change this is; the step keeps it when it moves to the redo list
  // and back, so that a text state can be recognised again.
  std::uint64_t Step = 0;
};

// Owns its records; the newest is last.
class TUndoDataList {
 public:
  int Count() const { return static_cast<int>(items_.size()); }
  bool Empty() const { return items_.empty(); }
  TUndoData& operator[](int index) { return *items_.at(index); }
  const TUndoData& operator[](int index) const { return *items_.at(index); }
  TUndoData& Last() { return *items_.back(); }

  TUndoData& Add(std::unique_ptr<TUndoData> data);
  void DeleteData(int index);
  void Clear() { items_.clear(); }

 private:
  std::vector<std::unique_ptr<TUndoData>> items_;
};

class TEditorUndoObj {
 public:
  static constexpr int kMinUndoListMax = 64;

  explicit TEditorUndoObj(TEditorScreenStrings& strings) : FStrings(strings) {}
  virtual ~TEditorUndoObj() = default;
  TEditorUndoObj(const TEditorUndoObj&) = delete;
  TEditorUndoObj& operator=(const TEditorUndoObj&) = delete;

  // A new step at the end of the undo list, with the active client's caret;
  // the caller fills in FirstRow, Text, EndKind and NewRowCount. The oldest
  // step goes when the list grows past its limit, and a new edit (anything
  // but a redo) voids the redo steps.
  virtual TUndoData& NewUndoData();
  virtual bool CanRedo() const { return !FRedoList.Empty(); }
  virtual bool CanUndo() const { return !FUndoList.Empty(); }
  virtual void Redo();
  virtual void Undo();
  // Appends a copy of `data` to the redo list with the active client's caret.
  virtual void AddRedoData(const TUndoData& data);
  virtual void Clear();

  // Names the text as it stands in the undo history: the newest step's
  // number, or the step the list starts after. Undoing back to a state
  // gives its number again; a new edit, or clearing the lists, gives one
  // never seen before.
  std::uint64_t State() const { return FUndoList.Empty() ? FBaseStep : FUndoList[FUndoList.Count() - 1].Step; }

  int UndoListMax() const { return FUndoListMax; }
  // The limit can be raised but never set below 64.
  void SetUndoListMax(int value) {
    FUndoListMax = value < kMinUndoListMax ? kMinUndoListMax : value;
  }

  const TUndoDataList& UndoList() const { return FUndoList; }
  const TUndoDataList& RedoList() const { return FRedoList; }

 private:
  // Replays `data` against the rows: removes the rows it put in place,
  // restores the text it removed, and turns `data` into its own inverse.
  void Replay(TUndoData& data);

  TEditorScreenStrings& FStrings;
  int FUndoListMax = kMinUndoListMax;
  bool FRedoing = false;
  std::uint64_t FLastStep = 0;
  std::uint64_t FBaseStep = 0;
  TUndoDataList FRedoList;
  TUndoDataList FUndoList;
};

}  // namespace editor
