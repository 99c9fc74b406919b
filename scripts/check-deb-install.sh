#!/usr/bin/env bash
# Installs the Debian package into a fresh, minimal Debian 12 and checks
# that it works there as a user finds it: `apt-get install ./pirukko_*.deb`
# must bring everything the programs need, and then
#   - varnek --version, --help (finding the help file in the installed data
#     folder), --preview and --run on a small folder, with their exit
#     statuses, log texts and files;
#   - no library of the programs or of Qt's platform plugins is missing,
#     and both programs start (offscreen) and keep running;
#   - the desktop entries, icons, metainfo, manual pages, fonts and button
#     translations are where the desktop looks for them.
#
#   scripts/check-deb-install.sh [--keep] [--depends-only]
#
# --depends-only installs without the package's recommendations (and those
# of its dependencies), to show that what it depends on is enough.
#
# Needs root (debootstrap, chroot, mount) and Debian's package registry.
# The bare Debian 12 made by debootstrap is kept in build/deb-check/ so that
# a second run starts in seconds; every run installs into a new copy of it,
# removed at the end (--keep leaves it for a look inside). Not part of the
# tests: it takes minutes and the network. Exit status 0 when every check
# passed.
set -euo pipefail
cd "$(dirname "$0")/.."

keep=false
recommends=()
for arg in "$@"; do
  case $arg in
    --keep) keep=true ;;
    --depends-only) recommends=(--no-install-recommends) ;;
    *) echo "usage: $0 [--keep] [--depends-only]" >&2; exit 2 ;;
  esac
