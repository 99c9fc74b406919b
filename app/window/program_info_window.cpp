#include "app/window/program_info_window.h"

#include "app/window/temporary_info_panel.h"

namespace app {

InfoWindowFactory ProgramInfoWindowFactory() {
  // TEMPORARY: an empty panel until TEditor implements InfoWindow.
  return MakeTemporaryInfoPanel;
}

}  // namespace app
