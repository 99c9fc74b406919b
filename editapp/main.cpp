// pirukko-edit: a Shift-JIS (CP932) text editor on the program's own editor
// control. It opens a file and saves it back byte for byte.
//
//   pirukko-edit [FILE]
#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <string>

#include "ui/layout_look.h"
#include "ui/qt_translations.h"
#include "editapp/window/edit_window.h"
#include "platform/qt/qt_timer.h"

int main(int argc, char** argv) {
  std::string path;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--help" || arg == "-h" || !path.empty() || (arg.size() > 1 && arg[0] == '-')) {
      std::fprintf(stderr, "usage: pirukko-edit [FILE]\n");
      return arg == "--help" || arg == "-h" ? 0 : 2;
    }
    path = arg;
  }

  QApplication application(argc, argv);
  platform::InstallQtTimers();
  QApplication::setApplicationName(QStringLiteral("pirukko-edit"));
  QApplication::setDesktopFileName(QStringLiteral("org.example.Pirukko.Edit"));
  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.Pirukko")));
  ui::InstallQtTranslations(application);
  // The same look as the copy tool's window, whatever the desktop's theme.
  ui::UseLayoutLook();

  editapp::EditWindow window;
  if (!path.empty()) window.Start(path);
  window.show();
  return application.exec();
}
