#!/bin/sh
# Starts the program with no display in reach: it must print one line and
# exit with status 1, not abort. Usage: nodisplay_test.sh <path to VK37Set>
program="$1"
fail() { echo "FAIL: $*" >&2; exit 1; }

check() {
    out=$(env -u QT_QPA_PLATFORM -u WAYLAND_DISPLAY "$@" "$program" 2>&1)
    status=$?
    [ "$status" -eq 1 ] || fail "exit status $status with $*: $out"
    lines=$(printf '%s\n' "$out" | wc -l)
    [ "$lines" -eq 1 ] || fail "expected one line with $*, got: $out"
    case "$out" in *display*) ;; *) fail "the line does not mention the display: $out" ;; esac
}

check -u DISPLAY
# A display that is named but cannot be reached.
check DISPLAY=:4711
echo ok
