// The accessibility of a control's window: the client widget answers
// screen readers through the control's TAccessibleText.
#pragma once

namespace platform::control_detail {

// Installs, once, the factory that gives a control's client widget its
// accessible interface.
void InstallAccessibleFactory();

}  // namespace platform::control_detail
