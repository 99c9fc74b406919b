#include "app/window/window_program.h"

#include <QDir>
#include <QFileInfo>

#ifndef PIRUKKO_COMMAND_PROGRAM
#error "PIRUKKO_COMMAND_PROGRAM must name the program file the user starts"
#endif
#ifndef PIRUKKO_PROGRAM_FROM_HELPERS
#error "PIRUKKO_PROGRAM_FROM_HELPERS must name the program's folder relative to the window's"
#endif

namespace app {

QString CommandProgramOf(const QString& window_program) {
  const QDir folder = QFileInfo(window_program).absoluteDir();
  const QString name = QStringLiteral(PIRUKKO_COMMAND_PROGRAM);
  const QString beside = folder.filePath(name);
  const QString installed =
      QDir::cleanPath(folder.filePath(QStringLiteral(PIRUKKO_PROGRAM_FROM_HELPERS "/") + name));
  if (!QFileInfo(beside).isFile() && QFileInfo(installed).isFile()) return installed;
  return beside;
}

}  // namespace app
