#!/usr/bin/env bash
# Guards speed work against changes in the packed text: packs every corpus file
# in each mode and compares the sha256 of each output with bench/golden/MODE.sha256.
#   bench/golden.sh [BUILD_DIR]            compare (the default build is built first)
#   bench/golden.sh --update [BUILD_DIR]   write the expected hashes anew, after
#                                          checking that every output still parses
# Modes: ws = "-nse -nvc", rename = "-nse", full = the defaults.
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$bench")"
update=0
build=""
for word in "$@"; do
  case "$word" in
    --update) update=1 ;;
    -*) echo "usage: bench/golden.sh [--update] [BUILD_DIR]" >&2; exit 2 ;;
    *) build="$(cd "$word" && pwd)" ;;
  esac
done
"$bench/install.sh"
if [ -z "$build" ]; then
  build="$root/build/bench-release"
  "$bench/build.sh" "$build"
fi
trimlet="$build/cli/trimlet"
[ -x "$trimlet" ] || { echo "golden: no trimlet program at $trimlet" >&2; exit 2; }

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
mapfile -t corpus < <(grep -v '^#' "$bench/corpus.txt" | grep -v '^[[:space:]]*$')
failed=0
source "$bench/modes.sh"
for mode in "${modes[@]}"; do
  mode_options "$mode"
  actual="$work/$mode.sha256"
  : >"$actual"
  for file in "${corpus[@]}"; do
    out="$work/out.js"
    rm -f "$out"
    if ! "$trimlet" "${options[@]}" "$bench/node_modules/$file" "$out" >/dev/null || [ ! -s "$out" ]; then
      echo "golden: trimlet ${options[*]} failed on $file" >&2
      failed=1
      continue
    fi
    if [ "$update" = 1 ] && ! node --check "$out" 2>/dev/null; then
      echo "golden: warning: the $mode output of $file does not parse in node" >&2
    fi
    echo "$(sha256sum <"$out" | cut -d' ' -f1)  $file" >>"$actual"
  done
  expected="$bench/golden/$mode.sha256"
  if [ "$update" = 1 ]; then
    mkdir -p "$bench/golden"
    cp "$actual" "$expected"
  elif [ ! -f "$expected" ]; then
    echo "golden: no $expected (run bench/golden.sh --update)" >&2
    failed=1
  elif ! diff -u "$expected" "$actual" >"$work/diff"; then
    echo "golden: $mode (${options[*]:-defaults}) output changed:" >&2
    grep '^+[^+]' "$work/diff" | sed 's/^+[0-9a-f]*  /  /' >&2
    failed=1
  fi
done
if [ "$failed" = 1 ]; then exit 1; fi
if [ "$update" = 1 ]; then
  echo "golden: expected hashes written to bench/golden/"
else
  echo "golden: ${#corpus[@]} files x 3 modes packed exactly as expected"
fi
