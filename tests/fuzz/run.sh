#!/usr/bin/env bash
# Builds the libFuzzer targets (clang, AddressSanitizer, UndefinedBehaviorSanitizer)
# and runs each for a bounded time, starting from the committed seed corpus.
#   tests/fuzz/run.sh BUILD_DIR [--seconds N] [--target NAME]...
# BUILD_DIR is the project's test build (build/test); the fuzz build goes beside
# it, in build/fuzz. Every target runs FUZZ_SECONDS (default 35) seconds unless
# --seconds says otherwise. A finding stops the run with exit code 1 and leaves
# the input in build/fuzz/findings/.
set -euo pipefail
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"
[ $# -ge 1 ] || { echo "usage: $0 BUILD_DIR [--seconds N] [--target NAME]..." >&2; exit 2; }
build_dir="$1"
shift
seconds="${FUZZ_SECONDS:-35}"
targets=()
while [ $# -gt 0 ]; do
  case "$1" in
    --seconds) seconds="$2"; shift 2 ;;
    --target) targets+=("$2"); shift 2 ;;
    *) echo "unknown argument: $1" >&2; exit 2 ;;
  esac
done
[ ${#targets[@]} -gt 0 ] || targets=(pack_document_fuzz parser_fuzz html_fuzz text_fuzz determinism_fuzz)

# clang and its libFuzzer and sanitizer runtimes.
need=()
command -v clang++ >/dev/null || need+=(clang)
command -v cmake >/dev/null || need+=(cmake)
command -v ninja >/dev/null || need+=(ninja-build)
ls /usr/lib/llvm-*/lib/clang/*/lib/linux/libclang_rt.fuzzer-x86_64.a >/dev/null 2>&1 ||
  need+=(libclang-rt-14-dev)
"$here/../../scripts/apt-install.sh" "${need[@]}"

mkdir -p "$(dirname "$build_dir")/fuzz"
fuzz_dir="$(cd "$(dirname "$build_dir")/fuzz" && pwd)"
jobs=$(( $(nproc) < 2 ? $(nproc) : 2 ))
CC=clang CXX=clang++ cmake -S "$here" -B "$fuzz_dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$fuzz_dir" -j "$jobs" > "$fuzz_dir/build.log" 2>&1 || { cat "$fuzz_dir/build.log"; exit 1; }

mkdir -p "$fuzz_dir/findings"
failed=0
for target in "${targets[@]}"; do
  # New inputs go to the scratch corpus in the build; the committed seeds are only read.
  mkdir -p "$fuzz_dir/corpus/$target"
  log="$fuzz_dir/$target.log"
  echo "-- $target: ${seconds} s"
  if "$fuzz_dir/$target" -max_total_time="$seconds" -max_len=65536 -timeout=20 -rss_limit_mb=2560 \
      -print_final_stats=1 -artifact_prefix="$fuzz_dir/findings/$target-" \
      "$fuzz_dir/corpus/$target" "$here/corpus/$target" >"$log" 2>&1; then
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log")
    echo "   ok: $runs executions, $speed per second"
  else
    failed=1
    grep -E "^(==[0-9]+==ERROR|SUMMARY|.*fuzz\.cpp:[0-9]+:|artifact_prefix|Test unit written)" "$log" | head -20 || true
    echo "   FINDING in $target; full log: $log"
    echo "   reproduce: $fuzz_dir/$target <the file named above>"
  fi
done
exit $failed
