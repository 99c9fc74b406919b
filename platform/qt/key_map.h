// Qt key codes to virtual-key codes.
#pragma once

#include <Qt>

namespace platform::control_detail {

// The virtual-key code of a Qt key; 0 for keys that have none. Keypad keys
// (KeypadModifier) give the VK_NUMPAD codes.
int VirtualKeyOf(int qt_key, Qt::KeyboardModifiers modifiers);

// Keys of the navigation block and the right-hand Ctrl/Alt, which the key
// data marks as extended.
bool IsExtendedKey(int qt_key, Qt::KeyboardModifiers modifiers);

}  // namespace platform::control_detail
