#include "editor/text/pointer_string_list.h"

#include <cstring>
#include <utility>

namespace editor {

TPointerStringList::~TPointerStringList() {
  const std::size_t n = rows_.size();
  for (std::size_t i = 0; i < n; ++i) Release(rows_[i]);
}

void TPointerStringList::Release(Row& row) {
  if (Owns(row)) delete[] row.data;
  row.data = nullptr;
  row.size = 0;
}

TPointerStringList::Row TPointerStringList::MakeRow(std::string_view text, std::uint32_t word) {
  Row row;
  row.word = word;
  if (text.empty()) return row;
  if (text.size() > kMaxRowLength) throw platform::EListError("Row too long");
  char* data = new char[text.size()];
  std::memcpy(data, text.data(), text.size());
  row.data = data;
  row.size = static_cast<std::uint32_t>(text.size());
  return row;
}

void TPointerStringList::ReplaceText(Row& row, std::string_view text) {
  Row fresh = MakeRow(text, row.word);  // allocate first: a failure leaves the row as it was
  Release(row);
  row = fresh;
}

void TPointerStringList::CheckIndex(int index) const {
  if (index < 0 || index >= GetCount()) IndexError(index);
}

void TPointerStringList::CheckRange(int index, int count) const {
  if (count < 0 || index < 0 || index > GetCount() - count) IndexError(index);
}

std::string TPointerStringList::Get(int index) const {
  return std::string(RowText(index));
}

int TPointerStringList::GetCount() const {
  return static_cast<int>(rows_.size());
}

void TPointerStringList::Put(int index, const std::string& s) {
  CheckIndex(index);
  Changing();
  ReplaceText(rows_[index], s);
  Changed();
}

platform::TObject* TPointerStringList::GetObject(int index) const {
  CheckIndex(index);
  return nullptr;
}

void TPointerStringList::PutObject(int index, platform::TObject*) {
  CheckIndex(index);
}

void TPointerStringList::Insert(int index, const std::string& s) {
  if (index < 0 || index > GetCount()) IndexError(index);
  Row row = MakeRow(s, 0);
  Changing();
  try {
    rows_.insert(index, row);
  } catch (...) {
    Release(row);
    throw;
  }
  Changed();
}

int TPointerStringList::Add(const std::string& s) {
  const int index = GetCount();
  Insert(index, s);
  return index;
}

void TPointerStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  Release(rows_[index]);
  rows_.erase(index, 1);
  Changed();
}

void TPointerStringList::Clear() {
  if (rows_.empty() && blocks_.empty()) return;
  Changing();
  const std::size_t n = rows_.size();
  for (std::size_t i = 0; i < n; ++i) Release(rows_[i]);
  rows_.clear();
  blocks_.clear();
  Changed();
}

void TPointerStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(rows_[index1], rows_[index2]);
  Changed();
}

void TPointerStringList::Sort() {
  throw platform::EListError("Rows cannot be sorted");
}

void TPointerStringList::CustomSort(const platform::TStringListSortCompare&) {
  throw platform::EListError("Rows cannot be sorted");
}

std::uint32_t TPointerStringList::Pointers(int index) const {
  CheckIndex(index);
  return rows_[index].word;
}

void TPointerStringList::SetPointers(int index, std::uint32_t word) {
  CheckIndex(index);
  rows_[index].word = word;
}

TRowEndKind TPointerStringList::EndKinds(int index) const {
  return static_cast<TRowEndKind>(Pointers(index) & 0xF);
}

void TPointerStringList::SetEndKinds(int index, TRowEndKind kind) {
  CheckIndex(index);
  Row& row = rows_[index];
  row.word = (row.word & 0xFF0) | (static_cast<std::uint32_t>(kind) & 0xF);
}

int TPointerStringList::BracketStates(int index) const {
  return static_cast<int>((Pointers(index) >> 4) & 0xF) - 2;
}

void TPointerStringList::SetBracketStates(int index, int state) {
  CheckIndex(index);
  if (state < -2 || state > 13) state = -2;
  Row& row = rows_[index];
  row.word = (row.word & 0xFF0F) | (static_cast<std::uint32_t>(state + 2) << 4);
}

std::string_view TPointerStringList::RowText(int index) const {
  CheckIndex(index);
  const Row& row = rows_[index];
  // Never a null pointer, not even for an empty row: byte routines such as
  // memchr may not be handed one.
  if (!row.data) return std::string_view("", 0);
  return std::string_view(row.data, SizeOf(row));
}

void TPointerStringList::InsertEmptyRows(int index, int count) {
  if (count <= 0) return;
  if (index < 0 || index > GetCount()) IndexError(index);
  Changing();
  rows_.insert_default(index, count);
  Changed();
}

void TPointerStringList::DeleteRowRange(int index, int count) {
  if (count <= 0) return;
  CheckRange(index, count);
  Changing();
  for (int i = 0; i < count; ++i) Release(rows_[index + i]);
  rows_.erase(index, count);
  Changed();
}

void TPointerStringList::SetRow(int index, std::string_view text, std::uint32_t word) {
  CheckIndex(index);
  Changing();
  ReplaceText(rows_[index], text);
  rows_[index].word = word;
  Changed();
}

void TPointerStringList::AppendRow(std::string_view text, std::uint32_t word) {
  Row row = MakeRow(text, word);
  Changing();
  try {
    rows_.push_back(row);
  } catch (...) {
    Release(row);
    throw;
  }
  Changed();
}

void TPointerStringList::TakeRow(int index, TPointerStringList& source, int source_index) {
  CheckIndex(index);
  source.CheckIndex(source_index);
  if (&source == this && index == source_index) return;
  Row& from = source.rows_[source_index];
  Changing();
  if (Owns(from)) {
    Release(rows_[index]);
    rows_[index] = from;
    from.data = nullptr;
    from.size = 0;
  } else {
    // A row of a block belongs to the source's block: copy its bytes.
    ReplaceText(rows_[index], std::string_view(from.data, SizeOf(from)));
    rows_[index].word = from.word;
  }
  Changed();
}

void TPointerStringList::ReserveRows(int count) {
  if (count > 0) rows_.reserve(static_cast<std::size_t>(count));
}

char* TPointerStringList::AddTextBlock(std::size_t size) {
  blocks_.emplace_back(size == 0 ? 1 : size);
  return blocks_.back().data();
}

const char* TPointerStringList::AdoptTextBlock(platform::LargeBlock block) {
  blocks_.push_back(std::move(block));
  return blocks_.back().data();
}

void TPointerStringList::SetSharedRowText(int index, const char* data, std::size_t size) {
  CheckIndex(index);
  if (size > kMaxRowLength) throw platform::EListError("Row too long");
  Row& row = rows_[index];
  Release(row);
  if (size == 0) return;
  row.data = data;
  row.size = static_cast<std::uint32_t>(size) | kShared;
}

bool TPointerStringList::RowIsShared(int index) const {
  CheckIndex(index);
  return (rows_[index].size & kShared) != 0;
}

}  // namespace editor
