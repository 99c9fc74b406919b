// The base of every settings object of the editor: one change notification,
// held back while an update is open, so that a batch of changes reports once.
// A compound object installs its ChildChanged in each part's change event, so
// that a change of a part becomes a change of the owner.
#pragma once

#include <exception>
#include <utility>

#include "platform/persistent.h"

namespace editor {

class TNotifyPersistent : public platform::TPersistent {
 public:
  TNotifyPersistent() = default;
  TNotifyPersistent(const TNotifyPersistent&) = delete;
  TNotifyPersistent& operator=(const TNotifyPersistent&) = delete;

  // Holds notifications back until the matching EndUpdate.
  void BeginUpdate() { ++FUpdateCount; }
  // Closes one level and notifies, whether or not anything changed since the
  // BeginUpdate: callers rely on one notification per closed bracket.
  void EndUpdate();

  // Notifies the handler with this object as sender, unless an update is open.
  virtual void Changed();
  // The handler an owner installs in its parts: a change of a part is a
  // change of the owner.
  virtual void ChildChanged(platform::TObject* sender);

  int UpdateCount() const { return FUpdateCount; }
  const platform::TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(platform::TNotifyEvent handler) { FOnChange = std::move(handler); }

 protected:
  // Makes `part` report its changes to this object.
  void Adopt(TNotifyPersistent& part);

  // The rule of every setter: store the value, and notify only when it differs.
  template <class T, class U>
  void ChangeField(T& field, U&& value) {
    if (field == value) return;
    field = std::forward<U>(value);
    Changed();
  }

 private:
  int FUpdateCount = 0;
  platform::TNotifyEvent FOnChange;
};

// Keeps an update of a settings object open for its lifetime, so that every
// path out of a batch of changes, exceptions included, closes it again.
class TUpdateGuard {
 public:
  explicit TUpdateGuard(TNotifyPersistent& target)
      : target_(target), exceptions_(std::uncaught_exceptions()) {
    target_.BeginUpdate();
  }
  ~TUpdateGuard() noexcept(false);
  TUpdateGuard(const TUpdateGuard&) = delete;
  TUpdateGuard& operator=(const TUpdateGuard&) = delete;

 private:
  TNotifyPersistent& target_;
  int exceptions_;
};

}  // namespace editor
