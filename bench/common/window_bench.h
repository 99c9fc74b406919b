// How the benchmarks that drive the program's window start: offscreen
// unless QT_QPA_PLATFORM names another platform, with the program's own
// translations and cursors.
#pragma once

#include <QApplication>
#include <QString>
#include <QUrl>

#include "app/window/desktop_hand_off.h"
#include "app/window/program_info_window.h"
#include "app/window/varnek_form.h"
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

// A desktop that opens nothing: a benchmark's window hands it no file or
// address worth opening.
class NoDesktop : public app::DesktopHandOff {
 public:
  bool Open(const QUrl&) override { return true; }
};

// The window as its program makes it, on `desktop`, started in
// `start_directory` (empty: the working directory).
inline app::TVarnekForm::Options ProgramWindowOptions(app::DesktopHandOff& desktop,
                                                      const QString& start_directory = QString()) {
  app::TVarnekForm::Options options;
  options.info_window_factory = app::ProgramInfoWindowFactory();
  options.desktop = &desktop;
  options.start_directory = start_directory;
  return options;
}

}  // namespace bench
