#include "platform/collection.h"

#include <algorithm>
#include <string>

#include "platform/string_list.h"

namespace platform {

int TCollectionItem::Index() const {
  if (!collection_) return -1;
  const auto& items = collection_->items_;
  for (size_t i = 0; i < items.size(); ++i) {
    if (items[i].get() == this) return static_cast<int>(i);
  }
  return -1;
}

void TCollectionItem::Changed(bool all_items) {
  if (collection_ && collection_->update_count_ == 0) {
    collection_->Update(all_items ? nullptr : this);
  }
}

TCollection::~TCollection() {
  // Items outlive no collection; they are freed without notifying anyone,
  // since whoever listened is being torn down too.
  for (auto& item : items_) item->collection_ = nullptr;
}

TCollectionItem* TCollection::Add() {
  std::unique_ptr<TCollectionItem> item = CreateItem();
  item->collection_ = this;
  item->id_ = next_id_++;
  items_.push_back(std::move(item));
  Changed();
  return items_.back().get();
}

void TCollection::Clear() {
  if (items_.empty()) return;
  TCollectionUpdate update(*this);
  while (!items_.empty()) {
    items_.back()->collection_ = nullptr;
    items_.pop_back();
  }
}

void TCollection::Delete(int index) {
  Items(index);  // checks the index
  items_[static_cast<size_t>(index)]->collection_ = nullptr;
  items_.erase(items_.begin() + index);
  Changed();
}

TCollectionItem* TCollection::Items(int index) const {
  if (index < 0 || index >= Count()) {
    throw EListError("List index out of bounds (" + std::to_string(index) + ")");
  }
  return items_[static_cast<size_t>(index)].get();
}

void TCollection::EndUpdate() {
  --update_count_;
  Changed();
}

void TCollection::Changed() {
  if (update_count_ == 0) Update(nullptr);
}

void TCollection::Assign(const TPersistent* source) {
  const auto* other = dynamic_cast<const TCollection*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  TCollectionUpdate update(*this);
  if (other == this) return;  // clearing first would lose every item
  Clear();
  for (int i = 0; i < other->Count(); ++i) Add()->Assign(other->Items(i));
}

}  // namespace platform
