#!/usr/bin/env bash
# Ends Wine's server and every Wine process of a prefix, so none outlives the
# X server a test run started: tools/wine/stop.sh PREFIX
set -euo pipefail
[ -f "${1:-}/system.reg" ] || exit 0
. "$(dirname "$0")/env.sh" "$1"
"$WINESERVER" -k 2>/dev/null || true
