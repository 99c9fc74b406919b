#!/usr/bin/env bash
# Meets the window as a user's screen reader does: through AT-SPI, the
# desktop's accessibility bus. Starts a D-Bus session (dbus-run-session), a
# virtual display (Xvfb), the accessibility bus and registry (at-spi2-core)
# and the window with QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 over a small folder,
# then with /usr/bin/python3 and pyatspi:
#   - dumps the window's tree (role, name, states; the labels of each field),
#   - reads the information window's text, caret and last line,
#   - presses プレビュー through its action and checks that the new text is
#     announced as an insertion (object:text-changed:insert) and readable.
#
#   scripts/check-accessibility.sh [BUILD_DIR]     (default build/test)
#
# Installs at-spi2-core, python3-pyatspi, xvfb and dbus when they are missing
# (through install-deps.sh). Not part of ./test.sh: it needs a session bus and an
# accessibility bus of its own, which the test suite cannot start reliably
# beside other runs. Exit status 0 when every check passed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}

scripts/install-deps.sh at-spi2-core python3-pyatspi xvfb dbus dbus-bin

if [ ! -x "$build/varnek-window" ]; then
  cmake --build "$build" --target varnek-window
fi
program=$(realpath "$build/varnek-window")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/photos"
for n in 1 2 3; do echo "photo $n" > "$work/photos/写真$n.jpg"; done

export PIRUKKO_A11Y_PROGRAM=$program PIRUKKO_A11Y_FOLDER=$work/photos
exec dbus-run-session -- bash -c '
  set -euo pipefail
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${display#:} ] && break; sleep 0.1; done
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  sleep 1
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1 NO_AT_BRIDGE=0
  export LANG=${LANG:-C.UTF-8}
  "$PIRUKKO_A11Y_PROGRAM" "$PIRUKKO_A11Y_FOLDER" >/dev/null 2>&1 &
  window=$!
  status=0
  /usr/bin/python3 "'"$PWD"'/scripts/check_accessibility.py" || status=$?
  kill "$window" "$bus" "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  exit $status
'
