#!/usr/bin/env bash
# Hears the window and pirukko-edit as a screen reader's user does: starts a
# D-Bus session, a virtual display (Xvfb) with a small window manager, the
# accessibility bus, speech-dispatcher with its dummy output, and Orca with
# its debug log, then both programs, types at them with xdotool and reads back
# what Orca said ("SPEECH OUTPUT" in its debug log):
#   - a line of the log, whole, its last character included;
#   - a preview's closing line while the log has the focus (F5);
#   - the control that has the keyboard focus after 実行 (Space), and only it;
#   - a line of pirukko-edit, whole, and its text named after its file.
#
#   scripts/check-screen-reader.sh [BUILD_DIR]     (default build/test)
#
# Installs orca, speech-dispatcher, at-spi2-core, python3-pyatspi, xvfb,
# xdotool and openbox when they are missing (through install-deps.sh). Not part
# of ./test.sh: it needs buses and a screen reader of its own, which the test
# suite cannot start reliably beside other runs. Orca's debug log and the
# transcript are kept in build/screen-reader/. Exit status 0 when every check
# passed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}

scripts/install-deps.sh orca speech-dispatcher at-spi2-core python3-pyatspi xvfb xdotool openbox \
  dbus dbus-bin

for target in varnek-window pirukko-edit; do
  [ -x "$build/$target" ] || cmake --build "$build" --target "$target"
done
out=$(realpath -m build/screen-reader)
rm -rf "$out"
mkdir -p "$out"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A card's folder of 40 photos, and a Shift-JIS text for the editor whose
# second line ends in a character beyond ASCII.
mkdir -p "$work/photos40"
for n in $(seq -w 1 40); do
  printf 'photo %s\n' "$n" > "$work/photos40/IMG_00$n.JPG"
  touch -d "2024-05-14 10:00:$((10#$n % 60))" "$work/photos40/IMG_00$n.JPG"
done
printf '一行目\r\n二行目：①②③ ｶﾀｶﾅ 髙﨑 ～\r\n三行目\r\n' | iconv -f UTF-8 -t CP932 > "$work/読み上げ.txt"

# Everything the session keeps goes to the work folder: Orca's settings,
# speech-dispatcher's configuration (its dummy output only) and sockets.
export HOME=$work/home XDG_CONFIG_HOME=$work/config XDG_DATA_HOME=$work/data
export XDG_RUNTIME_DIR=$work/run XDG_CACHE_HOME=$work/cache
mkdir -p "$HOME" "$XDG_CONFIG_HOME/speech-dispatcher" "$XDG_DATA_HOME" "$XDG_CACHE_HOME"
mkdir -m 700 -p "$XDG_RUNTIME_DIR"
cat > "$XDG_CONFIG_HOME/speech-dispatcher/speechd.conf" <<'EOF'
AddModule "dummy" "sd_dummy" ""
DefaultModule dummy
LanguageDefaultModule "ja" "dummy"
EOF

export PIRUKKO_SR_WINDOW=$(realpath "$build/varnek-window")
export PIRUKKO_SR_EDIT=$(realpath "$build/pirukko-edit")
export PIRUKKO_SR_FOLDER=$work/photos40 PIRUKKO_SR_TEXT=$work/読み上げ.txt
export PIRUKKO_SR_ORCA_LOG=$out/orca-debug.log
export LANG=${LANG:-C.UTF-8}
status=0
dbus-run-session -- bash -c '
  set -euo pipefail
  display=:$((90 + RANDOM % 100))
  Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
  xvfb=$!
  export DISPLAY=$display
  for _ in $(seq 50); do [ -e /tmp/.X11-unix/X${display#:} ] && break; sleep 0.1; done
  openbox >/dev/null 2>&1 &
  wm=$!
  /usr/libexec/at-spi-bus-launcher --launch-immediately >/dev/null 2>&1 &
  bus=$!
  sleep 1
  gsettings set org.gnome.desktop.a11y.applications screen-reader-enabled true 2>/dev/null || true
  orca --replace --debug-file="$PIRUKKO_SR_ORCA_LOG" >/dev/null 2>&1 &
  orca=$!
  export PIRUKKO_SR_ORCA_PID=$orca
  sleep 4
  status=0
  /usr/bin/python3 "'"$PWD"'/scripts/check_screen_reader.py" || status=$?
  kill "$orca" 2>/dev/null || true
  # Orca spawned speech-dispatcher, which notes its process id.
  speechd_pid=$XDG_RUNTIME_DIR/speech-dispatcher/pid/speech-dispatcher.pid
  [ -f "$speechd_pid" ] && kill "$(cat "$speechd_pid")" 2>/dev/null || true
  kill "$wm" "$bus" "$xvfb" 2>/dev/null || true
  wait 2>/dev/null || true
  exit $status
'  2>&1 | tee "$out/transcript.txt" || status=$?
exit "$status"
