#!/usr/bin/env bash
# The hostile-input suite against the console program of BUILD_DIR (cli/trimlet):
# a table of input, exit code and message, then "hostile: N passed, M failed".
#   tests/hostile/run.sh BUILD_DIR              every case, then a few under valgrind
#   tests/hostile/run.sh BUILD_DIR --valgrind   every case under valgrind memcheck
#   tests/hostile/run.sh BUILD_DIR --quick      without the inputs of many megabytes
# Further arguments go to hostile.py (--only TEXT keeps the cases named so).
# The cases run in build/hostile/run, beside BUILD_DIR.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [--valgrind] [--quick] [--only TEXT]..." >&2; exit 2; }
build_dir="$1"
shift
program="$build_dir/cli/trimlet"
[ -x "$program" ] || { echo "no console program at $program; build it first" >&2; exit 2; }

need=()
command -v python3 >/dev/null || need+=(python3)
command -v valgrind >/dev/null || need+=(valgrind)
"$here/../../scripts/apt-install.sh" "${need[@]}"

mkdir -p "$(dirname "$build_dir")/hostile/run"
work="$(cd "$(dirname "$build_dir")/hostile/run" && pwd)"
if [ $# -gt 0 ]; then
  exec python3 "$here/hostile.py" "$program" "$work" "$@"
fi

status=0
python3 "$here/hostile.py" "$program" "$work" || status=1
echo "-- under valgrind memcheck (the whole suite: $0 $build_dir --valgrind)"
python3 "$here/hostile.py" "$program" "$work" --valgrind --only "NUL in the middle" \
  --only "random binary, 1 MB" --only "every byte in a string" --only "never ends" \
  --only "output equal to input" --only "read-only output" || status=1
exit $status
