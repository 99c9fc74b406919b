// Components: objects with an owner, a name, a loading state and removal
// notifications. The owner relation routes notifications only; who frees a
// component is decided by ordinary C++ ownership (members, unique_ptr).
#pragma once

#include <string>
#include <vector>

#include "platform/persistent.h"

namespace platform {

enum TOperation { opInsert, opRemove };

class TComponent : public TPersistent {
 public:
  explicit TComponent(TComponent* owner = nullptr);
  // Tells the owner (and through it every sibling) and every component that
  // asked for it with FreeNotification that this component is going away.
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return owner_; }
  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // True between BeginLoading and Loaded, while stored properties are set.
  bool Loading() const { return loading_; }
  void BeginLoading() { loading_ = true; }
  // Called once the stored properties are all set.
  virtual void Loaded();

  // `other` is told with Notification(this, opRemove) when this component
  // is destroyed, whoever owns either of them.
  void FreeNotification(TComponent* other);
  void RemoveFreeNotification(TComponent* other);

  // Every component that names this one as its owner.
  const std::vector<TComponent*>& Components() const { return components_; }

 protected:
  // The default forwards the news to the owned components.
  virtual void Notification(TComponent* component, TOperation operation);

 private:
  void Forget(TComponent* other);

  TComponent* owner_ = nullptr;
  std::string name_;
  bool loading_ = false;
  std::vector<TComponent*> components_;
  std::vector<TComponent*> free_notifies_;
};

}  // namespace platform
