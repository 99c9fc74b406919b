// The CP932 form of what the keyboard types and the input method composes,
// for the control's window: characters are taken whole (a surrogate pair is
// one), and one without a CP932 form is refused, never replaced.
#pragma once

#include <QString>
#include <string>

namespace platform::control_detail {

// One character of `text` from UTF-16 index `i`: a surrogate pair is one.
qsizetype CharLength(const QString& text, qsizetype i);

// The CP932 form of text typed or composed. A character without one is
// left out and counted in `refused`: it is never replaced by another
// character.
std::string TypedCp932(const QString& text, int& refused);

// The grid cells of a character being composed: those of its CP932 bytes;
// one without a CP932 form takes two when it is wide, else one.
int CharCells(const QString& one);

}  // namespace platform::control_detail
