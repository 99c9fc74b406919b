// An owned, ordered list of items of one kind, with update nesting and one
// notification per change, as settings that hold a variable number of
// entries need (the editor's bracket regions, for one).
#pragma once

#include <memory>
#include <vector>

#include "platform/begin_end_guard.h"
#include "platform/persistent.h"

namespace platform {

class TCollection;

class TCollectionItem : public TPersistent {
 public:
  TCollectionItem() = default;
  TCollectionItem(const TCollectionItem&) = delete;
  TCollectionItem& operator=(const TCollectionItem&) = delete;

  TCollection* Collection() const { return collection_; }
  // The item's place in its collection, or -1 outside one.
  int Index() const;
  // A number unique within the collection, kept across moves.
  int ID() const { return id_; }

 protected:
  // Reports a change of this item (or of every item) to the collection,
  // unless the collection is inside an update.
  void Changed(bool all_items);

 private:
  friend class TCollection;
  TCollection* collection_ = nullptr;
  int id_ = 0;
};

class TCollection : public TPersistent {
 public:
  TCollection() = default;
  ~TCollection() override;
  TCollection(const TCollection&) = delete;
  TCollection& operator=(const TCollection&) = delete;

  // Appends a new item and returns it; the collection owns it.
  virtual TCollectionItem* Add();
  // Removes every item.
  void Clear();
  // Removes and frees the item at `index`. Raises EListError when outside.
  void Delete(int index);
  int Count() const { return static_cast<int>(items_.size()); }
  // The item at a 0-based index. Raises EListError when outside.
  TCollectionItem* Items(int index) const;

  void BeginUpdate() { ++update_count_; }
  // Closes one level and reports the change, as every closed update does.
  void EndUpdate();
  int UpdateCount() const { return update_count_; }

  // From another collection: clear, then add one item per source item and
  // copy it, inside one update.
  void Assign(const TPersistent* source) override;

 protected:
  // Makes the item this collection holds; descendants make their own kind.
  virtual std::unique_ptr<TCollectionItem> CreateItem() = 0;
  // Called after each change outside an update: `item` is the changed item,
  // or nil when the whole collection changed.
  virtual void Update(TCollectionItem* item) {}
  // Reports a change of the whole collection, unless inside an update.
  void Changed();

 private:
  friend class TCollectionItem;
  std::vector<std::unique_ptr<TCollectionItem>> items_;
  int update_count_ = 0;
  int next_id_ = 0;
};

// Keeps a collection inside one update for its lifetime, on every path.
using TCollectionUpdate =
    TBeginEndGuard<TCollection, &TCollection::BeginUpdate, &TCollection::EndUpdate>;

}  // namespace platform
