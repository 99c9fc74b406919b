#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, or
# the packages named as arguments (what a check script needs beside them).
# Idempotent: it calls apt-get only when something is missing, and then
# refreshes the package lists once. With no arguments it also generates the
# locales the tests run the programs under (ja_JP.UTF-8, en_US.UTF-8), so
# that every machine checks the same thing whatever its own locale is.
set -euo pipefail

packages=("$@")
[ ${#packages[@]} -gt 0 ] || packages=(
  build-essential cmake ninja-build pkg-config
  qt6-base-dev qt6-base-dev-tools libgl-dev qt6-translations-l10n
  libicu-dev
  libgtest-dev libgmock-dev libbenchmark-dev
  fonts-ipafont-gothic
  xvfb xauth
  adwaita-qt6
  libexiv2-dev libmediainfo-dev libglib2.0-dev
  libfuse3-dev fusefat dosfstools mtools libffmpegthumbnailer-dev
  clang libclang-rt-dev
  dpkg-dev fakeroot desktop-file-utils appstream
  fuse3 libfuse3-dev exfat-fuse exfatprogs fusefat dosfstools
  locales
)
test_locales=()
[ $# -gt 0 ] || test_locales=(ja_JP.UTF-8 en_US.UTF-8)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

# A locale is there when `locale -a` lists it (in its own spelling: "utf8").
missing_locales=()
for l in "${test_locales[@]}"; do
  listed="${l%.UTF-8}.utf8"
  locale -a 2>/dev/null | grep -qx "$listed" || missing_locales+=("$l")
done

[ ${#missing[@]} -eq 0 ] && [ ${#missing_locales[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]} ${missing_locales[*]}" >&2; exit 1; }
  as_root=(sudo)
fi

if [ ${#missing[@]} -gt 0 ]; then
  echo "install-deps: installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  "${as_root[@]}" apt-get update -q
  "${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
fi

if [ ${#missing_locales[@]} -gt 0 ]; then
  echo "install-deps: generating the locales ${missing_locales[*]}"
  for l in "${missing_locales[@]}"; do
    # Debian's list names each locale with its character set: "ja_JP.UTF-8 UTF-8".
    "${as_root[@]}" sed -i "s/^# *\(${l//./\\.} UTF-8\)/\1/" /etc/locale.gen
    grep -qx "${l} UTF-8" /etc/locale.gen || echo "${l} UTF-8" | "${as_root[@]}" tee -a /etc/locale.gen >/dev/null
  done
  "${as_root[@]}" locale-gen >/dev/null
fi
