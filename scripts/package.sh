#!/usr/bin/env bash
# Builds the Debian package pirukko_<version>_<arch>.deb: installs what is
# missing, builds the programs in Release mode (no tests) into build/package
# and packs everything the project installs with CPack. The package lands in
# build/package/package/; install it with
#   sudo apt install ./build/package/package/pirukko_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/install-deps.sh

build=build/package
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIRUKKO_TESTS=OFF >/dev/null
cmake --build "$build"
rm -f "$build"/package/*.deb
cpack --config "$build/CPackConfig.cmake" -B "$build/package"
ls "$PWD/$build"/package/*.deb
