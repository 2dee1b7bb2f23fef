#!/bin/sh
# Runs inside the test VM (see tools/vm): the VM tests against vivid. The
# removal tests break the driver instance they run on, so each runs alone
# after vivid is reloaded; everything else runs first, in one go, and the
# dialog's test last.
tests=/bin/vivid_tests

fresh_vivid() {
    if grep -q '^vivid ' /proc/modules; then
        rmmod vivid || return 1
    fi
    load-modules || return 1
    tries=0
    while [ ! -e /dev/video2 ]; do
        tries=$((tries + 1))
        [ $tries -gt 100 ] && { echo "guest: vivid's nodes did not appear" >&2; return 1; }
        sleep 0.1
    done
}

status=0
run() {
    fresh_vivid || { status=1; return; }
    "$tests" --gtest_color=no "$@" || status=1
}

run --gtest_filter='-VividRemoval.*'
removal=$("$tests" --gtest_list_tests --gtest_filter='VividRemoval.*' |
    awk '/^[^ ]/ { suite = $1 } /^  / { print suite $1 }')
[ -n "$removal" ] || { echo "guest: no removal tests found" >&2; status=1; }
for test in $removal; do
    run --gtest_filter="$test"
done
# The dialog, offscreen, while vivid's second instance goes and comes back
# (built with the user interface only).
if [ -x /bin/vivid_dialog_tests ]; then
    echo "guest: dialog test started at $(cut -d' ' -f1 /proc/uptime)s"
    fresh_vivid || status=1
    QT_QPA_PLATFORM=offscreen /bin/vivid_dialog_tests --gtest_color=no || status=1
fi
echo "guest: tests ended at $(cut -d' ' -f1 /proc/uptime)s"
exit $status
