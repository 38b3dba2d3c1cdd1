#!/usr/bin/env bash
# Installs what the benchmark needs when it is missing: node, npm, gzip and
# /usr/bin/time from Debian, then the pinned peers and corpus (npm ci), again
# whenever package-lock.json is newer than the installed tree.
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
need=()
command -v node >/dev/null || need+=(nodejs)
command -v npm >/dev/null || need+=(npm)
command -v gzip >/dev/null || need+=(gzip)
[ -x /usr/bin/time ] || need+=(time)
"$bench/../scripts/apt-install.sh" "${need[@]}"
stamp="$bench/node_modules/.package-lock.json"
if [ ! -f "$stamp" ] || [ "$bench/package-lock.json" -nt "$stamp" ]; then
  echo "installing the peers and corpus (npm ci)" >&2
  (cd "$bench" && npm ci --no-audit --no-fund --loglevel=error >&2)
fi
