#!/usr/bin/env bash
# Builds and runs the text-model benchmark in a Release build of its own.
# Usage: bench/text_model/run.sh [MB]   (default 100; BUILD_DIR picks the build folder)
set -euo pipefail
cd "$(dirname "$0")/../.."
build="${BUILD_DIR:-build/bench}"
bench/common/japanese_pages.sh
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIRUKKO_BENCH=ON \
  -DPIRUKKO_TESTS=OFF >/dev/null
cmake --build "$build" --target text_model_bench
"$build/bench/text_model/text_model_bench" "${1:-100}"
