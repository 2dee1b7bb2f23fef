#!/usr/bin/env bash
# Runs a Windows program under Wine in the test prefix and exits with the
# program's status, so it can serve as CMAKE_CROSSCOMPILING_EMULATOR:
#   tools/wine/run.sh PREFIX program.exe [args...]
# PREFIX may be '' to use $VK37_WINEPREFIX.
set -euo pipefail

if [ $# -lt 2 ]; then
    echo "usage: $0 PREFIX program.exe [args...]" >&2
    exit 2
fi
prefix="${1:-${VK37_WINEPREFIX:-}}"
shift
if [ ! -f "$prefix/system.reg" ]; then
    # Wine would otherwise build a prefix silently, without the test settings.
    echo "$0: no Wine prefix at '$prefix'; create it with make-prefix.sh" >&2
    exit 125
fi
. "$(dirname "$0")/env.sh" "$prefix"
exec "$WINE" "$@"
