#!/usr/bin/env bash
# Tries the programs on a Wayland desktop: a headless sway (wlroots) as the
# compositor, the programs as native Wayland clients (Qt's wayland platform),
# grim for screenshots, wtype for typing and scripts/wayland-pointer.py for
# the mouse. Checks, with sway's own view of its windows (swaymsg -t get_tree):
#   - the window shows, under the application id org.example.Pirukko;
#   - a second start is refused with its message, which carries the same
#     application id, and the first window stays the only one;
#   - the hint window and message boxes are children of the window (no
#     window of their own at screen coordinates);
#   - the window moves when its title band is dragged, and a double-click on
#     the band asks for it maximised (sway keeps floating windows as they are);
#   - pirukko-edit shows under org.example.Pirukko.Edit and takes typed text.
# Keeps the window's screenshot as docs/screenshot-wayland.png.
#
#   scripts/check-wayland.sh [BUILD_DIR]     (default build/test)
#
# sway refuses to run as root, so it runs as nobody (setpriv) in a runtime
# folder of its own; the programs run as the caller with theirs, reaching
# sway's socket by its path. Installs sway, grim, wtype and qt6-wayland with
# install-deps.sh when missing. Not part of ./test.sh. Exit status 0 when
# every check passed.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/test}

scripts/install-deps.sh sway grim wtype qt6-wayland
for target in varnek-window pirukko-edit; do
  [ -x "$build/$target" ] || cmake --build "$build" --target "$target"
done
window_program=$(realpath "$build/varnek-window")
edit_program=$(realpath "$build/pirukko-edit")

work=$(mktemp -d)
chmod 755 "$work"
sway_run=$work/sway-run
own_run=$work/own-run
mkdir -p "$sway_run" "$own_run" "$work/photos"
chown 65534:65534 "$sway_run"
chmod 700 "$sway_run" "$own_run"
for n in 1 2 3; do echo "photo $n" > "$work/photos/写真$n.jpg"; done
printf '%s\r\n' "Shift-JIS のテキスト" | iconv -f UTF-8 -t CP932 > "$work/note.txt"
cat > "$work/sway.conf" <<'CONF'
output HEADLESS-1 resolution 1024x768 bg #336699 solid_color
default_border none
for_window [app_id=".*"] floating enable
CONF
chmod 644 "$work/sway.conf"

pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
  wait 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

setpriv --reuid=65534 --regid=65534 --clear-groups \
  env -i PATH=/usr/bin:/bin HOME="$work" XDG_RUNTIME_DIR="$sway_run" \
  WLR_BACKENDS=headless WLR_LIBINPUT_NO_DEVICES=1 WLR_RENDERER=pixman \
  sway -c "$work/sway.conf" >"$work/sway.log" 2>&1 &
pids+=($!)
socket=
for _ in $(seq 100); do
  socket=$(find "$sway_run" -maxdepth 1 -name 'wayland-*' ! -name '*.lock' 2>/dev/null | head -1)
  [ -n "$socket" ] && break
  sleep 0.1
done
[ -n "$socket" ] || { echo "sway did not start:"; cat "$work/sway.log"; exit 1; }
export SWAYSOCK
for _ in $(seq 50); do
  SWAYSOCK=$(find "$sway_run" -maxdepth 1 -name 'sway-ipc.*.sock' | head -1)
  [ -n "$SWAYSOCK" ] && break
  sleep 0.1
done

export XDG_RUNTIME_DIR=$own_run WAYLAND_DISPLAY=$socket QT_QPA_PLATFORM=wayland
unset DISPLAY
export LANG=${LANG:-C.UTF-8}

