#!/bin/sh
# Runs inside the test VM (see tools/vm): the VM tests against vivid. The
# removal tests break the driver instance they run on, so each runs alone
# after vivid is reloaded; everything else runs first, in one go, then the
# dialog's test. The restore at plug-in runs last, with udevd running the
# installed rule and syslogd keeping what the rule logs (VividLoad).
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

# VK37_GUEST=plug-in (the package test, from the kernel's command line): the
# restore at plug-in alone, with the programs, rule and helper of a package.
if [ "${VK37_GUEST:-}" != plug-in ]; then
    run --gtest_filter='-VividRemoval.*:VividLoad.*'
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
        QT_QPA_PLATFORM=offscreen /bin/vivid_dialog_tests --gtest_color=no \
            --gtest_filter='-UvcFrame.*' || status=1
    fi
fi
fresh_vivid || status=1
# udevadm is the same program as systemd-udevd: its name selects the part.
ln -s systemd-udevd /bin/udevadm
mkdir -p /run && mount -t tmpfs tmpfs /run
syslogd -O /tmp/messages
systemd-udevd --daemon || status=1
udevadm trigger --action=add --subsystem-match=video4linux
udevadm settle
"$tests" --gtest_color=no --gtest_filter='VividLoad.*' || status=1
udevadm control --exit
echo "guest: tests ended at $(cut -d' ' -f1 /proc/uptime)s"
exit $status
