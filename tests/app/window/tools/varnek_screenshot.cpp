// Takes the picture of the window the README shows: a directory of a few
// files (or the one given), the run started with the button, and the window
// saved as PNG; prints how long the run took.
// Run under a display, e.g. xvfb-run -a varnek_screenshot docs/screenshot.png
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/window/desktop_hand_off.h"
#include "app/window/layout_look.h"
#include "app/window/program_info_window.h"
#include "app/window/qt_translations.h"
#include "app/window/varnek_form.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: varnek_screenshot OUTPUT.png [DIRECTORY]\n");
    return 2;
  }
  app::InstallQtTranslations(application);
  app::UseLayoutLook();
  QTemporaryDir folder;
  QDir dir(folder.path() + QStringLiteral("/photos"));
  if (argc == 3) {
    dir.setPath(QString::fromLocal8Bit(argv[2]));
  } else {
    dir.mkpath(QStringLiteral("."));
    for (const char* name :
         {"beach.jpg", "harbour.jpg", "IMG_0001.JPG", "memo.txt", "sunset.jpg"}) {
      QFile file(dir.filePath(QString::fromLatin1(name)));
      file.open(QIODevice::WriteOnly);
      file.write("picture");
    }
  }

  app::RegisterProgramCursors();
  app::SystemDesktopHandOff desktop;
  app::TVarnekForm::Options options;
  options.info_window_factory = app::ProgramInfoWindowFactory();
  options.desktop = &desktop;
  options.start_directory = dir.path();
  app::TVarnekForm form(std::move(options));
  form.show();
  QTimer::singleShot(300, [&] {
    QElapsedTimer run;
    run.start();
    form.findChild<QPushButton*>(QStringLiteral("Button2"))->click();
    std::printf("run: %lld ms\n", static_cast<long long>(run.elapsed()));
    QTimer::singleShot(300, [&] {
      const bool saved = form.grab().save(QString::fromLocal8Bit(argv[1]));
      application.exit(saved ? 0 : 1);
    });
  });
  return application.exec();
}
