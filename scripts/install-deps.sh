#!/usr/bin/env bash
# Installs the Debian packages that building, testing and running need, or
# the packages named as arguments (what a check script needs beside them).
# Idempotent: it calls apt-get only when something is missing, and then
# refreshes the package lists once.
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
  clang libclang-rt-dev
  dpkg-dev fakeroot desktop-file-utils appstream
  fuse3 libfuse3-dev exfat-fuse exfatprogs fusefat dosfstools
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

as_root=()
if [ "$(id -u)" -ne 0 ]; then
  command -v sudo >/dev/null || { echo "install-deps: need root or sudo to install: ${missing[*]}" >&2; exit 1; }
  as_root=(sudo)
fi

echo "install-deps: installing ${missing[*]}"
export DEBIAN_FRONTEND=noninteractive
"${as_root[@]}" apt-get update -q
"${as_root[@]}" apt-get install -y -q --no-install-recommends "${missing[@]}"
