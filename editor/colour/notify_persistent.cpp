#include "editor/colour/notify_persistent.h"

namespace editor {

void TNotifyPersistent::EndUpdate() {
  --FUpdateCount;
  Changed();
}

void TNotifyPersistent::Changed() {
  if (FUpdateCount == 0 && FOnChange) FOnChange(this);
}

void TNotifyPersistent::ChildChanged(platform::TObject* sender) {
  if (sender != this) Changed();
}

void TNotifyPersistent::Adopt(TNotifyPersistent& part) {
  part.SetOnChange([this](platform::TObject* sender) { ChildChanged(sender); });
}

TUpdateGuard::~TUpdateGuard() noexcept(false) {
  if (std::uncaught_exceptions() > exceptions_) {
    // Already unwinding: the bracket must still close, but a failing handler
    // must not end the program while another failure is on its way up.
    try {
      target_.EndUpdate();
    } catch (...) {
    }
    return;
  }
  target_.EndUpdate();
}

}  // namespace editor
