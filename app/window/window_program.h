// The window's own program (varnek-window) is a part of the program varnek,
// which the user starts and whose name its files carry (the help text
// varnek.txt). Started through varnek it is told so; started directly (by
// the desktop entry, a script, a test) it finds varnek itself.
#pragma once

#include <QString>

namespace app {

// The program varnek of the installation that `window_program` belongs to:
// next to it, as in the build folder, else in the installation's bin/
// folder (<prefix>/libexec/pirukko/varnek-window → <prefix>/bin/varnek).
// Where neither is there, the one next to it.
QString CommandProgramOf(const QString& window_program);

}  // namespace app
