#!/usr/bin/env bash
# Packs programs and real libraries with the console program of BUILD_DIR and
# runs each before and after packing in node, comparing what they print.
#   tests/behaviour/run.sh BUILD_DIR [extra arguments for lib/main.js]
# Ends with "behaviour: N passed, M failed"; exits nonzero on any failure.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [--only programs,libraries,fuzz] [--fuzz-count N] [--fuzz-seed S]" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
shift
here="$(cd "$(dirname "$0")" && pwd)"
cd "$here"
trimlet="$build/cli/trimlet"
if [ ! -x "$trimlet" ]; then
  echo "behaviour: no console program at $trimlet" >&2
  exit 2
fi
if [ ! -d node_modules ]; then
  npm ci --no-audit --no-fund --loglevel=error
fi
work="$(mktemp -d "${TMPDIR:-/tmp}/trimlet-behaviour.XXXXXX")"
status=0
nice -n 5 node lib/main.js --trimlet "$trimlet" --work "$work" "$@" || status=$?
if [ "$status" -eq 0 ]; then
  rm -rf "$work"
else
  echo "packed files kept in $work"
fi
exit "$status"
