#!/usr/bin/env bash
# Takes the README's screenshots: the main dialog, then the About box opened
# from the dialog's menu, then the property frame opened by 属性, on an X
# server of its own (Xvfb), in Chinese, then in English (files ending in
# -en). The dialog is the tests' framedemo, which lists the fake kernel's
# webcam, as the machine may have no camera.
# Usage: tools/screenshots.sh [path to VK37Set] [output directory]
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
self=$(readlink -f "$0")
program=$(readlink -f "${1:-$src/build/app/VK37Set}")
out=$(readlink -f "${2:-$src/docs}")
mkdir -p "$out"
command -v import >/dev/null || { echo "needs imagemagick (apt-get install imagemagick)" >&2; exit 1; }
framedemo=${VK37_FRAMEDEMO:-$(dirname "$program")/../tests/platform/linux/ui/framedemo}

if [ "${3:-}" != --session ]; then
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
    cd "$work"
    xvfb-run -a -s "-screen 0 1024x600x24" bash "$self" "$program" "$out" --session
    exit
fi

# Crop to the window: no window manager runs here, so there is no frame.
shot() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    import -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$out/$2"
}
# The main dialog lists the fake kernel's webcam when the tests' framedemo
# is built; without it, the program lists what this machine has.
dialog=("$program")
[ -x "$framedemo" ] && dialog=("$framedemo" --dialog)
# One round per language: the locale, the titles of the dialog, the About
# box and the frame, the files' suffix. env sets the locale: it need not be
# installed.
round() {
    env LC_ALL="$1" "${dialog[@]}" &
    pid=$!
    wid=$(timeout 30 xdotool search --sync --name "^$2\$" | head -n 1)
    sleep 1 # let the first paint finish
    shot "$wid" "main-dialog$5.png"
    xdotool key --window "$wid" shift+F10
    sleep 0.5
    xdotool key Up Return
    about=$(timeout 30 xdotool search --sync --name "^$3\$" | head -n 1)
    sleep 1
    shot "$about" "about-box$5.png"
    xdotool key Escape
    echo "wrote $out/main-dialog$5.png and $out/about-box$5.png"
    if [ "${dialog[0]}" = "$framedemo" ]; then
        sleep 0.5
        xdotool key --window "$wid" alt+p
        frame=$(timeout 30 xdotool search --sync --name "$4\$" | head -n 1)
        sleep 1
        shot "$frame" "property-frame$5.png"
        xdotool key Escape
        echo "wrote $out/property-frame$5.png"
    fi
    sleep 0.5
    xdotool key --window "$wid" Escape
    wait "$pid"
}
round C.UTF-8 '摄像头参数保存' '关于 VK37Set' ' 属性' ''
round en_US.UTF-8 'Save Camera Parameters' 'About VK37Set' ' Properties' -en
