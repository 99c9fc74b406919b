// The timers' engine on Qt: each timer's clock is a QTimer on the event loop
// of the thread that made it.
#pragma once

namespace platform {

// Makes the program's timers tick from Qt's event loop (platform/timer.h).
// Called once at start by a program that runs one.
void InstallQtTimers();

}  // namespace platform
