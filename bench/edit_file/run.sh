#!/usr/bin/env bash
# Builds and runs the pirukko-edit file benchmark in a Release build of its own.
# Usage: bench/edit_file/run.sh [MB]   (default 100; BUILD_DIR picks the build folder)
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
exec "$(dirname "$0")/../common/run_release.sh" edit_file_bench \
  bench/edit_file/edit_file_bench "${1:-100}"
