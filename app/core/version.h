// The program's version text, from the project's version in CMake, so that
// the about text, the command line and the package say the same.
#pragma once

#include <string_view>

#ifndef PIRUKKO_VERSION
#error "PIRUKKO_VERSION must hold the project's version"
#endif

namespace app {

inline constexpr std::string_view kVersion = PIRUKKO_VERSION;

}  // namespace app
