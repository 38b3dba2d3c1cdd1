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
if [ ${#need[@]} -gt 0 ]; then
  echo "installing: ${need[*]}" >&2
  sudo_cmd=""
  [ "$(id -u)" = 0 ] || sudo_cmd="sudo"
  $sudo_cmd apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${need[@]}" >/dev/null
fi
stamp="$bench/node_modules/.package-lock.json"
if [ ! -f "$stamp" ] || [ "$bench/package-lock.json" -nt "$stamp" ]; then
  echo "installing the peers and corpus (npm ci)" >&2
  (cd "$bench" && npm ci --no-audit --no-fund --loglevel=error >&2)
fi
