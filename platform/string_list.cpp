#include "platform/string_list.h"

#include <algorithm>
#include <sstream>
#include <utility>

#include "platform/cp932.h"
#include "platform/file_system.h"
#include "platform/text_compare.h"

namespace platform {
namespace {

std::string ShownPath(std::string_view cp932_path) {
  return "\"" + Cp932ToUtf8Lossy(cp932_path) + "\"";
}

// A byte that makes a comma-text item need quotes.
bool NeedsQuote(char c) {
  auto b = static_cast<unsigned char>(c);
  return b <= ' ' || c == '"' || c == ',';
}

bool IsBlank(char c) {
  return static_cast<unsigned char>(c) <= ' ';
}

}  // namespace

std::ifstream OpenFileForReading(std::string_view cp932_path) {
  auto native = ToNativePath(cp932_path);
  if (!native) throw EFOpenError("Cannot open file " + ShownPath(cp932_path));
  std::ifstream in(*native, std::ios::binary);
  if (!in) throw EFOpenError("Cannot open file " + ShownPath(cp932_path));
  return in;
}

std::ofstream CreateFileForWriting(std::string_view cp932_path) {
  auto native = ToNativePath(cp932_path);
  if (!native) throw EFCreateError("Cannot create file " + ShownPath(cp932_path));
  std::ofstream out(*native, std::ios::binary | std::ios::trunc);
  if (!out) throw EFCreateError("Cannot create file " + ShownPath(cp932_path));
  return out;
}

// ---------------------------------------------------------------- TStrings

void TStrings::IndexError(int index) {
  throw EListError("List index out of bounds (" + std::to_string(index) + ")");
}

void TStrings::Put(int index, const std::string& s) {
  TObject* object = GetObject(index);
  Delete(index);
  InsertObject(index, s, object);
}

TObject* TStrings::GetObject(int) const {
  return nullptr;
}

void TStrings::PutObject(int, TObject*) {}

void TStrings::InsertObject(int index, const std::string& s, TObject* object) {
  Insert(index, s);
  PutObject(index, object);
}

int TStrings::Add(const std::string& s) {
  int index = GetCount();
  Insert(index, s);
  return index;
}

int TStrings::AddObject(const std::string& s, TObject* object) {
  int index = Add(s);
  PutObject(index, object);
  return index;
}

std::string TStrings::GetTextStr() const {
  const int count = GetCount();
  std::vector<std::string> lines;
  lines.reserve(count);
  std::size_t size = 0;
  for (int i = 0; i < count; ++i) {
    lines.push_back(Get(i));
    size += lines.back().size() + 2;
  }
  std::string text;
  text.reserve(size);
  for (const auto& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

void TStrings::SetTextStr(std::string_view text) {
  TStringsUpdate update(*this);
  Clear();
  std::size_t p = 0;
  while (p < text.size()) {
    std::size_t end = text.find_first_of("\r\n", p);
    if (end == std::string_view::npos) end = text.size();
    Add(std::string(text.substr(p, end - p)));
    p = end;
    if (p < text.size() && text[p] == '\r') ++p;
    if (p < text.size() && text[p] == '\n') ++p;
  }
}

void TStrings::SetUpdateState(bool) {}

void TStrings::Assign(const TPersistent* source) {
  if (auto strings = dynamic_cast<const TStrings*>(source)) {
    if (strings == this) return;
    TStringsUpdate update(*this);
    Clear();
    AddStrings(*strings);
    return;
  }
  TPersistent::Assign(source);
}

void TStrings::LoadFromFile(std::string_view path) {
  std::ifstream in = OpenFileForReading(path);
  LoadFromStream(in);
}

void TStrings::LoadFromStream(std::istream& stream) {
  TStringsUpdate update(*this);
  std::ostringstream whole;
  if (stream.peek() != std::char_traits<char>::eof()) whole << stream.rdbuf();
  if (stream.bad()) throw EReadError("Stream read error");
  const std::string text = std::move(whole).str();
  SetTextStr(text);
}

void TStrings::SaveToFile(std::string_view path) const {
  std::ofstream out = CreateFileForWriting(path);
  SaveToStream(out);
  out.close();
  if (!out) throw EWriteError("Stream write error " + ShownPath(path));
}

void TStrings::SaveToStream(std::ostream& stream) const {
  const std::string text = GetTextStr();
  stream.write(text.data(), static_cast<std::streamsize>(text.size()));
  if (!stream) throw EWriteError("Stream write error");
}

int TStrings::IndexOf(std::string_view s) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (AnsiSameText(Get(i), s)) return i;
  return -1;
}

int TStrings::IndexOfObject(const TObject* object) const {
  const int count = GetCount();
  for (int i = 0; i < count; ++i)
    if (GetObject(i) == object) return i;
  return -1;
}

void TStrings::AddStrings(const TStrings& strings) {
  TStringsUpdate update(*this);
  const int count = strings.GetCount();
  for (int i = 0; i < count; ++i) AddObject(strings.Get(i), strings.GetObject(i));
}

void TStrings::Exchange(int index1, int index2) {
  TStringsUpdate update(*this);
  TObject* object = GetObject(index1);
  std::string text = Get(index1);
  Put(index1, Get(index2));
  PutObject(index1, GetObject(index2));
  Put(index2, text);
  PutObject(index2, object);
}

void TStrings::BeginUpdate() {
  if (update_count_ == 0) SetUpdateState(true);
  ++update_count_;
}

void TStrings::EndUpdate() {
  if (update_count_ == 0) return;
  --update_count_;
  if (update_count_ == 0) SetUpdateState(false);
}

std::string TStrings::CommaText() const {
  const int count = GetCount();
  if (count == 1 && Get(0).empty()) return "\"\"";
  std::string result;
  for (int i = 0; i < count; ++i) {
    if (i > 0) result += ',';
    const std::string s = Get(i);
    if (std::any_of(s.begin(), s.end(), NeedsQuote)) {
      result += '"';
      for (char c : s) {
        if (c == '"') result += '"';
        result += c;
      }
      result += '"';
    } else {
      result += s;
    }
  }
  return result;
}

void TStrings::SetCommaText(std::string_view text) {
  TStringsUpdate update(*this);
  Clear();
  std::size_t p = 0;
  const std::size_t n = text.size();
  auto skip_blanks = [&] {
    while (p < n && IsBlank(text[p])) ++p;
  };
  skip_blanks();
  while (p < n) {
    std::string item;
    if (text[p] == '"') {
      // A quoted item runs to the next lone quote; a doubled quote is one quote.
      ++p;
      while (p < n) {
        if (text[p] == '"') {
          if (p + 1 < n && text[p + 1] == '"') {
            item += '"';
            p += 2;
            continue;
          }
          ++p;
          break;
        }
        item += text[p++];
      }
    } else {
      std::size_t start = p;
      while (p < n && !IsBlank(text[p]) && text[p] != ',') ++p;
      item.assign(text.substr(start, p - start));
    }
    Add(item);
    skip_blanks();
    if (p < n && text[p] == ',') {
      ++p;
      skip_blanks();
    }
  }
}

// ------------------------------------------------------------- TStringList

void TStringList::CheckIndex(int index) const {
  if (index < 0 || index >= static_cast<int>(items_.size())) IndexError(index);
}

void TStringList::Changed() {
  if (UpdateCount() == 0 && OnChange) OnChange(this);
}

void TStringList::Changing() {
  if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::SetUpdateState(bool updating) {
  if (updating)
    Changing();
  else
    Changed();
}

std::string TStringList::Get(int index) const {
  CheckIndex(index);
  return items_[index].text;
}

int TStringList::GetCount() const {
  return static_cast<int>(items_.size());
}

void TStringList::Put(int index, const std::string& s) {
  if (sorted_) throw EListError("Operation not allowed on sorted string list");
  CheckIndex(index);
  Changing();
  items_[index].text = s;
  Changed();
}

TObject* TStringList::GetObject(int index) const {
  CheckIndex(index);
  return items_[index].object;
}

void TStringList::PutObject(int index, TObject* object) {
  CheckIndex(index);
  Changing();
  items_[index].object = object;
  Changed();
}

void TStringList::InsertItem(int index, const std::string& s, TObject* object) {
  Changing();
  items_.insert(items_.begin() + index, Item{s, object});
  Changed();
}

void TStringList::Insert(int index, const std::string& s) {
  if (sorted_) throw EListError("Operation not allowed on sorted string list");
  if (index < 0 || index > static_cast<int>(items_.size())) IndexError(index);
  InsertItem(index, s, nullptr);
}

int TStringList::Add(const std::string& s) {
  int index = static_cast<int>(items_.size());
  if (sorted_ && Find(s, index)) {
    switch (duplicates_) {
      case dupIgnore:
        return index;
      case dupError:
        throw EListError("String list does not allow duplicates");
      case dupAccept:
        break;
    }
  }
  InsertItem(index, s, nullptr);
  return index;
}

void TStringList::Delete(int index) {
  CheckIndex(index);
  Changing();
  items_.erase(items_.begin() + index);
  Changed();
}

void TStringList::Clear() {
  if (items_.empty()) return;
  Changing();
  items_.clear();
  items_.shrink_to_fit();
  Changed();
}

int TStringList::IndexOf(std::string_view s) const {
  if (!sorted_) return TStrings::IndexOf(s);
  int index = 0;
  return Find(s, index) ? index : -1;
}

void TStringList::Exchange(int index1, int index2) {
  CheckIndex(index1);
  CheckIndex(index2);
  Changing();
  std::swap(items_[index1], items_[index2]);
  Changed();
}

bool TStringList::Find(std::string_view s, int& index) const {
  bool found = false;
  int low = 0;
  int high = static_cast<int>(items_.size()) - 1;
  while (low <= high) {
    int mid = low + (high - low) / 2;
    int c = AnsiCompareText(items_[mid].text, s);
    if (c < 0) {
      low = mid + 1;
    } else {
      high = mid - 1;
      if (c == 0) {
        found = true;
        if (duplicates_ != dupAccept) low = mid;
      }
    }
  }
  index = low;
  return found;
}

void TStringList::Permute(const std::vector<int>& order) {
  std::vector<Item> sorted;
  sorted.reserve(items_.size());
  for (int k : order) sorted.push_back(std::move(items_[k]));
  items_ = std::move(sorted);
}

void TStringList::Sort() {
  if (sorted_ || items_.size() < 2) return;
  // One collation key per item, then plain byte comparisons: a sort of many
  // names never runs the collator more than once per name.
  std::vector<std::string> keys;
  keys.reserve(items_.size());
  for (const auto& item : items_) keys.push_back(AnsiCompareTextKey(item.text));
  std::vector<int> order(items_.size());
  for (int i = 0; i < static_cast<int>(order.size()); ++i) order[i] = i;
  std::sort(order.begin(), order.end(), [&](int a, int b) { return keys[a] < keys[b]; });
  Changing();
  Permute(order);
  Changed();
}

void TStringList::CustomSort(const TStringListSortCompare& compare) {
  if (sorted_ || items_.size() < 2 || !compare) return;
  // The comparison sees the list as it was while a permutation is sorted, and
  // a merge sort stays in bounds even when the comparison is inconsistent.
  const int n = static_cast<int>(items_.size());
  std::vector<int> order(n), work(n);
  for (int i = 0; i < n; ++i) order[i] = i;
  for (int width = 1; width < n; width *= 2) {
    for (int left = 0; left < n; left += 2 * width) {
      int mid = std::min(left + width, n), right = std::min(left + 2 * width, n);
      int a = left, b = mid, out = left;
      while (a < mid && b < right)
        work[out++] = compare(*this, order[b], order[a]) < 0 ? order[b++] : order[a++];
      while (a < mid) work[out++] = order[a++];
      while (b < right) work[out++] = order[b++];
    }
    order.swap(work);
  }
  Changing();
  Permute(order);
  Changed();
}

void TStringList::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  if (sorted) Sort();
  sorted_ = sorted;
}

void TStringList::SetCapacity(int capacity) {
  if (capacity > static_cast<int>(items_.capacity())) items_.reserve(capacity);
}

}  // namespace platform
