#!/usr/bin/env bash
# Packs JavaScript files or HTML pages with trimlet, building it on first use.
#   ./trimlet.sh [-nse] [-nvc] input.js output.js
#   ./trimlet.sh                       packs the bundled example
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
build="$root/build/release"
if [ ! -x "$build/cli/trimlet" ]; then
  "$root/scripts/install-deps.sh"
  cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMLET_TEST=OFF >/dev/null
  cmake --build "$build" --target trimlet >/dev/null
fi
if [ $# -eq 0 ]; then
  "$build/cli/trimlet" "$root/examples/example.js" "$root/examples/example.packed.js"
  echo "packed examples/example.js into $root/examples/example.packed.js"
  exit 0
fi
exec "$build/cli/trimlet" "$@"
