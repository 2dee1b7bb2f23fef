#!/usr/bin/env bash
# Creates a fresh 64-bit Wine prefix for the Windows tests:
#   tools/wine/make-prefix.sh PREFIX
# Runs without a display, a network or any dialog. A PREFIX that already
# holds a Wine prefix is replaced; any other existing non-empty path is
# refused rather than deleted.
set -euo pipefail

if [ $# -ne 1 ]; then
    echo "usage: $0 PREFIX" >&2
    exit 2
fi
if [ -e "$1" ] && [ ! -f "$1/system.reg" ] && [ -n "$(ls -A "$1")" ]; then
    echo "$0: $1 exists and is not a Wine prefix" >&2
    exit 1
fi
. "$(dirname "$0")/env.sh" "$1"

if [ -f "$WINEPREFIX/system.reg" ]; then
    "$WINESERVER" -k 2>/dev/null || true
    rm -rf "$WINEPREFIX"
fi

"$WINE" wineboot -i
# With 32-bit Wine installed, plain `reg` is the 32-bit one; /reg:64 (last,
# or Wine's reg refuses it) names the registry view explicitly.
# Chinese captions ask for SimSun, which Wine does not ship.
"$WINE" reg add 'HKCU\Software\Wine\Fonts\Replacements' /v SimSun /t REG_SZ \
    /d 'WenQuanYi Zen Hei' /f /reg:64 >/dev/null
# Without a window manager, unmanaged windows still get captions and system menus.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f /reg:64 >/dev/null
# The registry reaches the prefix's files only when the server exits.
"$WINESERVER" -w
