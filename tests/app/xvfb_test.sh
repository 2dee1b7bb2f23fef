#!/usr/bin/env bash
# The real program on a real X server: it must open the window titled
# "摄像头参数保存", and Esc must end it with status 0 without writing a file.
# Usage: xvfb_test.sh <path to VK37Set>
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v xvfb-run >/dev/null || fail "xvfb-run is not installed (tools/install-deps.sh test)"
command -v xdotool >/dev/null || fail "xdotool is not installed (tools/install-deps.sh test)"

# Runs inside the X session: start, find the window, press Esc until the
# program has taken the keyboard focus and ends (bounded, so a hang fails).
session() {
    "$1" >"$work/out.txt" 2>&1 &
    local pid=$!
    local wid
    wid=$(timeout 30 xdotool search --sync --name '^摄像头参数保存$' | head -n 1)
    if [ -z "$wid" ]; then
        kill "$pid" 2>/dev/null
        echo "the window never appeared" >&2
        return 90
    fi
    xdotool getwindowname "$wid" >"$work/title.txt"
    for _ in $(seq 1 100); do
        kill -0 "$pid" 2>/dev/null || break
        xdotool key --window "$wid" Escape 2>/dev/null
        sleep 0.1
    done
    if kill -0 "$pid" 2>/dev/null; then
        kill "$pid"
        echo "Esc did not end the program" >&2
        return 91
    fi
    wait "$pid"
}
# Inside the X session this same script runs again, with --session.
if [ "${1:-}" = --session ]; then
    work=$3
    session "$2"
    exit
fi

program=$(readlink -f "$1")
self=$(readlink -f "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "no work directory"
xvfb-run -a -s "-screen 0 1024x768x24" bash "$self" --session "$program" "$work"
status=$?
[ "$status" -eq 0 ] || fail "status $status; program said: $(cat "$work/out.txt" 2>/dev/null)"
[ "$(cat "$work/title.txt")" = "摄像头参数保存" ] || fail "window title: $(cat "$work/title.txt")"
[ ! -e "$work/VK37.INI" ] || fail "cancel wrote VK37.INI"
echo ok
