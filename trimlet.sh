#!/usr/bin/env bash
# Packs JavaScript files or HTML pages with trimlet, building it on first use.
#   ./trimlet.sh [options] input.js output.js     (./trimlet.sh --help lists them)
#   ./trimlet.sh                       packs the bundled example
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
build="$root/build/release"
if [ ! -f "$build/build.ninja" ]; then
  "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMLET_TEST=OFF >/dev/null
fi
# Rebuilds what a changed source needs; nothing when the build is up to date.
cmake --build "$build" --target trimlet >/dev/null
if [ $# -eq 0 ]; then
  "$build/cli/trimlet" "$root/examples/example.js" "$root/examples/example.packed.js"
  echo "packed examples/example.js into $root/examples/example.packed.js"
  exit 0
fi
exec "$build/cli/trimlet" "$@"
