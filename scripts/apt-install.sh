#!/usr/bin/env bash
# Installs the Debian packages named, with apt-get (through sudo when not root),
# and says how long it took. Callers name only what they found missing.
#   scripts/apt-install.sh [--no-recommends] PACKAGE...
set -euo pipefail
options=()
if [ "${1:-}" = "--no-recommends" ]; then
  options+=(--no-install-recommends)
  shift
fi
[ $# -gt 0 ] || exit 0
sudo_cmd=""
[ "$(id -u)" = 0 ] || sudo_cmd="sudo"
started=$(date +%s)
echo "installing: $*" >&2
$sudo_cmd apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo_cmd apt-get install -y -qq "${options[@]}" "$@" >/dev/null
echo "installed $* in $(( $(date +%s) - started )) s" >&2
