#!/usr/bin/env bash
# Benchmarks trimlet against its peers on the pinned corpora: installs the peers
# and corpora, builds trimlet in Release and runs every mode side by side.
# Writes bench/results/report.md (and results.json) and prints the report.
#   bench/run.sh                 every ES5 corpus file, the 10 MB and 50 MB files, 5 runs
#   bench/run.sh --quick         the 10 MB file only, 3 runs
#   bench/run.sh --modern        the same for the modern (ES2015+) corpus
#   bench/run.sh --all           both corpora and all four joined files
#   bench/run.sh --sizes         the sizes of every file of both corpora, trimlet
#                                beside esbuild, in one round (no timing worth keeping)
#   bench/run.sh --nice ...      at lower priority, when other work shares the machine
# Other options go to bench.js (they override the shortcuts), e.g.
#   bench/run.sh --inputs 10mb,modern10mb --modes ws --tools trimlet,esbuild --runs 7
set -euo pipefail
bench="$(cd "$(dirname "$0")" && pwd)"
build="${TRIMLET_BENCH_BUILD:-$(dirname "$bench")/build/bench-release}"
prefix=()
args=()
for word in "$@"; do
  case "$word" in
    --quick) args=(--inputs 10mb --runs 3 --warmup 1 "${args[@]}") ;;
    --modern) args=(--inputs modern,modern10mb,modern50mb "${args[@]}") ;;
    --all) args=(--inputs corpus,10mb,50mb,modern,modern10mb,modern50mb "${args[@]}") ;;
    --sizes) args=(--inputs corpus,modern --tools trimlet,esbuild --runs 1 --warmup 0 "${args[@]}") ;;
    --nice) prefix=(nice -n 10) ;;
    *) args+=("$word") ;;
  esac
done

"$bench/install.sh"
"$bench/build.sh" "$build"
exec "${prefix[@]}" node "$bench/bench.js" --trimlet "$build/cli/trimlet" "${args[@]}"
