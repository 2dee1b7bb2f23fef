#!/usr/bin/env bash
# The real program on a real X server with no window manager, driven by real
# key presses: Alt+Space must open the dialog's menu in the main dialog and
# in the About box without pressing the focused button, Esc must close the
# menu, and Esc must end the program with status 0 without writing a file.
# Where fontconfig finds Latin fonts only, the window must open all the same
# and one line on standard error must name the font packages.
# Usage: xvfb_test.sh <path to VK37Set>
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
command -v xvfb-run >/dev/null || fail "xvfb-run is not installed (tools/install-deps.sh test)"
command -v xdotool >/dev/null || fail "xdotool is not installed (tools/install-deps.sh test)"
command -v xwininfo >/dev/null || fail "xwininfo is not installed (tools/install-deps.sh test)"

# The bounded polls below guard against hangs; they measure nothing.
polls=100
pause() { sleep 0.1; }

running() { kill -0 "$pid" 2>/dev/null; }
# Ends the program after a failed step: prints $2, returns $1.
stop() {
    kill "$pid" 2>/dev/null
    [ -z "${2:-}" ] || echo "$2" >&2
    return "$1"
}

# The program's visible popup windows (its menu): override-redirect, unlike
# its dialogs.
popups() {
    local w
    for w in $(xdotool search --onlyvisible --pid "$pid" 2>/dev/null); do
        xwininfo -id "$w" 2>/dev/null | grep -q 'Override Redirect State: yes' && echo "$w"
    done
}

# Waits until window $1 has the keyboard focus, so that keys typed go to it.
await_focus() {
    for _ in $(seq 1 $polls); do
        [ "$(xdotool getwindowfocus 2>/dev/null)" = "$1" ] && return 0
        running || return 1
        pause
    done
    return 1
}

# Waits until the menu is open ($1 = yes) or closed ($1 = no) while the
# program keeps running.
await_menu() {
    for _ in $(seq 1 $polls); do
        running || return 1
        local open=no
        [ -n "$(popups)" ] && open=yes
        [ "$open" = "$1" ] && return 0
        pause
    done
    return 1
}

# Alt+Space in window $1 (named $2) opens the menu and leaves the window and
# the program running; Esc closes the menu again.
alt_space_opens_menu() {
    await_focus "$1" || { echo "$2 never took the keyboard focus" >&2; return 1; }
    xdotool key alt+space
    if ! await_menu yes; then
        running || { echo "Alt+Space in $2 ended the program" >&2; return 1; }
        echo "Alt+Space in $2 opened no menu" >&2
        return 1
    fi
    xdotool search --onlyvisible --name "^$2\$" | grep -qx "$1" ||
        { echo "Alt+Space closed $2" >&2; return 1; }
    xdotool key Escape
    await_menu no || { echo "Esc left the menu of $2 open" >&2; return 1; }
    xdotool search --onlyvisible --name "^$2\$" | grep -qx "$1" ||
        { echo "Esc on the menu closed $2" >&2; return 1; }
}

# Runs inside the X session: start, find the window, drive it, then press
# Esc until the program ends (bounded, so a hang fails).
session() {
    LC_ALL=C.UTF-8 "$1" >"$work/out.txt" 2>&1 & # the Chinese texts, whatever the locale
    pid=$!
    local wid about
    wid=$(timeout 30 xdotool search --sync --name '^摄像头参数保存$' | head -n 1)
    [ -n "$wid" ] || { stop 90 "the window never appeared"; return; }
    xdotool getwindowname "$wid" >"$work/title.txt"

    # At start-up the focus is on 确定, which a plain Space would press.
    alt_space_opens_menu "$wid" '摄像头参数保存' || { stop 92; return; }

    # The About box, opened from the same menu by its access key.
    xdotool key alt+space
    await_menu yes || { stop 93 "Alt+Space opened no menu again"; return; }
    xdotool key a
    about=$(timeout 30 xdotool search --sync --onlyvisible --name '^关于 VK37Set$' | head -n 1)
    [ -n "$about" ] || { stop 93 "the About box never appeared"; return; }
    alt_space_opens_menu "$about" '关于 VK37Set' || { stop 94; return; }
    xdotool key Escape
    for _ in $(seq 1 $polls); do
        xdotool search --onlyvisible --name '^关于 VK37Set$' >/dev/null || break
        pause
    done

    for _ in $(seq 1 $polls); do
        running || break
        xdotool key --window "$wid" Escape 2>/dev/null
        pause
    done
    running && { stop 91 "Esc did not end the program"; return; }
    wait "$pid"
}
latin_session() {
    FONTCONFIG_FILE=$work/latin.conf "$1" >"$work/latin.txt" 2>&1 &
    pid=$!
    timeout 30 xdotool search --sync --name '^摄像头参数保存$' >/dev/null ||
        stop 95 "without Chinese fonts the window never appeared"
    stop $?
}
# Inside the X session this same script runs again, with --session.
if [ "${1:-}" = --session ]; then
    work=$3
    session "$2" && latin_session "$2"
    exit
fi

program=$(readlink -f "$1")
self=$(readlink -f "$0")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || fail "no work directory"
latin=/usr/share/fonts/truetype/dejavu
echo "<fontconfig><dir>$latin</dir><cachedir>$work</cachedir></fontconfig>" >latin.conf
xvfb-run -a -s "-screen 0 1024x768x24" bash "$self" --session "$program" "$work"
status=$?
[ "$status" -eq 0 ] || fail "status $status; program said: $(cat "$work/out.txt" 2>/dev/null)"
[ "$(cat "$work/title.txt")" = "摄像头参数保存" ] || fail "window title: $(cat "$work/title.txt")"
[ ! -e "$work/VK37.INI" ] || fail "cancel wrote VK37.INI"
grep -q fonts- "$work/out.txt" && fail "with Chinese fonts, yet: $(cat "$work/out.txt")"
packages='fonts-arphic-uming, fonts-noto-cjk or fonts-wqy-zenhei'
[ "$(wc -l <"$work/latin.txt")" -eq 1 ] && grep -q "$packages" "$work/latin.txt" ||
    fail "without a Chinese font: $(cat "$work/latin.txt")"
echo ok