done
suite=bookworm
mirror=${DEBIAN_MIRROR:-http://deb.debian.org/debian}
cache=$PWD/build/deb-check
base=$cache/$suite-minbase.tar

if [ "$(id -u)" -ne 0 ]; then
  echo "check-deb-install: run as root (debootstrap and chroot need it)" >&2
  exit 2
fi

# apt-get waits for a dpkg lock that another install holds.
apt_get() {
  for attempt in 1 2 3 4 5 6 7 8 9 10; do
    if DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=120 "$@"; then return 0; fi
    echo "check-deb-install: apt-get failed (attempt $attempt), trying again" >&2
    sleep 10
  done
  return 1
}
if ! command -v debootstrap >/dev/null; then
  echo "== installing debootstrap"
  apt_get update -q
  apt_get install -y -q --no-install-recommends debootstrap
fi

mkdir -p "$cache"
echo "== building the package (log: $cache/package.log)"
deb=$(scripts/package.sh 2>&1 | tee "$cache/package.log" | tail -n 1)
[ -f "$deb" ] || { echo "check-deb-install: no package built" >&2; exit 2; }
echo "package: $deb"
dpkg-deb -f "$deb" Depends | sed 's/^/depends: /'

if [ ! -f "$base" ]; then
  echo "== debootstrap $suite (minbase) from $mirror, kept in $base"
  fresh=$(mktemp -d "$cache/debootstrap.XXXXXX")
  chmod 755 "$fresh"
  debootstrap --variant=minbase "$suite" "$fresh" "$mirror" >"$cache/debootstrap.log" 2>&1 ||
    { tail -n 20 "$cache/debootstrap.log" >&2; rm -rf --one-file-system "$fresh"; exit 2; }
  tar --numeric-owner -C "$fresh" -cf "$base.part" . && mv "$base.part" "$base"
  rm -rf --one-file-system "$fresh"
fi

root=$(mktemp -d "$cache/root.XXXXXX")
mounted=()
cleanup() {
  local still=false
  for ((i = ${#mounted[@]} - 1; i >= 0; i--)); do
    umount "${mounted[$i]}" 2>/dev/null || umount -l "${mounted[$i]}" 2>/dev/null || true
    if mountpoint -q "${mounted[$i]}"; then still=true; fi
  done
  if $keep; then
    echo "kept: $root"
  elif $still; then
    # Never remove through a mount into the machine's own /dev or /proc.
    echo "check-deb-install: $root still has mounts; not removed" >&2
  else
    rm -rf --one-file-system "$root"
  fi
}
trap cleanup EXIT
tar --numeric-owner -C "$root" -xf "$base"
chmod 755 "$root" # "/" for the users that apt and the programs run as
for fs in proc sys dev dev/pts; do
  mount --bind "/$fs" "$root/$fs"
  mounted+=("$root/$fs")
done
cp /etc/resolv.conf "$root/etc/resolv.conf"
cat >"$root/etc/apt/sources.list" <<EOF
deb $mirror $suite main
deb $mirror $suite-updates main
deb http://deb.debian.org/debian-security $suite-security main
EOF
cp "$deb" "$root/root/"
in_root() { chroot "$root" /usr/bin/env -i HOME=/root PATH=/usr/sbin:/usr/bin:/sbin:/bin \
  LANG=C.UTF-8 DEBIAN_FRONTEND=noninteractive "$@"; }

install_args="${recommends[*]:-} ./$(basename "$deb")"
install_args=${install_args# }
echo "== apt-get install $install_args in a fresh Debian $(cat "$root/etc/debian_version")"
in_root apt-get update -q >/dev/null
in_root sh -c "cd /root && apt-get install -y -q $install_args" >"$cache/install.log" 2>&1 ||
  { tail -n 30 "$cache/install.log" >&2; exit 1; }
grep -E '^(Setting up pirukko|[0-9]+ upgraded)' "$cache/install.log" || true

# ------------------------------------------------------------ the checks
failures=0
pass() { echo "ok    $*"; }
fail() {
  echo "FAIL  $*"
  failures=$((failures + 1))
}
# check DESCRIPTION COMMAND...: passes when the command succeeds.
check() {
  local what=$1
  shift
  if "$@"; then pass "$what"; else fail "$what"; fi
}
# The programs are tried as a user of the new system, not as root.
in_root useradd --create-home --shell /bin/sh tester
home=$root/home/tester
as_user() {
  chroot --userspec=tester:tester "$root" /usr/bin/env -i HOME=/home/tester USER=tester \
    PATH=/usr/bin:/bin LANG=C.UTF-8 XDG_RUNTIME_DIR=/tmp/runtime-tester "$@"
}
in_root install -d -m 700 -o tester -g tester /tmp/runtime-tester
# run_as_user STATUS OUT COMMAND...: runs the command as the user, keeps
# its standard output in OUT and checks its exit status.
run_as_user() {
  local want=$1 out=$2
  shift 2
  local got=0
  as_user "$@" >"$out" 2>"$out.err" || got=$?
  if [ "$got" -eq "$want" ]; then return 0; fi
  echo "      exit status $got, expected $want: $*"
  sed 's/^/      | /' "$out.err" | head -n 10
  return 1
}
has() { grep -qF -- "$2" "$1"; }
out=$cache/out
version=$(dpkg-deb -f "$deb" Version)

check "varnek --version prints $version" \
  run_as_user 0 "$out" varnek --version
check "  the text is 'varnek (Pirukko) $version'" \
  test "$(cat "$out")" = "varnek (Pirukko) $version"

check "varnek --help" run_as_user 0 "$out" varnek --help
check "  names the installed help file /usr/share/pirukko/varnek.txt" \
  has "$out" "詳しい説明（Shift-JIS のテキスト）: /usr/share/pirukko/varnek.txt"

check "varnek without --run or --preview but with an option exits 2" \
  run_as_user 2 "$out" varnek --mask '*.txt'

# A small folder: three files of one date, one that no mask takes.
folder=$home/photos
as_user mkdir /home/tester/photos
for name in b.txt a.txt c.TXT; do as_user sh -c "printf '%s\n' $name > /home/tester/photos/$name"; done
as_user sh -c "printf x > /home/tester/photos/skip.dat"
as_user sh -c "touch -d '2026-08-09 10:00:00' /home/tester/photos/*"
check "varnek --preview" \
  run_as_user 0 "$out" varnek --preview --mask '*.txt' --prefix 旅行_ --serial 01 /home/tester/photos
check "  shows the first new name" has "$out" "旅行_2026年08月09日01.txt"
check "  shows the third new name" has "$out" "旅行_2026年08月09日03.TXT"
check "  ends with its closing line" has "$out" "コピーされるファイル: 3個"
check "  touches nothing" test ! -e "$folder/NewFolder"

check "varnek --run" \
  run_as_user 0 "$out" varnek --run --mask '*.txt' --prefix 旅行_ --serial 01 --case lower /home/tester/photos
check "  logs the end of the run" has "$out" "終了しました。"
check "  copies the three files" \
  test "$(ls "$folder/NewFolder" | tr '\n' ' ')" = \
  "旅行_2026年08月09日01.txt 旅行_2026年08月09日02.txt 旅行_2026年08月09日03.txt "
check "  keeps their contents" \
  test "$(cat "$folder/NewFolder/旅行_2026年08月09日01.txt")" = "a.txt"
check "  keeps their date" \
  test "$(stat -c %Y "$folder/NewFolder/旅行_2026年08月09日03.txt")" = "$(stat -c %Y "$folder/c.TXT")"
check "  leaves nothing hidden behind" test -z "$(ls -A "$folder/NewFolder" | grep '^\.' || true)"
check "varnek --run on a folder that does not exist exits 2" \
  run_as_user 2 "$out" varnek --run /home/tester/no-such-folder

# Every library of both programs and of the platform plugins Qt may pick.
libraries_found() {
  local file listed
  for file in "$@"; do
    if ! listed=$(in_root ldd "$file" 2>&1) || echo "$listed" | grep -q 'not found'; then
      echo "$listed" | grep -v '=> /' | sed "s|^|      $file: |"
      return 1
    fi
  done
}
plugins=/usr/lib/x86_64-linux-gnu/qt6/plugins/platforms
check "no library missing for varnek, its window and pirukko-edit" \
  libraries_found /usr/bin/varnek /usr/libexec/pirukko/varnek-window /usr/bin/pirukko-edit
check "the X11 and offscreen platform plugins are there with their libraries" \
  libraries_found $plugins/libqxcb.so $plugins/libqoffscreen.so

# A program that starts and keeps running until `timeout` ends it (status
# 124) has found its plugins, fonts and files; one that fails says why.
starts() {
  local status=0
  as_user env QT_QPA_PLATFORM=offscreen timeout 5 "$@" \
    >"$out" 2>"$out.err" || status=$?
  if [ "$status" -eq 124 ]; then return 0; fi
  echo "      exit status $status: $*"
  sed 's/^/      | /' "$out.err" | head -n 10
  return 1
}
check "varnek starts its window (offscreen) on the folder and keeps running" \
  starts varnek /home/tester/photos
check "pirukko-edit starts (offscreen) on a text file and keeps running" \
  starts pirukko-edit /home/tester/photos/a.txt

share=$root/usr/share
check "desktop entry of varnek" test -f "$share/applications/org.example.Pirukko.desktop"
check "  starts 'varnek %f' for a folder" \
  has "$share/applications/org.example.Pirukko.desktop" "Exec=varnek %f"
check "  is offered for folders" \
  has "$share/applications/org.example.Pirukko.desktop" "MimeType=inode/directory;"
check "desktop entry of pirukko-edit" \
  has "$share/applications/org.example.Pirukko.Edit.desktop" "Exec=pirukko-edit %f"
for size in 16 22 24 32 48 64 128 256; do
  check "icon ${size}x${size}" test -f "$share/icons/hicolor/${size}x${size}/apps/org.example.Pirukko.png"
done
check "icon scalable" test -f "$share/icons/hicolor/scalable/apps/org.example.Pirukko.svg"
check "AppStream metainfo" test -f "$share/metainfo/org.example.Pirukko.metainfo.xml"
check "manual page varnek(1)" test -f "$share/man/man1/varnek.1.gz"
check "manual page varnek(1) in Japanese" test -f "$share/man/ja/man1/varnek.1.gz"
check "help file in the data folder" test -f "$share/pirukko/varnek.txt"
check "the layout's fonts (IPAGothic, IPAPGothic)" \
  sh -c "in_fonts=\$(chroot '$root' fc-list : family); echo \"\$in_fonts\" | grep -q IPAGothic && echo \"\$in_fonts\" | grep -q IPAPGothic"
check "Japanese captions of the standard buttons" test -f "$share/qt6/translations/qtbase_ja.qm"

echo
if [ "$failures" -eq 0 ]; then
  echo "check-deb-install: every check passed"
else
  echo "check-deb-install: $failures checks failed"
  exit 1
fi
