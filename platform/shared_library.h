// A library the program loads when it first needs it, not at its start:
// for what only some runs use and what brings many other libraries with it.
#pragma once

#include <string>

namespace platform {

class SharedLibrary {
 public:
  // Loads the library by its file name (its "soname", looked for where the
  // system keeps libraries, never in the current folder), every symbol
  // bound now, kept to itself. Loaded() tells whether that worked.
  explicit SharedLibrary(const std::string& file_name);
  ~SharedLibrary();
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;

  bool Loaded() const { return handle_ != nullptr; }

  // The function `name` as a pointer of type `Function`; nil when the
  // library is not loaded or has no such symbol.
  template <typename Function>
  Function Symbol(const char* name) const {
    return reinterpret_cast<Function>(Address(name));
  }

 private:
  void* Address(const char* name) const;

  void* handle_ = nullptr;
};

}  // namespace platform
