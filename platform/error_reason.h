// Why a call of the system failed, in the program's own words: one table
// from the system's error numbers to a Japanese sentence, which the log,
// standard error and the window all show.
#pragma once

#include <string>

namespace platform {

// The reason for `error` (an errno value), a sentence in UTF-8.
std::string ErrorReason(int error);

// The drive is gone: taken out, or its connection lost. Nothing more can be
// read from it or written to it.
bool DriveIsGone(int error);

// The drive cannot take any more: it is gone, full, read-only or failing.
// What was to be written after it would fail the same way.
bool DriveIsLost(int error);

}  // namespace platform
