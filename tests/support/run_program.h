// Runs a program as a user does from a terminal and collects what it said:
// its standard output and error and its exit status. The environment is
// the test's own with the changes given; the Japanese locale and time zone
// are set so that dates print as the tests expect.
#pragma once

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

struct ProgramResult {
  int exit_status = -1;
  bool crashed = false;
  std::string out;
  std::string err;
};

struct RunOptions {
  std::string working_directory;
  // Variables set (a value) or removed (nothing) for the program.
  std::vector<std::pair<std::string, std::optional<std::string>>> environment;
};

inline ProgramResult RunProgram(const std::string& program, const std::vector<std::string>& args,
                                const RunOptions& options = {}) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("LANG", "ja_JP.UTF-8");
  env.insert("LC_ALL", "ja_JP.UTF-8");
  env.insert("TZ", "JST-9");
  for (const auto& [name, value] : options.environment) {
    if (value) {
      env.insert(QString::fromStdString(name), QString::fromStdString(*value));
    } else {
      env.remove(QString::fromStdString(name));
    }
  }
  process.setProcessEnvironment(env);
  if (!options.working_directory.empty()) {
    process.setWorkingDirectory(QString::fromStdString(options.working_directory));
  }
  QStringList arguments;
  // Arguments go as bytes, the way a shell passes them.
  for (const std::string& a : args) arguments << QString::fromUtf8(a.data(), a.size());
  process.start(QString::fromStdString(program), arguments);
  ProgramResult result;
  if (!process.waitForStarted(30000) || !process.waitForFinished(120000)) {
    process.kill();
    process.waitForFinished();
    result.crashed = true;
  }
  result.crashed = result.crashed || process.exitStatus() != QProcess::NormalExit;
  result.exit_status = process.exitCode();
  result.out = process.readAllStandardOutput().toStdString();
  result.err = process.readAllStandardError().toStdString();
  return result;
}

// The lines of a text, each without its line feed.
inline std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::size_t start = 0;
  while (start < text.size()) {
    const std::size_t end = text.find('\n', start);
    if (end == std::string::npos) {
      lines.push_back(text.substr(start));
      break;
    }
    lines.push_back(text.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

}  // namespace test_support
