#include "platform/program_handover.h"

#include <limits.h>
#include <stdlib.h>
#include <unistd.h>

#include <cerrno>

namespace platform {
namespace {

// Where the handing program writes down the program the user started.
constexpr char kStartedAs[] = "PIRUKKO_STARTED_AS";

}  // namespace

std::optional<std::string> OwnProgramPath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
  if (length <= 0 || static_cast<std::size_t>(length) >= sizeof path) return std::nullopt;
  return std::string(path, static_cast<std::size_t>(length));
}

int HandOverTo(const std::string& program, char* const argv[], const std::string& started_as) {
  if (setenv(kStartedAs, started_as.c_str(), 1) != 0) return errno;
  execv(program.c_str(), argv);
  const int error = errno;
  unsetenv(kStartedAs);
  return error;
}

std::optional<std::string> TakeStartedProgram() {
  const char* value = getenv(kStartedAs);
  if (value == nullptr) return std::nullopt;
  std::string started_as = value;
  unsetenv(kStartedAs);
  if (started_as.empty()) return std::nullopt;
  return started_as;
}

}  // namespace platform
