// Runs a program as a user does from a terminal and collects what it said:
// its standard output and error and its exit status. The environment is
// the test's own with the changes given; the Japanese locale and time zone
// are set so that dates print as the tests expect (scripts/install-deps.sh
// generates the locale, so that it is the same on every machine).
#pragma once

#include <fcntl.h>
#include <locale.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QStringList>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace test_support {

// Whether the machine has the locale `name` (such as "ja_JP.UTF-8"): a
// program given one it lacks runs in the C locale instead, and a test of
// what a locale changes would check nothing there.
inline bool LocaleInstalled(const std::string& name) {
  const locale_t locale = newlocale(LC_ALL_MASK, name.c_str(), nullptr);
  if (locale == nullptr) return false;
  freelocale(locale);
  return true;
}

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

// Runs `program` as RunProgram does, but with Ctrl+C pressed at once: the
// program starts with SIGINT blocked and already pending, so that it meets
// the signal at the moment it first lets it in, however fast or slow it
// starts. Its output goes through files, so nothing waits on a pipe.
inline ProgramResult RunInterrupted(const std::string& program,
                                    const std::vector<std::string>& args,
                                    const std::string& scratch_folder) {
  const std::string out_path = scratch_folder + "/interrupted.out";
  const std::string err_path = scratch_folder + "/interrupted.err";
  std::vector<std::string> argv_text = {program};
  argv_text.insert(argv_text.end(), args.begin(), args.end());
  std::vector<char*> argv;
  for (std::string& a : argv_text) argv.push_back(a.data());
  argv.push_back(nullptr);
  // The environment is made here: the child only execs.
  std::vector<std::string> env_text = {"LANG=ja_JP.UTF-8", "LC_ALL=ja_JP.UTF-8", "TZ=JST-9"};
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    if (name != "LANG" && name != "LC_ALL" && name != "TZ" && name != "DISPLAY" &&
        name != "WAYLAND_DISPLAY" && name != "QT_QPA_PLATFORM") {
      env_text.push_back(entry);
    }
  }
  std::vector<char*> envp;
  for (std::string& e : env_text) envp.push_back(e.data());
  envp.push_back(nullptr);

  sigset_t interrupt, previous;
  sigemptyset(&interrupt);
  sigaddset(&interrupt, SIGINT);
  pthread_sigmask(SIG_BLOCK, &interrupt, &previous);
  const pid_t pid = fork();
  if (pid == 0) {
    const int out = open(out_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(err_path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    dup2(out, 1);
    dup2(err, 2);
    kill(getpid(), SIGINT);  // pending until the program takes it
    execve(program.c_str(), argv.data(), envp.data());
    _exit(127);
  }
  pthread_sigmask(SIG_SETMASK, &previous, nullptr);
  ProgramResult result;
  int status = 0;
  waitpid(pid, &status, 0);
  result.crashed = !WIFEXITED(status);
  result.exit_status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
  const auto read = [](const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  };
  result.out = read(out_path);
  result.err = read(err_path);
  return result;
}

}  // namespace test_support
