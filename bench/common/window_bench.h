// How the benchmarks that drive the program's window start: offscreen
// unless QT_QPA_PLATFORM names another platform, with the program's own
// translations and cursors.
#pragma once

#include <QApplication>

#include "app/window/program_info_window.h"
#include "ui/qt_translations.h"

namespace bench {

// Before the application is made.
inline void OffscreenUnlessAsked() {
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
}

// Once it is made.
inline void PrepareProgramWindow(QApplication& application) {
  ui::InstallQtTranslations(application);
  app::RegisterProgramCursors();
}

}  // namespace bench
