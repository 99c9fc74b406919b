#!/usr/bin/env bash
# Fuzzes one target for a given time with AddressSanitizer and
# UndefinedBehaviorSanitizer, and keeps what it finds:
#   fuzz/run.sh TARGET SECONDS        TARGET: load, lexer, wrap or edit
# Inputs that reach code the corpus did not reach are merged into
# fuzz/corpus/TARGET; a crash or a broken property is written to
# fuzz/findings/TARGET-* (make it a corpus entry once it is mended).
# Builds with clang into build/fuzz; FUZZ_JOBS sets the build's parallel jobs.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ $# -ne 2 ]; then
  echo "usage: fuzz/run.sh load|lexer|wrap|edit SECONDS" >&2
  exit 2
fi
target=$1
seconds=$2
build=build/fuzz

if [ ! -f "$build/build.ninja" ]; then
  CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DPIRUKKO_FUZZ=ON -DPIRUKKO_TESTS=OFF >/dev/null
fi
cmake --build "$build" --target "${target}_fuzzer" -j "${FUZZ_JOBS:-2}"

fuzzer=$build/fuzz/${target}_fuzzer
found=$(mktemp -d)
trap 'rm -rf "$found"' EXIT
mkdir -p fuzz/findings
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
status=0
# New inputs go into the scratch folder first, the corpus is only read.
"$fuzzer" -max_total_time="$seconds" -print_final_stats=1 \
  -artifact_prefix="fuzz/findings/${target}-" "$found" "fuzz/corpus/$target" || status=$?
# Only what adds coverage joins the corpus.
"$fuzzer" -merge=1 "fuzz/corpus/$target" "$found" 2>&1 | tail -n 2
exit "$status"
