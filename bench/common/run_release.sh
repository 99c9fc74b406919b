#!/usr/bin/env bash
# Builds one benchmark in a Release build of its own, with the Japanese pages
# its text is made from, and runs it.
# Usage: bench/common/run_release.sh TARGET PROGRAM [ARGS...]
#   PROGRAM is the program's path inside the build folder; BUILD_DIR picks
#   the build folder (default build/bench).
set -euo pipefail
cd "$(dirname "$0")/../.."
target="$1"
program="$2"
shift 2
build="${BUILD_DIR:-build/bench}"
bench/common/japanese_pages.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIRUKKO_BENCH=ON \
  -DPIRUKKO_TESTS=OFF >/dev/null
cmake --build "$build" --target "$target"
"$build/$program" "$@"
