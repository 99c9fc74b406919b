#!/usr/bin/env bash
# Makes sure the Japanese manual pages that the editor benchmarks build their
# text from are installed (Debian's manpages-ja). Run by the benchmarks' own
# scripts, never by the tests. Without root rights or a package source it
# says so and the benchmarks fall back to a few sentences of their own.
set -euo pipefail

pages() { find /usr/share/man/ja -name '*.gz' 2>/dev/null | wc -l; }

if [ "$(pages)" -ge 500 ]; then
  exit 0
fi
sudo=""
if [ "$(id -u)" -ne 0 ]; then
  if command -v sudo >/dev/null; then sudo="sudo"; else
    echo "japanese_pages.sh: manpages-ja is not installed and there is no root access" >&2
    exit 0
  fi
fi
if ! $sudo apt-get install -y --no-install-recommends manpages-ja >/dev/null; then
  $sudo apt-get update >/dev/null && $sudo apt-get install -y --no-install-recommends manpages-ja >/dev/null ||
    echo "japanese_pages.sh: could not install manpages-ja" >&2
fi
echo "japanese_pages.sh: $(pages) Japanese manual pages" >&2
