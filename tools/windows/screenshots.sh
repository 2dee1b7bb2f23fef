#!/usr/bin/env bash
# Takes the Windows build's screenshots: VK37Set.exe under Wine with the fake
# test cameras registered, in a throw-away Wine prefix and on an X server of
# its own (Xvfb): the main dialog, its device list dropped down, the About
# box, the message after saving camera A, and the one after loading it back;
# then the save's message in English.
# Usage: tools/windows/screenshots.sh [build-win directory] [output directory]
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
self=$(readlink -f "$0")
build=$(readlink -f "${1:-$src/build-win}")
out=$(readlink -f "${2:-$src/docs}")
program=$build/app/VK37Set.exe
mkdir -p "$out"
command -v import >/dev/null || { echo "needs imagemagick (apt-get install imagemagick)" >&2; exit 1; }
command -v xdotool >/dev/null || { echo "needs xdotool (apt-get install xdotool)" >&2; exit 1; }

if [ "${3:-}" != --session ]; then
    fakecamera=$build/tests/windows/fakecamera/fakecamera.dll
    for f in "$program" "$fakecamera"; do
        [ -f "$f" ] || { echo "$f is missing; build $build first" >&2; exit 1; }
    done
    "$src/tools/wine/session.sh" bash "$self" "$build" "$out" --session
    exit
fi

prefix=$VK37_WINEPREFIX
# Wine's processes must end before the X server they draw on does.
trap '"$src/tools/wine/stop.sh" "$prefix"' EXIT
# Registered here, not before: Wine's desktop process would otherwise start
# without a display and the program's windows would never reach this X server.
"$src/tools/wine/run.sh" "$prefix" regsvr32 /s "$build/tests/windows/fakecamera/fakecamera.dll"
"$src/tools/wine/run.sh" "$prefix" "$program" &
pid=$!

# Crops to the smallest rectangle holding all the given windows. No window
# manager runs, so Wine draws each frame itself and it lies inside the window.
shot() {
    local file=$1 x0=99999 y0=99999 x1=0 y1=0 w X Y WIDTH HEIGHT
    shift
    for w in "$@"; do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        x0=$((X < x0 ? X : x0)) y0=$((Y < y0 ? Y : y0))
        x1=$((X + WIDTH > x1 ? X + WIDTH : x1)) y1=$((Y + HEIGHT > y1 ? Y + HEIGHT : y1))
    done
    import -window root -crop "$((x1 - x0))x$((y1 - y0))+$x0+$y0" +repage "$out/$file"
    echo "wrote $out/$file"
}
find_window() {
    timeout 30 xdotool search --sync --onlyvisible --name "$1" | head -n 1 ||
        { echo "no window named $1 appeared" >&2; return 1; }
}
# Waits for the program started last to end, after its Esc.
closed() {
    for _ in $(seq 100); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    echo "VK37Set did not close" >&2
    exit 1
}

main=$(find_window '^摄像头参数保存$')
sleep 1 # let the first paint finish

# Wine does not activate the dialog of a program started here (a bare Win32
# dialog fares the same), so its caption looks inactive until another of its
# windows has been shown and closed: the About box goes first.
xdotool key alt+space
sleep 0.5
xdotool key Up Return
about=$(find_window '^关于 VK37Set$')
sleep 1
shot windows-about-box.png "$about"
xdotool key Escape
sleep 1
shot windows-main-dialog.png "$main"

# The focus starts on the device list, the first in the tab order.
xdotool key alt+Down
list=
for _ in $(seq 50); do
    for w in $(xdotool search --onlyvisible --classname '^vk37set\.exe$'); do
        [ "$w" != "$main" ] && [ -z "$(xdotool getwindowname "$w")" ] && list=$w
    done
    [ -n "$list" ] && break
    sleep 0.1
done
[ -n "$list" ] || { echo "the device list did not drop down" >&2; exit 1; }
sleep 1
shot windows-device-list.png "$main" "$list"

# Camera A is the first entry; the save button follows the list in the tab order.
xdotool key alt+Up Home Tab space
box=$(find_window '^VK37Set$')
sleep 1
shot windows-saved.png "$main" "$box"
xdotool key Return
sleep 0.5
# 参数载入 by its access key: the file just saved, back into camera A.
xdotool key alt+l
box=$(find_window '^VK37Set$')
sleep 1
shot windows-loaded.png "$main" "$box"
xdotool key Return
sleep 0.5
xdotool key Escape
closed
[ -s VK37.INI ] || { echo "saving wrote no VK37.INI" >&2; exit 1; }

# In English: Wine takes the user interface language from the locale.
VK37_WINE_LOCALE=en_US.UTF-8 "$src/tools/wine/run.sh" "$prefix" "$program" &
pid=$!
main=$(find_window '^Save Camera Parameters$')
sleep 1
# From the device list, the first in the tab order, to the save button.
xdotool key Tab space
box=$(find_window '^VK37Set$')
sleep 1
shot windows-saved-en.png "$main" "$box"
xdotool key Return
sleep 0.5
xdotool key Escape
closed
