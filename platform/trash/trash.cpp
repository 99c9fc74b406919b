#include "platform/trash/trash.h"

#include <gio/gio.h>

#include "platform/path_rules.h"
#include "platform/shared_library.h"

namespace platform {
namespace {

// GIO is loaded the first time a file goes to the trash, not when the
// program starts: most runs never empty a folder, and GIO brings GLib's
// object system with it. Only its types come from its headers.
struct GioFunctions {
  explicit GioFunctions(const SharedLibrary& library)
      : new_for_path(library.Symbol<decltype(&g_file_new_for_path)>("g_file_new_for_path")),
        trash(library.Symbol<decltype(&g_file_trash)>("g_file_trash")),
        error_free(library.Symbol<decltype(&g_error_free)>("g_error_free")),
        object_unref(library.Symbol<decltype(&g_object_unref)>("g_object_unref")) {}

  bool Complete() const { return new_for_path && trash && error_free && object_unref; }

  decltype(&g_file_new_for_path) new_for_path;
  decltype(&g_file_trash) trash;
  decltype(&g_error_free) error_free;
  decltype(&g_object_unref) object_unref;
};

const GioFunctions* Gio() {
  static const SharedLibrary library("libgio-2.0.so.0");
  static const GioFunctions functions(library);
  return functions.Complete() ? &functions : nullptr;
}

}  // namespace

bool MoveToTrash(std::string_view path, std::string* reason) {
  const std::optional<std::string> native = UsableNativePath(path);
  if (!native) {
    if (reason) *reason = "invalid path";
    return false;
  }
  const GioFunctions* gio = Gio();
  if (!gio) {
    if (reason) *reason = "GIO (libgio-2.0.so.0) could not be loaded";
    return false;
  }
  GFile* file = gio->new_for_path(native->c_str());
  GError* error = nullptr;
  const bool moved = gio->trash(file, nullptr, &error);
  if (!moved && reason) *reason = error && error->message ? error->message : "unknown error";
  if (error) gio->error_free(error);
  gio->object_unref(file);
  return moved;
}

}  // namespace platform
