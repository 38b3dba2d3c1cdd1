#!/usr/bin/env bash
# Builds the trimlet program in Release into BUILD_DIR (default
# build/bench-release), quietly unless the build fails.
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$bench")"
build="${1:-$root/build/bench-release}"
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMLET_TEST=OFF &&
       cmake --build "$build" -j 2 --target trimlet; } >"$log" 2>&1; then
  cat "$log" >&2
  echo "bench: building trimlet in $build failed" >&2
  exit 1
fi
