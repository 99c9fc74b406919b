// The directory the window starts at when one is named on the command line,
// as a file manager passes the folder it opens with the program.
#pragma once

#include <QString>

namespace app {

class TVarnekForm;

// Chooses `directory` (made absolute) in the window's directory list. One
// that does not exist or cannot be chosen is refused with a message box
// naming it, and the window stays where it started, at the working
// directory. True when it was chosen.
bool ChooseStartDirectory(TVarnekForm& form, const QString& directory);

}  // namespace app
