// The desktop's trash for a test program: a folder of its own under the
// temporary folder, so that the folders the tests' runs empty never fill
// the trash of whoever runs them. GIO reads XDG_DATA_HOME once, at its
// first use, so this is called before (at the program's start).
#pragma once

#include <stdlib.h>

#include <filesystem>

#include "tests/support/files.h"

namespace test_support {

// The folder that XDG_DATA_HOME names; the trash is its "Trash".
inline const std::filesystem::path& TestDataHome() {
  static const TempDir home("pirukko-data-home");
  static const bool set = (setenv("XDG_DATA_HOME", home.path().c_str(), 1), true);
  (void)set;
  return home.path();
}

}  // namespace test_support
