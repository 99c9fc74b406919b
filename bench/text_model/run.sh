#!/usr/bin/env bash
# Builds and runs the text-model benchmark in a Release build of its own.
# Usage: bench/text_model/run.sh [MB]   (default 100; BUILD_DIR picks the build folder)
exec "$(dirname "$0")/../common/run_release.sh" text_model_bench \
  bench/text_model/text_model_bench "${1:-100}"
