#!/usr/bin/env bash
# Already-minified builds as their packages ship them: packed with renaming on
# ("-nse"), none may come out larger than it went in. Prints one table of
# sizes (input, trimlet -nse, esbuild --minify-whitespace --minify-identifiers)
# and exits 1 when an output grew or does not parse.
#   bench/minified.sh BUILD_DIR
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
[ $# -eq 1 ] || { echo "usage: bench/minified.sh BUILD_DIR" >&2; exit 2; }
trimlet="$(cd "$1" 2>/dev/null && pwd)/cli/trimlet" || { echo "minified: no build directory $1" >&2; exit 1; }
[ -x "$trimlet" ] || { echo "minified: no trimlet program at $trimlet" >&2; exit 1; }
timeout 300 "$bench/install.sh" >/dev/null || { echo "minified: the corpus could not be installed" >&2; exit 1; }
esbuild="$bench/node_modules/.bin/esbuild"

out="$(mktemp -d)"
trap 'rm -rf "$out"' EXIT
status=0
printf '| file | input | trimlet -nse | esbuild |\n|---|---:|---:|---:|\n'
while read -r file; do
  case "$file" in ''|'#'*) continue ;; esac
  input="$bench/node_modules/$file"
  "$trimlet" -nse "$input" "$out/packed.js" >/dev/null 2>"$out/log" || { cat "$out/log" >&2; status=1; continue; }
  # a script, or else a module
  cp "$out/packed.js" "$out/packed.mjs"
  node --check "$out/packed.js" 2>/dev/null || node --check "$out/packed.mjs" 2>/dev/null ||
    { echo "minified: $file packs to text that does not parse" >&2; status=1; }
  peer="n/a"
  if [ -x "$esbuild" ] && "$esbuild" "$input" --minify-whitespace --minify-identifiers \
       --outfile="$out/peer.js" --log-level=error; then
    peer="$(stat -c %s "$out/peer.js")"
  fi
  before="$(stat -c %s "$input")"
  after="$(stat -c %s "$out/packed.js")"
  printf '| %s | %s | %s | %s |\n' "$file" "$before" "$after" "$peer"
  if [ "$after" -gt "$before" ]; then
    echo "minified: $file grew from $before to $after bytes" >&2
    status=1
  fi
done <"$bench/corpus-minified.txt"
exit "$status"
