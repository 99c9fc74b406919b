#include "platform/shared_library.h"

#include <dlfcn.h>

namespace platform {

SharedLibrary::SharedLibrary(const std::string& file_name) {
  // A name with a "/" would be taken as a path; a soname never has one.
  if (file_name.empty() || file_name.find('/') != std::string::npos) return;
  handle_ = dlopen(file_name.c_str(), RTLD_NOW | RTLD_LOCAL);
}

SharedLibrary::~SharedLibrary() {
  if (handle_) dlclose(handle_);
}

void* SharedLibrary::Address(const char* name) const {
  return handle_ ? dlsym(handle_, name) : nullptr;
}

}  // namespace platform
