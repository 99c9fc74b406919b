#include "platform/path_rules.h"

namespace platform {

std::string_view SeparatorAfter(std::string_view directory) {
  return !directory.empty() && directory.back() == kPathDelimiter ? "" : "/";
}

std::string JoinPath(std::string_view directory, std::string_view name) {
  std::string path(directory);
  path += SeparatorAfter(directory);
  path += name;
  return path;
}

std::string ExtractFileName(std::string_view path) {
  auto slash = path.rfind(kPathDelimiter);
  return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

bool IsFullPath(std::string_view path) {
  return !path.empty() && path.front() == kPathDelimiter;
}

std::optional<std::string> UsableNativePath(std::string_view native_path) {
  if (native_path.empty() || native_path.find('\0') != std::string_view::npos) return std::nullopt;
  return std::string(native_path);
}

}  // namespace platform
