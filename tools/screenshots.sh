#!/usr/bin/env bash
# Takes the README's screenshots: the main dialog, then the About box opened
# from the dialog's menu, on an X server of its own (Xvfb), in Chinese, then
# in English (files ending in -en); then the property frame, from the
# tests' framedemo (the fake kernel's webcam, as the machine may have no
# camera), on another.
# Usage: tools/screenshots.sh [path to VK37Set] [output directory]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
self=$(readlink -f "$0")
program=$(readlink -f "${1:-$src/build/app/VK37Set}")
out=$(readlink -f "${2:-$src/docs}")
mkdir -p "$out"
command -v import >/dev/null || { echo "needs imagemagick (apt-get install imagemagick)" >&2; exit 1; }
framedemo=${VK37_FRAMEDEMO:-$(dirname "$program")/../tests/platform/linux/ui/framedemo}

if [ "${3:-}" = --frame-session ]; then
    "$framedemo" &
    pid=$!
    wid=$(timeout 30 xdotool search --sync --name ' 属性$' | head -n 1)
    sleep 1
    eval "$(xdotool getwindowgeometry --shell "$wid")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/property-frame.png"
    kill "$pid"
    wait "$pid" || true
    exit
fi

if [ "${3:-}" != --session ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    xvfb-run -a -s "-screen 0 800x360x24" bash "$self" "$program" "$out" --session
    exit
fi

# Crop to the window: no window manager runs here, so there is no frame.
shot() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$2"
}
# One round per language: the locale, the two titles, the files' suffix.
# env sets the locale: it need not be installed.
round() {
    env LC_ALL="$1" "$program" &
    pid=$!
    wid=$(timeout 30 xdotool search --sync --name "^$2\$" | head -n 1)
    sleep 1 # let the first paint finish
    shot "$wid" "main-dialog$4.png"
    xdotool key --window "$wid" shift+F10
    sleep 0.5
    xdotool key Up Return
    about=$(timeout 30 xdotool search --sync --name "^$3\$" | head -n 1)
    sleep 1
    shot "$about" "about-box$4.png"
    xdotool key Escape
    sleep 0.5
    xdotool key Escape
    wait "$pid"
    echo "wrote $out/main-dialog$4.png and $out/about-box$4.png"
}
round C.UTF-8 '摄像头参数保存' '关于 VK37Set' ''
round en_US.UTF-8 'Save Camera Parameters' 'About VK37Set' -en
if [ -x "$framedemo" ]; then
    xvfb-run -a -s "-screen 0 640x480x24" bash "$self" "$program" "$out" --frame-session
    echo "wrote $out/property-frame.png"
fi
