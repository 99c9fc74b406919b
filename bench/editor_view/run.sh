#!/usr/bin/env bash
# Builds and runs the editor-view benchmark in a Release build of its own.
# Usage: bench/editor_view/run.sh [MB]   (default 100; BUILD_DIR picks the build folder)
export QT_QPA_PLATFORM="${QT_QPA_PLATFORM:-offscreen}"
exec "$(dirname "$0")/../common/run_release.sh" editor_view_bench \
  bench/editor_view/editor_view_bench "${1:-100}"
