// The desktop's trash for a test program: a folder of its own under the
// temporary folder, so that the folders the tests' runs empty never fill
// the trash of whoever runs them. GIO reads XDG_DATA_HOME once, at its
// first use, so this is called before (at the program's start).
//
// HOME moves there too: GIO trashes into XDG_DATA_HOME only for files on
// the home folder's file system (others go to a ".Trash-UID" at the top of
// their own), and refuses to trash at all when HOME does not exist. With
// the user's own home, the tests' verdict would depend on where it is.
#pragma once

#include <stdlib.h>

#include <filesystem>

#include "tests/support/files.h"

namespace test_support {

// The folder that XDG_DATA_HOME names; the trash is its "Trash".
inline const std::filesystem::path& TestDataHome() {
  static const TempDir home("pirukko-data-home");
  static const bool set = [] {
    const std::filesystem::path user_home = home.path() / "home";
    std::filesystem::create_directory(user_home);
    setenv("HOME", user_home.c_str(), 1);
    setenv("XDG_DATA_HOME", home.path().c_str(), 1);
    return true;
  }();
  (void)set;
  return home.path();
}

}  // namespace test_support
