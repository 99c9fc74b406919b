// Row lists: strings with one 32-bit data word each. The word of a screen
// row holds its end kind (bits 0-3) and the bracket state at its start
// (bits 4-7, stored plus 2). The rows live in a gap buffer of small records,
// so inserting or removing rows near the last edit is cheap however long the
// text is, and a loaded file's lines can point into one shared block instead
// of taking an allocation each.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "editor/text/gap_buffer.h"
#include "editor/text/row_end_kind.h"
#include "platform/large_block.h"
#include "platform/string_list.h"

namespace editor {

class TPointerStringList : public platform::TStringList {
 public:
  TPointerStringList() = default;
  ~TPointerStringList() override;

  std::string Get(int index) const override;
  int GetCount() const override;
  // Replaces the text and keeps the row's word.
  void Put(int index, const std::string& s) override;
  // Rows keep no objects: reading gives nil, writing is ignored.
  platform::TObject* GetObject(int index) const override;
  void PutObject(int index, platform::TObject* object) override;
  // New rows get the word 0: end kind rkReturn, bracket state -2.
  void Insert(int index, const std::string& s) override;
  int Add(const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  // Exchanging carries the words along; sorting rows is refused, since the
  // order of rows is the text.
  void Exchange(int index1, int index2) override;
  void Sort() override;
  void CustomSort(const platform::TStringListSortCompare& compare) override;

  std::uint32_t Pointers(int index) const;
  void SetPointers(int index, std::uint32_t word);
  TRowEndKind EndKinds(int index) const;
  void SetEndKinds(int index, TRowEndKind kind);
  // -2 not computed, -1 no region open, 0..13 the open bracket item. A value
  // outside -2..13 cannot be stored and is kept as -2.
  int BracketStates(int index) const;
  void SetBracketStates(int index, int state);

  // The row's bytes without a copy; valid until the row or the list changes.
  std::string_view RowText(int index) const;
  int RowLength(int index) const { return static_cast<int>(RowText(index).size()); }

  // Row runs for the owner of the rows, which holds an update around them.
  // Inserted rows are empty with the word 0.
  void InsertEmptyRows(int index, int count);
  void DeleteRowRange(int index, int count);
  // Sets text and word of an existing row, or appends a row.
  void SetRow(int index, std::string_view text, std::uint32_t word);
  void AppendRow(std::string_view text, std::uint32_t word);
  // Sets row `index` from row `source_index` of `source` (text and word). A
  // row that `source` owns alone is handed over without copying its bytes;
  // `source` keeps an empty row there.
  void TakeRow(int index, TPointerStringList& source, int source_index);
  void ReserveRows(int count);

  // Text blocks for loading: a block lives until Clear or destruction, and
  // rows may point into it with SetSharedRowText instead of owning a copy.
  char* AddTextBlock(std::size_t size);
  // Keeps a block already filled (a file read into it) and returns its bytes.
  const char* AdoptTextBlock(platform::LargeBlock block);
  // `data` lies inside a block of this list; the row's word is kept.
  void SetSharedRowText(int index, const char* data, std::size_t size);
  // True when the row's text lies in a block, so that pieces of it can
  // point there too.
  bool RowIsShared(int index) const;

 private:
  struct Row {
    const char* data = nullptr;  // nullptr for an empty row
    std::uint32_t size = 0;      // byte count, plus kShared when data lies in a block
    std::uint32_t word = 0;
  };
  static constexpr std::uint32_t kShared = 0x8000'0000u;
  static constexpr std::size_t kMaxRowLength = kShared - 1;

  static std::uint32_t SizeOf(const Row& row) { return row.size & ~kShared; }
  static bool Owns(const Row& row) { return row.data && !(row.size & kShared); }
  static void Release(Row& row);
  // A row owning a copy of `text`.
  static Row MakeRow(std::string_view text, std::uint32_t word);

  void CheckIndex(int index) const;
  void CheckRange(int index, int count) const;
  void ReplaceText(Row& row, std::string_view text);

  GapBuffer<Row> rows_;
  std::vector<platform::LargeBlock> blocks_;
};

// The class of temporary row lists: the rows the wrapping walk produces and
// the material of undo steps.
class TEditorStringList : public TPointerStringList {};

}  // namespace editor
