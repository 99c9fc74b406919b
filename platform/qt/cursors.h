// The application's cursor table: an index names a mouse-pointer shape.
// Negative indexes are the built-in shapes; positive ones are images the
// program registers at start-up.
#pragma once

#include <cstdint>
#include <string_view>

namespace platform {

using TCursor = std::int16_t;

inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crNone = -1;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crIBeam = -4;
inline constexpr TCursor crSizeNESW = -6;
inline constexpr TCursor crSizeNS = -7;
inline constexpr TCursor crSizeNWSE = -8;
inline constexpr TCursor crSizeWE = -9;
inline constexpr TCursor crUpArrow = -10;
inline constexpr TCursor crHourGlass = -11;
inline constexpr TCursor crDrag = -12;
inline constexpr TCursor crNoDrop = -13;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crMultiDrag = -16;
inline constexpr TCursor crSQLWait = -17;
inline constexpr TCursor crNo = -18;
inline constexpr TCursor crAppStart = -19;
inline constexpr TCursor crHelp = -20;
inline constexpr TCursor crHandPoint = -21;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crSize = crSizeAll;

// Loads the cursor image named `name` ("RightArrow", "DragSelCopy") into the
// first slot from 1 upward that still holds the default shape, and answers
// that index. A name without an image is logged and answers crDefault, so
// that a control using it shows the default pointer. Needs the application
// object.
TCursor RegisterCursorResource(std::string_view name);

// Whether the slot holds a registered image.
bool CursorSlotUsed(TCursor index);

}  // namespace platform
