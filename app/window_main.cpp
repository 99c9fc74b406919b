// varnek-window: the Pirukko window, started through varnek (main.cpp),
// which hands it the arguments as the user gave them. One window per
// desktop; closing it ends the program. Its settings are kept for the next
// start only when the user asks for it (設定を保存).
#include <QApplication>
#include <QFile>
#include <QIcon>

#include <filesystem>
#include <iostream>
#include <optional>
#include <string>

#include "app/cli/command_line.h"
#include "app/cli/command_line_run.h"
#include "app/window/desktop_hand_off.h"
#include "app/window/program_info_window.h"
#include "app/window/single_instance.h"
#include "app/window/start_directory.h"
#include "app/window/varnek_form.h"
#include "app/window/window_program.h"
#include "platform/program_handover.h"
#include "platform/qt/qt_timer.h"
#include "ui/layout_look.h"
#include "ui/qt_translations.h"

int main(int argc, char* argv[]) {
  // The program the user started, whose folder holds the help file.
  const std::optional<std::string> started_as = platform::TakeStartedProgram();

  QApplication application(argc, argv);
  platform::InstallQtTimers();
  // The layout's own style and colours, whatever the desktop's theme.
  ui::UseLayoutLook();
  // What Qt leaves of the arguments: at most the start directory.
  const app::cli::ParseResult start = app::cli::ParseCommandLine({argv + 1, argv + argc});
  if (!start.command_line) {
    std::cerr << "varnek: " << start.error << "\n";
    return app::cli::kExitStopped;
  }
  ui::InstallQtTranslations(application);

  // Only the application's name: a display name would be appended to the
  // title of every dialog, and message boxes show exactly their captions.
  QApplication::setApplicationName(QStringLiteral("Pirukko"));
  // The installed desktop entry and icon (packaging/) name every window,
  // the second start's message too: on Wayland it is the application id,
  // fixed when a window first shows.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Pirukko"));

  const QString lock_path = app::SingleInstanceLock::DesktopLockPath();
  app::SingleInstanceLock lock(lock_path);
  const std::optional<std::string>& directory = start.command_line->directory;
  if (!lock.TryLock() && directory) {
    // A folder for the window already open: it comes to the front and
    // chooses it. Only where no window answers is the start refused.
    std::error_code no_cwd;
    const std::filesystem::path absolute = std::filesystem::absolute(*directory, no_cwd);
    const QByteArray folder = QByteArray::fromStdString(absolute.string());
    if (app::InstanceChannel::HandFolder(lock_path, folder)) return 0;
  }
  if (app::RefuseSecondInstance(lock)) return 0;

  QApplication::setWindowIcon(QIcon::fromTheme(QStringLiteral("org.example.Pirukko")));
  app::RegisterProgramCursors();
  app::SystemDesktopHandOff desktop;
  app::TVarnekForm::Options options;
  options.info_window_factory = app::ProgramInfoWindowFactory();
  options.desktop = &desktop;
  // Started directly, the window is still varnek's: its help is varnek's.
  options.program_path = started_as
                             ? QFile::decodeName(QByteArray::fromStdString(*started_as))
                             : app::CommandProgramOf(QCoreApplication::applicationFilePath());
  app::TVarnekForm form(std::move(options));
  app::InstanceChannel channel(lock_path);
  channel.OnFolder = [&form](const QByteArray& folder) {
    form.TakeHandedFolder(QFile::decodeName(folder));
  };
  channel.Listen();
  form.show();
  if (directory) {
    app::ChooseStartDirectory(form, QFile::decodeName(QByteArray::fromStdString(*directory)));
  }
  return application.exec();
}
