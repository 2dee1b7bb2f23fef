#!/usr/bin/env bash
# Times VK37Set.exe's start-up under Wine against a bare dialog built from the
# same resources, first with no camera and then with the fake test cameras
# registered, in a throw-away Wine prefix on an X server of its own (Xvfb).
# Builds nothing: build the targets vk37_startup_bench and vk37_bare_dialog.
# Usage: bench/windows/run.sh [build-win directory] [launches per program]
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
self=$(readlink -f "$0")
build=$(readlink -f "${1:-$src/build-win}")
runs=${2:-15}
driver=$build/bench/windows/startup_bench.exe
program=$build/app/VK37Set.exe
bare=$build/bench/windows/bare_dialog.exe
fakecamera=$build/tests/windows/fakecamera/fakecamera.dll

if [ "${3:-}" != --session ]; then
    for f in "$driver" "$program" "$bare" "$fakecamera"; do
        [ -f "$f" ] || { echo "$f is missing; build $build first" >&2; exit 1; }
    done
    "$src/tools/wine/session.sh" bash "$self" "$build" "$runs" --session
    exit
fi

prefix=$VK37_WINEPREFIX
# Wine's processes must end before the X server they draw on does.
trap '"$src/tools/wine/stop.sh" "$prefix"' EXIT
# Wine sees the host's root as drive Z:.
winpath() { printf 'Z:%s' "${1//\//\\}"; }
bench() {
    "$src/tools/wine/run.sh" "$prefix" "$driver" --runs "$runs" \
        "$(winpath "$program")" "$(winpath "$bare")"
}
echo "no camera registered"
bench
"$src/tools/wine/run.sh" "$prefix" regsvr32 /s "$fakecamera"
echo "fake cameras registered"
bench
