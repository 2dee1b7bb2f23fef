#!/bin/sh
# Runs inside the test VM (see tools/vm): the VM tests against uvcvideo. The
# emulated camera (uvccamera/) serves gadgetfs' dummy_udc, whose host side
# uvcvideo binds; it is plugged in with each configuration in turn, the
# tests for that configuration run, and killing the camera unplugs it (if
# a test has not had it leave already).
tests=/bin/uvc_tests
mkdir -p /dev/gadget
mount -t gadgetfs gadgetfs /dev/gadget || { echo "guest: cannot mount gadgetfs" >&2; exit 1; }

# How many video nodes uvcvideo has made for the camera (capture and metadata).
uvc_nodes() {
    grep -l '^VK37 emulated' /sys/class/video4linux/video*/name 2>/dev/null | wc -l
}

status=0
slow=
with_camera() {
    log=/tmp/setcur-$1.log
    : >"$log"
    uvc_camera "$1" "$log" $slow &
    camera=$!
    tries=0
    while [ "$(uvc_nodes)" -lt 2 ]; do
        tries=$((tries + 1))
        if [ $tries -gt 200 ]; then
            echo "guest: uvcvideo made no nodes for the $1 camera" >&2
            status=1
            kill $camera
            return
        fi
        sleep 0.1
    done
    VK37_UVC_LOG=$log "$tests" --gtest_color=no --gtest_filter="$2" || status=1
    kill $camera 2>/dev/null
    wait $camera
    tries=0
    while [ "$(uvc_nodes)" -gt 0 ] && [ $tries -lt 100 ]; do
        tries=$((tries + 1))
        sleep 0.1
    done
}

with_camera full 'UvcFull.*'
with_camera second 'UvcSecond.*'
# The property frame's writes, the full camera slowed down to 20 ms a
# SET_CUR (built with the user interface only).
if [ -x /bin/vivid_dialog_tests ]; then
    tests=/bin/vivid_dialog_tests slow=20
    export QT_QPA_PLATFORM=offscreen
    with_camera full 'UvcFrame.*'
fi
echo "guest: tests ended at $(cut -d' ' -f1 /proc/uptime)s"
exit $status
