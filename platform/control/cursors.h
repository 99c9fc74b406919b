// The application's cursor table: an index names a mouse-pointer shape.
// Negative indexes are the built-in shapes; positive ones are images the
// program registers at start-up.
#pragma once

#include <cstdint>
#include <string_view>

#include "platform/cursor_index.h"

namespace platform {

// TCursor and the built-in shapes crDefault, crIBeam, ... are in cursor_index.h.

// Loads the cursor image named `name` ("RightArrow", "DragSelCopy") into the
// first slot from 1 upward that still holds the default shape, and answers
// that index. A name without an image is logged and answers crDefault, so
// that a control using it shows the default pointer. Needs the application
// object.
TCursor RegisterCursorResource(std::string_view name);

// Whether the slot holds a registered image.
bool CursorSlotUsed(TCursor index);

}  // namespace platform
