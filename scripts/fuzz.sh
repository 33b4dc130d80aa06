#!/usr/bin/env bash
# Fuzzes the recording decoder and the sensitivity text for a while.
#   fuzz.sh BUILD_DIR SECONDS
# BUILD_DIR is a build configured with -DTAVRO_FUZZ=ON (clang). The seed corpus is generated
# afresh into a temporary folder; a crashing input is kept in BUILD_DIR/fuzz/artifacts. Exits
# non-zero on any crash, sanitizer report or timeout.
set -euo pipefail

if [ $# -ne 2 ]; then
  echo "usage: $0 BUILD_DIR SECONDS" >&2
  exit 2
fi
build=$(cd "$1" && pwd)
seconds=$2

cmake --build "$build" --target recording_fuzz recording_fuzz_seeds >/dev/null

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
"$build/fuzz/recording_fuzz_seeds" "$corpus"
artifacts="$build/fuzz/artifacts"
mkdir -p "$artifacts"

ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  "$build/fuzz/recording_fuzz" -max_total_time="$seconds" -max_len=100000 -timeout=10 \
  -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$artifacts/" "$corpus"
