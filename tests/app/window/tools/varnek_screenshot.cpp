// Takes the pictures of the window the README shows: a directory of a few
// files (or the one given), the run (or with --preview the preview) started
// with its button, and the window saved as PNG once it has ended; prints how
// long the run took. --size WxH takes the window grown to that size (the
// information window taking the added room), --files N makes N photos in
// the directory instead of five.
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
#include "app/window/program_info_window.h"
#include "app/window/varnek_form.h"
#include "ui/layout_look.h"
#include "ui/qt_translations.h"

int main(int argc, char* argv[]) {
  QApplication application(argc, argv);
  bool preview = false;
  QSize size;
  int files = 0;
  while (argc > 1 && QByteArray(argv[1]).startsWith("--")) {
    const QByteArray option = argv[1];
    if (option == "--preview") {
      preview = true;
    } else if (option == "--size" && argc > 2) {
      const QList<QByteArray> wh = QByteArray(argv[2]).split('x');
      if (wh.size() == 2) size = QSize(wh[0].toInt(), wh[1].toInt());
      --argc;
      ++argv;
    } else if (option == "--files" && argc > 2) {
      files = QByteArray(argv[2]).toInt();
      --argc;
      ++argv;
    }
    --argc;
    ++argv;
  }
  if (argc != 2 && argc != 3) {
    std::fprintf(stderr,
                 "usage: varnek_screenshot [--preview] [--size WxH] [--files N] OUTPUT.png "
                 "[DIRECTORY]\n");
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
    QStringList names = {"beach.jpg", "harbour.jpg", "IMG_0001.JPG", "memo.txt", "sunset.jpg"};
    if (files > 0) {
      names.clear();
      for (int i = 1; i <= files; ++i)
        names << QStringLiteral("IMG_%1.JPG").arg(i, 4, 10, QChar('0'));
    }
    for (const QString& name : names) {
      QFile file(dir.filePath(name));
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
  if (size.isValid()) form.resize(size);
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
    if (preview && !size.isValid()) {
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
