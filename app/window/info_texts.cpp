#include "app/window/info_texts.h"

#include <QFile>
#include <QFileInfo>

#include "app/window/cp932_text.h"
#include "platform/program_data.h"

namespace app {

QString HelpFilePath(const QString& program_path) {
  const QFileInfo program(program_path);
  const QString name = program.fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const QString base = dot > 0 ? name.left(dot) : name;
  const std::string native_program = QFile::encodeName(program_path).toStdString();
  const std::string native_name = QFile::encodeName(base + QStringLiteral(".txt")).toStdString();
  const std::optional<std::string> found =
      platform::FindProgramDataFile(native_program, native_name);
  return QFile::decodeName(QByteArray::fromStdString(
      found ? *found : platform::ProgramDataCandidates(native_program, native_name).front()));
}

std::string HelpMissingText(std::string_view help_path) {
  return Cp932("Error : ヘルプ用テキストが存在しません。") + "\r  Not Found '" +
         std::string(help_path) + "' \r";
}

std::string HelpUnreadableText(std::string_view help_path) {
  return Cp932("Error : ヘルプ用テキストを読み込めません。") + "\r  Cannot Read '" +
         std::string(help_path) + "' \r";
}

std::string AboutText(std::string_view program_file_name) {
  std::string text;
  const auto line = [&text](std::string_view s) {
    text += s;
    text += '\r';
  };
  line("  Pirukko");
  line("    " + std::string(program_file_name));
  line("        Version." + std::string(kVersion));
  line(std::string(36, '-'));
  line(Cp932("    作成 : Pirukko 開発チーム"));
  line(Cp932("    ご意見・ご感想 : pirukko@example.org"));
  line(Cp932("    不具合の報告 : pirukko-bugs@example.org"));
  line(Cp932("    ホームページ : http://pirukko.example.org/"));
  return text;
}

}  // namespace app
