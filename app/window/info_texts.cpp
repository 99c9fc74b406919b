#include "app/window/info_texts.h"

#include <QDir>
#include <QFileInfo>

#include "app/window/cp932_text.h"

namespace app {

QString HelpFilePath(const QString& program_path) {
  const QFileInfo program(program_path);
  const QString name = program.fileName();
  const qsizetype dot = name.lastIndexOf(QLatin1Char('.'));
  const QString base = dot > 0 ? name.left(dot) : name;
  return program.dir().filePath(base + QStringLiteral(".txt"));
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
