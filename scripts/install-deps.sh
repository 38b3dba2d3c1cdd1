#!/usr/bin/env bash
# Installs what building and testing need, when it is missing (Debian packages).
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v ninja >/dev/null || need+=(ninja-build)
[ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
if [ "${1:-}" = "--test" ]; then
  command -v node >/dev/null || need+=(nodejs)
  command -v npm >/dev/null || need+=(npm)
fi
"$(dirname "$0")/apt-install.sh" "${need[@]}"
