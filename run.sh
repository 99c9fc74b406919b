#!/usr/bin/env bash
# Installs what is missing, builds the program (Release) and starts it.
set -euo pipefail
cd "$(dirname "$0")"
scripts/install-deps.sh

build=build/run
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DPIRUKKO_TESTS=OFF >/dev/null
cmake --build "$build" --target varnek

if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
  cat <<MSG
Built $build/varnek, but there is no display to show its window on
(neither DISPLAY nor WAYLAND_DISPLAY is set).
Start it on a desktop, or on a virtual display with:

  xvfb-run -a $PWD/$build/varnek
MSG
  exit 0
fi
exec "$build/varnek"
