#include "platform/component.h"

#include <algorithm>

namespace platform {
namespace {

void Erase(std::vector<TComponent*>& list, TComponent* c) {
  list.erase(std::remove(list.begin(), list.end(), c), list.end());
}

}  // namespace

TComponent::TComponent(TComponent* owner) : owner_(owner) {
  if (owner_) {
    owner_->components_.push_back(this);
    owner_->Notification(this, opInsert);
  }
}

TComponent::~TComponent() {
  // Copies: a notified component may change these lists while it listens.
  const auto listeners = free_notifies_;
  free_notifies_.clear();
  for (TComponent* other : listeners) {
    other->Forget(this);
    other->Notification(this, opRemove);
  }
  for (TComponent* child : components_) child->owner_ = nullptr;
  components_.clear();
  if (owner_) {
    Erase(owner_->components_, this);
    owner_->Notification(this, opRemove);
    owner_ = nullptr;
  }
}

void TComponent::Loaded() {
  loading_ = false;
}

void TComponent::FreeNotification(TComponent* other) {
  if (!other || other == this) return;
  if (std::find(free_notifies_.begin(), free_notifies_.end(), other) == free_notifies_.end()) {
    free_notifies_.push_back(other);
    other->free_notifies_.push_back(this);  // so that either side can go first
  }
}

void TComponent::RemoveFreeNotification(TComponent* other) {
  Erase(free_notifies_, other);
  if (other) Erase(other->free_notifies_, this);
}

void TComponent::Forget(TComponent* other) {
  Erase(free_notifies_, other);
}

void TComponent::Notification(TComponent* component, TOperation operation) {
  if (operation == opRemove && component) RemoveFreeNotification(component);
  const auto children = components_;
  for (TComponent* child : children)
    if (child != component) child->Notification(component, operation);
}

}  // namespace platform
