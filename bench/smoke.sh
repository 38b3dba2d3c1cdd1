#!/usr/bin/env bash
# Proves that the benchmark still runs, in a few seconds: one small file, one
# round of every tool and mode, and a check that the report came out whole.
# Never a gate on speed. With no installed peers (no network for npm ci), it
# measures trimlet alone.
#   bench/smoke.sh BUILD_DIR
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: bench/smoke.sh BUILD_DIR" >&2; exit 2; }
trimlet="$(cd "$1" 2>/dev/null && pwd)/cli/trimlet" || { echo "smoke: no build directory $1" >&2; exit 1; }
[ -x "$trimlet" ] || { echo "smoke: no trimlet program at $trimlet" >&2; exit 1; }

tools=trimlet
if timeout 300 "$bench/install.sh"; then
  tools=trimlet,esbuild,terser,uglify-js,jsmin
else
  echo "smoke: the peers could not be installed; measuring trimlet alone" >&2
fi
out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
node "$bench/bench.js" --trimlet "$trimlet" --inputs "$bench/smoke/sample.js" --runs 1 --warmup 0 \
  --tools "$tools" --out "$out" >/dev/null 2>"$out/log" || { cat "$out/log" >&2; exit 1; }

# One measured row per tool and mode, and trimlet's output parses in node in
# every mode (a peer's broken output is its own affair: the table shows it).
node - "$out/results.json" "$tools" <<'CHECK' || { cat "$out/report.md" >&2; exit 1; }
const [file, tools] = process.argv.slice(2);
const rows = JSON.parse(require('fs').readFileSync(file, 'utf8')).inputs[0].results;
const expected = tools.includes(',') ? 11 : 3;
const measured = rows.filter((r) => !r.failure && r.wall > 0 && r.rawBytes > 0 && r.gzipBytes > 0);
const trimlet = measured.filter((r) => r.tool === 'trimlet' && r.parses === true);
if (rows.length !== expected || measured.length !== expected || trimlet.length !== 3) {
  console.error(`smoke: expected ${expected} measured rows and 3 trimlet outputs that parse; ` +
                `found ${measured.length} of ${rows.length} and ${trimlet.length}`);
  process.exit(1);
}
CHECK
echo "bench smoke: every tool and mode measured; trimlet output parses in every mode"
