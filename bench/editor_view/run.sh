#!/usr/bin/env bash
# Builds and runs the editor-view benchmark in a Release build of its own.
# Usage: bench/editor_view/run.sh [MB]   (default 100; BUILD_DIR picks the build folder)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${BUILD_DIR:-build/bench}"
bench/common/japanese_pages.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIRUKKO_BENCH=ON \
  -DPIRUKKO_TESTS=OFF >/dev/null
cmake --build "$build" --target editor_view_bench
QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}" "$build/bench/editor_view/editor_view_bench" "${1:-100}"
