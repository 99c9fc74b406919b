// String lists: the abstract TStrings (lines with optional objects, update
// nesting, whole text, comma text, files) and TStringList, the plain ordered
// list with sorting and change events. The editor's line views derive from
// these, so the virtual operations are the extension points they override.
#pragma once

#include <fstream>
#include <functional>
#include <istream>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/begin_end_guard.h"
#include "platform/persistent.h"

namespace platform {

// Raised for an index outside a list and for operations a list refuses
// (inserting into a sorted list, a duplicate where none are allowed).
class EListError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Raised when a file cannot be opened, created, read or written.
class EStreamError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EFOpenError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EFCreateError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EReadError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};
class EWriteError : public EStreamError {
 public:
  using EStreamError::EStreamError;
};

// Opens a file named by CP932 bytes for binary reading or for writing
// (created or truncated). Raises EFOpenError / EFCreateError on failure,
// including a name that has no form on disk.
std::ifstream OpenFileForReading(std::string_view cp932_path);
std::ofstream CreateFileForWriting(std::string_view cp932_path);

class TStrings : public TPersistent {
 public:
  ~TStrings() override = default;

  virtual std::string Get(int index) const = 0;
  virtual int GetCount() const = 0;
  // Replaces line `index`; the default deletes and re-inserts it with its object.
  virtual void Put(int index, const std::string& s);
  // Per-line objects; lists that keep none read nil and ignore writes.
  virtual TObject* GetObject(int index) const;
  virtual void PutObject(int index, TObject* object);
  virtual void Insert(int index, const std::string& s) = 0;
  virtual void InsertObject(int index, const std::string& s, TObject* object);
  // Appends a line and returns its index.
  virtual int Add(const std::string& s);
  virtual int AddObject(const std::string& s, TObject* object);
  virtual void Delete(int index) = 0;
  virtual void Clear() = 0;
  // Every line followed by CR LF.
  virtual std::string GetTextStr() const;
  // Clear, then one line per line of `text`: CR LF, CR and LF end lines,
  // a final line break adds no empty line, NUL is an ordinary byte.
  virtual void SetTextStr(std::string_view text);
  // Called at the outermost BeginUpdate (true) and EndUpdate (false).
  virtual void SetUpdateState(bool updating);
  // From another TStrings: clear, then add its lines and objects, inside one update.
  void Assign(const TPersistent* source) override;
  // Paths are CP932 bytes; failures raise EStreamError descendants.
  virtual void LoadFromFile(std::string_view path);
  virtual void LoadFromStream(std::istream& stream);
  virtual void SaveToFile(std::string_view path) const;
  virtual void SaveToStream(std::ostream& stream) const;
  // First line equal to `s` with case ignored in the user's collation, or -1.
  virtual int IndexOf(std::string_view s) const;
  virtual void AddStrings(const TStrings& strings);
  virtual void Exchange(int index1, int index2);

  int IndexOfObject(const TObject* object) const;

  // Update nesting: only the outermost pair reaches SetUpdateState.
  void BeginUpdate();
  void EndUpdate();
  int UpdateCount() const { return update_count_; }

  std::string Text() const { return GetTextStr(); }
  void SetText(std::string_view text) { SetTextStr(text); }
  // Lines joined by ","; a line holding a space, a control character, a
  // double quote or a comma is quoted with inner quotes doubled; a single
  // empty line is "". SetCommaText parses the same form back.
  std::string CommaText() const;
  void SetCommaText(std::string_view text);

  int Count() const { return GetCount(); }
  std::string Strings(int index) const { return Get(index); }
  std::string operator[](int index) const { return Get(index); }
  TObject* Objects(int index) const { return GetObject(index); }

 protected:
  // Raises EListError with "List index out of bounds (index)".
  [[noreturn]] static void IndexError(int index);

 private:
  int update_count_ = 0;
};

// Keeps a list inside one update for its lifetime, on every path.
using TStringsUpdate = TBeginEndGuard<TStrings, &TStrings::BeginUpdate, &TStrings::EndUpdate>;

enum TDuplicates { dupIgnore, dupAccept, dupError };

class TStringList;
// Compares the items at two indexes: negative, zero or positive.
using TStringListSortCompare = std::function<int(const TStringList& list, int index1, int index2)>;

class TStringList : public TStrings {
 public:
  TStringList() = default;
  ~TStringList() override = default;
  TStringList(const TStringList&) = delete;
  TStringList& operator=(const TStringList&) = delete;

  std::string Get(int index) const override;
  int GetCount() const override;
  void Put(int index, const std::string& s) override;
  TObject* GetObject(int index) const override;
  void PutObject(int index, TObject* object) override;
  void Insert(int index, const std::string& s) override;
  // On a sorted list the line goes to its sorted place (Duplicates decides
  // about an equal line already there).
  int Add(const std::string& s) override;
  void Delete(int index) override;
  void Clear() override;
  int IndexOf(std::string_view s) const override;
  void Exchange(int index1, int index2) override;
  void SetUpdateState(bool updating) override;

  // Binary search of a sorted list with the user's case-ignoring collation:
  // true and the index when found (the first of several equal lines when
  // duplicates are accepted), else false and the index where `s` would go.
  bool Find(std::string_view s, int& index) const;
  // Ascending by the user's case-ignoring collation; not stable. Does
  // nothing on a list that is kept sorted (it already is).
  virtual void Sort();
  virtual void CustomSort(const TStringListSortCompare& compare);

  bool Sorted() const { return sorted_; }
  void SetSorted(bool sorted);
  TDuplicates Duplicates() const { return duplicates_; }
  void SetDuplicates(TDuplicates duplicates) { duplicates_ = duplicates; }
  int Capacity() const { return static_cast<int>(items_.capacity()); }
  void SetCapacity(int capacity);

  TNotifyEvent OnChange;
  TNotifyEvent OnChanging;

 protected:
  // Fire OnChange / OnChanging unless an update is open.
  virtual void Changed();
  virtual void Changing();

 private:
  struct Item {
    std::string text;
    TObject* object = nullptr;
  };

  void CheckIndex(int index) const;
  void InsertItem(int index, const std::string& s, TObject* object);
  // Reorders the items so that item k is the old item order[k].
  void Permute(const std::vector<int>& order);

  std::vector<Item> items_;
  bool sorted_ = false;
  TDuplicates duplicates_ = dupIgnore;
};

}  // namespace platform
