// The information window the program itself uses; main and the screenshot
// tool take it from here, so that both show the same thing.
#pragma once

#include "app/window/info_window.h"

namespace app {

InfoWindowFactory ProgramInfoWindowFactory();

}  // namespace app
