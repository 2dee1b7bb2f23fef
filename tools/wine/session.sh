#!/usr/bin/env bash
# Runs a command on an X server of its own with a fresh Wine prefix in a
# temporary folder (exported as VK37_WINEPREFIX, the folder being the
# command's working directory); afterwards Wine's processes are ended and
# the folder removed.  Usage: tools/wine/session.sh command [args...]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
command -v xvfb-run >/dev/null || { echo "needs xvfb-run (apt-get install xvfb)" >&2; exit 1; }

work=$(mktemp -d)
export VK37_WINEPREFIX=$work/prefix
trap '"$here/stop.sh" "$VK37_WINEPREFIX"; rm -rf "$work"' EXIT
"$here/make-prefix.sh" "$VK37_WINEPREFIX" >/dev/null 2>&1 ||
    { echo "$here/make-prefix.sh failed" >&2; exit 1; }
cd "$work"
xvfb-run -a -s "-screen 0 1024x768x24" "$@"
