#!/usr/bin/env bash
# Benchmarks trimlet against its peers on the pinned corpus: installs the peers
# and corpus, builds trimlet in Release and runs every mode side by side.
# Writes bench/results/report.md (and results.json) and prints the report.
#   bench/run.sh                 every corpus file, the 10 MB and 50 MB files, 5 runs
#   bench/run.sh --quick         the 10 MB file only, 3 runs
#   bench/run.sh --nice ...      at lower priority, when other work shares the machine
# Other options go to bench.js (they override --quick), e.g.
#   bench/run.sh --inputs 10mb --modes ws --tools trimlet,esbuild --runs 7
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
build="${TRIMLET_BENCH_BUILD:-$(dirname "$bench")/build/bench-release}"
prefix=()
args=()
for word in "$@"; do
  case "$word" in
    --quick) args=(--inputs 10mb --runs 3 --warmup 1 "${args[@]}") ;;
    --nice) prefix=(nice -n 10) ;;
    *) args+=("$word") ;;
  esac
done

"$bench/install.sh"
"$bench/build.sh" "$build"
exec "${prefix[@]}" node "$bench/bench.js" --trimlet "$build/cli/trimlet" "${args[@]}"
