// varnek: the Pirukko program. One window per desktop; closing it ends the
// program, and nothing is kept between starts.
#include <QApplication>

#include "app/window/desktop_hand_off.h"
#include "app/window/layout_look.h"
#include "app/window/program_info_window.h"
#include "app/window/qt_translations.h"
#include "app/window/single_instance.h"
#include "app/window/varnek_form.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  // The layout's own style and colours, whatever the desktop's theme.
  app::UseLayoutLook();
  app::InstallQtTranslations(application);

  app::SingleInstanceLock lock(app::SingleInstanceLock::DesktopLockPath());
  if (app::RefuseSecondInstance(lock)) return 0;

  // Only the application's name: a display name would be appended to the
  // title of every dialog, and message boxes show exactly their captions.
  QApplication::setApplicationName(QStringLiteral("Pirukko"));
  app::RegisterProgramCursors();
  app::SystemDesktopHandOff desktop;
  app::TVarnekForm::Options options;
  options.info_window_factory = app::ProgramInfoWindowFactory();
  options.desktop = &desktop;
  app::TVarnekForm form(std::move(options));
  form.show();
  return application.exec();
}
