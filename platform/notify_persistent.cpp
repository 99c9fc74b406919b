#include "platform/notify_persistent.h"

namespace platform {

void TNotifyPersistent::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TNotifyPersistent::Changed() {
  if (FUpdateCount == 0 && FOnChange) FOnChange(this);
}

void TNotifyPersistent::ChildChanged(TObject* sender) {
  if (sender != this) Changed();
}

void TNotifyPersistent::Adopt(TNotifyPersistent& part) {
  part.SetOnChange([this](TObject* sender) { ChildChanged(sender); });
}

}  // namespace platform
