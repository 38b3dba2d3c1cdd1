#!/usr/bin/env bash
# Profiles trimlet on one input (default: the 10 MB file of the benchmark) in
# each mode: time by pipeline phase and function from perf, and the peak heap
# with its largest holders from heaptrack when it is installed.
#   bench/profile.sh [INPUT]
# Builds Release with frame pointers into build/bench-profile; writes the perf
# and heaptrack data and the summary under bench/results/profile/.
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
root="$(dirname "$bench")"
build="$root/build/bench-profile"
input="${1:-$bench/results/inputs/joined-10mb.js}"
[ -f "$input" ] || { echo "profile: no input $input (bench/run.sh --quick makes the 10 MB file)" >&2; exit 2; }
command -v perf >/dev/null || { echo "profile: perf is missing (Debian package linux-perf)" >&2; exit 2; }
log="$(mktemp)"
trap 'rm -f "$log"' EXIT
if ! { cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DTRIMLET_TEST=OFF \
         -DCMAKE_CXX_FLAGS="-g -fno-omit-frame-pointer" && cmake --build "$build" -j 2 --target trimlet; } >"$log" 2>&1; then
  cat "$log" >&2
  exit 1
fi
out="$bench/results/profile"
mkdir -p "$out"
summary="$out/summary.md"
echo "# Where trimlet spends its time and memory on $(basename "$input") ($(stat -c %s "$input") bytes)" >"$summary"
source "$bench/modes.sh"
for mode in "${modes[@]}"; do
  mode_options "$mode"
  label="$mode (${options[*]:-defaults})"
  echo >>"$summary"
  perf record -F 10000 -g -o "$out/perf.$mode.data" "$build/cli/trimlet" "${options[@]}" "$input" "$out/packed.$mode.js" \
    >/dev/null 2>"$log" || { cat "$log" >&2; exit 1; }
  perf script -i "$out/perf.$mode.data" 2>/dev/null | node "$bench/perf-phases.js" "$label" >>"$summary"
  if command -v heaptrack >/dev/null; then
    heaptrack -o "$out/heap.$mode" "$build/cli/trimlet" "${options[@]}" "$input" "$out/packed.$mode.js" >/dev/null 2>&1
    heaptrack_print "$out/heap.$mode.zst" >"$log" 2>/dev/null || true
    {
      echo "Heap, $label: $(grep -E '^peak heap memory consumption' "$log" | cut -d: -f2 | tr -d ' ') at peak;" \
           "largest holders at the peak:"
      # "41.94M consumed over 11 calls from:" followed by its stack: keep the
      # first frame of the project's own code.
      awk '/^PEAK MEMORY CONSUMERS/{p=1;next} /^MOST TEMPORARY/{p=0} p' "$log" |
        awk '/consumed over/ && !/peak/ {size=$1; want=1; next}
             want && /^    [a-zA-Z]/ && !/^    (void )?(std::|__gnu_cxx|operator new)/ {sub(/^ +/, ""); print "- " size " " $0; want=0}' |
        head -6
    } >>"$summary"
  fi
done
cat "$summary"
