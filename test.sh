#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: the unit tests (also
# under AddressSanitizer and UndefinedBehaviorSanitizer) and the suites that run
# packed code in node.
set -euo pipefail
root="$(cd "$(dirname "$0")" && pwd)"
cd "$root"
scripts/install-deps.sh --test
jobs=$(nproc)

cmake -S . -B build/test -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTRIMLET_WERROR=ON >/dev/null
cmake --build build/test -j "$jobs"
ctest --test-dir build/test --output-on-failure -j "$jobs"

cmake -S . -B build/sanitize -G Ninja -DCMAKE_BUILD_TYPE=Debug -DTRIMLET_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j "$jobs"
ctest --test-dir build/sanitize --output-on-failure -j "$jobs"

# Suites that bring their own runner, each a script of its folder; the golden
# hashes prove that the packed corpus is byte for byte what it was, and no
# already-minified build grows when packed with renaming.
for suite in tests/behaviour/run.sh tests/hostile/run.sh tests/fuzz/run.sh tests/wizard/run.sh bench/smoke.sh bench/minified.sh bench/golden.sh; do
  if [ -x "$suite" ]; then
    echo "== $suite"
    "$suite" "$root/build/test"
  fi
done
# The conformance suite: a fixed sample of 2,000 test files, packed and run in
# every option combination (the whole suite: see tests/test262/README.md).
echo "== tests/test262/run.sh"
tests/test262/run.sh "$root/build/test" --sample 2000
echo "all tests passed"
