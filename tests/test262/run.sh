#!/usr/bin/env bash
# The test262 conformance run of the console program of BUILD_DIR (cli/trimlet):
# every test of test/language and test/annexB/language must be accepted or
# refused as the suite says, and behave the same in node once packed.
#   tests/test262/run.sh BUILD_DIR [--sample N] [--seed S] [--filter SUBSTR]
#       [--combos all|none] [--packer PATH] [--jobs N] [--report FILE]
#       [--pack-timeout MS] [--run-timeout MS] [--keep-work]
# The suite is unpacked once, into BUILD_DIR/../test262, from
# shared/test262/test262.tar.xz beside the repository (or $TEST262_TARBALL).
# Ends with "test262: N passed, M failed"; exits nonzero on any failure.
set -euo pipefail
if [ $# -lt 1 ]; then
  echo "usage: $0 BUILD_DIR [--sample N] [--filter SUBSTR] [--combos all|none] [--packer PATH] [--jobs N] [--report FILE]" >&2
  exit 2
fi
build="$(cd "$1" && pwd)"
shift
here="$(cd "$(dirname "$0")" && pwd)"
root="$(cd "$here/../.." && pwd)"

suite=""
for candidate in "$build/../test262/test262" "$root/build/test262/test262"; do
  if [ -f "$candidate/INTERPRETING.md" ]; then
    suite="$(cd "$candidate" && pwd)"
    break
  fi
done
if [ -z "$suite" ]; then
  tarball="${TEST262_TARBALL:-$root/../shared/test262/test262.tar.xz}"
  [ -f "$tarball" ] || { echo "test262: no suite unpacked and no $tarball" >&2; exit 2; }
  mkdir -p "$build/../test262"
  echo "test262: unpacking $tarball"
  tar -xJf "$tarball" -C "$build/../test262"
  suite="$(cd "$build/../test262/test262" && pwd)"
fi

major="$(node -p 'process.versions.node.split(".")[0]' 2>/dev/null || echo 0)"
if [ "$major" -lt 20 ]; then
  echo "test262: needs node 20 or later (vm modules, import attributes)" >&2
  exit 2
fi

packer="$build/cli/trimlet"
for arg in "$@"; do
  if [ "$arg" = "--packer" ]; then packer=""; fi
done
if [ -n "$packer" ]; then set -- --packer "$packer" "$@"; fi
exec nice -n 10 node "$here/lib/main.js" --suite "$suite" "$@"
