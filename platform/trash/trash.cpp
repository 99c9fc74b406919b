#include "platform/trash/trash.h"

#include <gio/gio.h>

namespace platform {

bool MoveToTrash(std::string_view path, std::string* reason) {
  const std::string native(path);
  if (native.empty() || native.find('\0') != std::string::npos) {
    if (reason) *reason = "invalid path";
    return false;
  }
  GFile* file = g_file_new_for_path(native.c_str());
  GError* error = nullptr;
  const bool moved = g_file_trash(file, nullptr, &error);
  if (!moved && reason) *reason = error && error->message ? error->message : "unknown error";
  if (error) g_error_free(error);
  g_object_unref(file);
  return moved;
}

}  // namespace platform
