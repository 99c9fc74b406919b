// The base of every settings object: one change notification, held back
// while an update is open, so that a batch of changes reports once. A
// compound object installs its ChildChanged in each part's change event, so
// that a change of a part becomes a change of the owner.
#pragma once

#include <utility>

#include "platform/begin_end_guard.h"
#include "platform/persistent.h"

namespace platform {

class TNotifyPersistent : public TPersistent {
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
  virtual void ChildChanged(TObject* sender);

  int UpdateCount() const { return FUpdateCount; }
  const TNotifyEvent& OnChange() const { return FOnChange; }
  void SetOnChange(TNotifyEvent handler) { FOnChange = std::move(handler); }

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

  // The Assign of a settings class T (`self` is this object): from another
  // T, every field `fields` lists (see CopyFields) is copied inside one
  // update, so that the copy notifies once, at its end, whatever its parts
  // report on the way; from anything else, the base rule applies.
  template <class T, class Fields>
  void AssignFields(T& self, const TPersistent* source, const Fields& fields);

 private:
  int FUpdateCount = 0;
  TNotifyEvent FOnChange;
};

// Keeps an update of a settings object open for its lifetime, so that every
// path out of a batch of changes, exceptions included, closes it again.
using TUpdateGuard = TBeginEndGuard<TNotifyPersistent, &TNotifyPersistent::BeginUpdate,
                                    &TNotifyPersistent::EndUpdate>;

template <class T, class Fields>
void TNotifyPersistent::AssignFields(T& self, const TPersistent* source, const Fields& fields) {
  const auto* other = dynamic_cast<const T*>(source);
  if (!other) {
    TPersistent::Assign(source);
    return;
  }
  TUpdateGuard update(*this);
  CopyFields(self, *other, fields);
}

}  // namespace platform
