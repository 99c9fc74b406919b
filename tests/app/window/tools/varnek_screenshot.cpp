// Takes the pictures of the window the README shows: a directory of a few
// files (or the one given), the run (or with --preview the preview) started
// with its button, and the window saved as PNG once it has ended; prints how
// long the run took.
// Run under a display, e.g. xvfb-run -a varnek_screenshot docs/screenshot.png
#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/window/desktop_hand_off.h"
#include "ui/layout_look.h"
#include "app/window/program_info_window.h"
#include "ui/qt_translations.h"
#include "app/window/varnek_form.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  const bool preview = argc > 1 && QByteArray(argv[1]) == "--preview";
  if (preview) {
    --argc;
    ++argv;
  }
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr, "usage: varnek_screenshot [--preview] OUTPUT.png [DIRECTORY]\n");
    return 2;
  }
  ui::InstallQtTranslations(application);
  ui::UseLayoutLook();
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
  QElapsedTimer run;
  QTimer until_ended;
  QObject::connect(&until_ended, &QTimer::timeout, [&] {
    if (form.Running()) return;
    until_ended.stop();
    std::printf("run: %lld ms\n", static_cast<long long>(run.elapsed()));
    QTimer::singleShot(300, [&] {
      const bool saved = form.grab().save(QString::fromLocal8Bit(argv[1]));
      application.exit(saved ? 0 : 1);
    });
  });
  QTimer::singleShot(300, [&] {
    if (preview) {
      // A taller information window, dragged up by its splitter as a user
      // does, so that the picture shows the preview's lines.
      QWidget* splitter = form.findChild<QWidget*>(QStringLiteral("Splitter1"));
      const QPointF at(10, 1);
      const QPointF global = splitter->mapToGlobal(at);
      QMouseEvent press(QEvent::MouseButtonPress, at, global, Qt::LeftButton, Qt::LeftButton,
                        Qt::NoModifier);
      QApplication::sendEvent(splitter, &press);
      const QPointF up = global - QPointF(0, 130);
      QMouseEvent release(QEvent::MouseButtonRelease, splitter->mapFromGlobal(up), up,
                          Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
      QApplication::sendEvent(splitter, &release);
    }
    run.start();
    const char* button = preview ? "SpeedButton2" : "Button2";
    form.findChild<QAbstractButton*>(QString::fromLatin1(button))->click();
    until_ended.start(10);
  });
  return application.exec();
}