# From here on a failed check is counted and the next one tried; under set -e
# the first failing test would end the script before it says FAIL.
set +e
failures=0
check() {
  if [ "$1" = 0 ]; then echo "ok    $2"; else echo "FAIL  $2"; failures=$((failures + 1)); fi
}
# The application ids of sway's windows, one a line.
app_ids() { swaymsg -t get_tree | python3 -c '
import json, sys
def walk(n):
    if n.get("app_id") or n.get("pid"):
        if n.get("type") in ("con", "floating_con"): print(n.get("app_id") or "", n.get("name") or "")
    for c in n.get("nodes", []) + n.get("floating_nodes", []): walk(c)
walk(json.load(sys.stdin))'; }
# The rectangle of the window whose id and title match: x y width height.
window_rect() { swaymsg -t get_tree | python3 -c '
import json, re, sys
def walk(n):
    if n.get("type") in ("con", "floating_con") and re.search(sys.argv[1], n.get("app_id") or "") \
            and re.search(sys.argv[2], n.get("name") or ""):
        r = n["rect"]; print(r["x"], r["y"], r["width"], r["height"]); sys.exit()
    for c in n.get("nodes", []) + n.get("floating_nodes", []): walk(c)
walk(json.load(sys.stdin))' "$1" "$2"; }
wait_for() {  # wait_for PATTERN: until a window whose id and title match shows
  for _ in $(seq 100); do app_ids | grep -q -- "$1" && return 0; sleep 0.1; done
  return 1
}

# WAYLAND_DEBUG: the window's requests to sway are logged (see the double-click).
WAYLAND_DEBUG=client "$window_program" "$work/photos" >"$work/window.log" 2>&1 &
pids+=($!)
first=$!
wait_for '^org.example.Pirukko ' ; check $? "the window shows under the application id org.example.Pirukko"
sleep 1
grim "$work/window.png" && check 0 "grim took the window's picture"
mkdir -p docs
cp "$work/window.png" docs/screenshot-wayland.png

# The window moves by its title band: a press on the band's free space (right
# of the title, left of the buttons) hands the move to sway, which then
# follows the pointer until the button is released.
rect=$(window_rect '^org.example.Pirukko$' Pirukko)
echo "  the window at $rect"
read -r x y w h <<<"$rect"
grab_x=$((x + 120)) grab_y=$((y + 14))
python3 scripts/wayland-pointer.py at "$grab_x" "$grab_y" pause 100 down pause 300 \
  at $((grab_x + 40)) $((grab_y + 20)) pause 50 at $((grab_x + 80)) $((grab_y + 40)) pause 50 \
  at $((grab_x + 120)) $((grab_y + 60)) pause 200 up pause 300
moved=$(window_rect '^org.example.Pirukko$' Pirukko)
echo "  after dragging the title band by 120, 60: $moved"
read -r x2 y2 w2 h2 <<<"$moved"
[ $((x2 - x)) -ge 110 ] && [ $((x2 - x)) -le 130 ] && [ $((y2 - y)) -ge 50 ] && [ $((y2 - y)) -le 70 ] &&
  [ "$w2 $h2" = "$w $h" ]
check $? "dragging the title band moves the window by the drag"

# A double-click on the band toggles maximised. sway keeps no maximised
# state (its configure answers without it, and the window keeps its size), so
# what is checked is the window's request, in its protocol log.
asked() { grep -c 'xdg_toplevel@[0-9]*\.set_maximized()' "$work/window.log" || true; }
before=$(asked)
grab_x=$((x2 + 120)) grab_y=$((y2 + 14))
python3 scripts/wayland-pointer.py at "$grab_x" "$grab_y" pause 100 click pause 80 click pause 500
after=$(asked)
echo "  after a double-click on the title band: $(window_rect '^org.example.Pirukko$' Pirukko)"
[ "$before" = 0 ] && [ "$after" = 1 ]
check $? "a double-click on the title band asks sway to maximise the window"

"$window_program" >"$work/second.log" 2>&1 &
pids+=($!)
second=$!
wait_for '^org.example.Pirukko 警告' ; check $? "a second start shows its message under the same application id"
echo "  windows now:"; app_ids | sed 's/^/    /'
count=$(app_ids | grep -c '^org.example.Pirukko Pirukko' || true)
[ "$count" = 1 ]; check $? "the first window stays the only main window ($count)"
bad=$(app_ids | grep -v '^org.example.Pirukko' || true)
[ -z "$bad" ]; check $? "no window under another application id${bad:+: $bad}"
kill "$second" 2>/dev/null || true
kill -0 "$first" 2>/dev/null; check $? "the first window keeps running"
kill "$first" 2>/dev/null || true
sleep 0.5

"$edit_program" "$work/note.txt" >"$work/edit.log" 2>&1 &
pids+=($!)
edit=$!
wait_for '^org.example.Pirukko.Edit ' ; check $? "pirukko-edit shows under org.example.Pirukko.Edit"
sleep 0.5
wtype "typed on Wayland " && check 0 "wtype typed into pirukko-edit"
sleep 0.5
app_ids | grep -q '^org.example.Pirukko.Edit .*\*' ; check $? "the typed text marks the file changed (title with *)"
grim "$work/edit.png" && cp "$work/edit.png" docs/screenshot-wayland-edit.png
kill "$edit" 2>/dev/null || true

echo "$failures failed"
[ "$failures" = 0 ]
