#!/usr/bin/env bash
# Installs what building needs, and with --test what testing needs too, when it
# is missing (Debian packages).
set -euo pipefail
need=()
command -v cmake >/dev/null || need+=(cmake)
command -v g++ >/dev/null || need+=(g++)
command -v ninja >/dev/null || need+=(ninja-build)
if [ "${1:-}" = "--test" ]; then
  [ -f /usr/include/gtest/gtest.h ] || need+=(libgtest-dev)
  command -v node >/dev/null || need+=(nodejs)
  command -v npm >/dev/null || need+=(npm)
fi
"$(dirname "$0")/apt-install.sh" "${need[@]}"
