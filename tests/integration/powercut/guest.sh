#!/bin/sh
# Runs inside the test VM for the power-cut test (see tools/vm/powercut.sh).
# The kernel command line says which file system the scratch disk holds and
# what this boot does: the first seeds the file and saves, every later one
# checks what the last cut left and saves again, the last one only checks.
# Saving goes on until the host cuts the power.
read -r cmdline </proc/cmdline
for word in $cmdline; do
    case $word in
    vk37.fs=*) fs=${word#*=} ;;
    vk37.boot=*) boot=${word#*=} ;;
    vk37.acked=*) acked=${word#*=} ;;
    vk37.flushed=*) flushed=${word#*=} ;;
    esac
done

tries=0
while [ ! -b /dev/vda ]; do
    tries=$((tries + 1))
    [ $tries -gt 100 ] && { echo "guest: the scratch disk did not appear" >&2; exit 1; }
    sleep 0.1
done
mkdir -p /mnt
mount -t "$fs" /dev/vda /mnt || exit 1

case $boot in
first)
    powercut_saver seed /mnt || exit 1
    exec powercut_saver save /mnt ;;
next)
    # A failed check has re-seeded the file: the host counts the failure and
    # the next cuts are still worth judging.
    powercut_saver check /mnt "$acked" "$flushed"
    exec powercut_saver save /mnt ;;
last)
    powercut_saver check /mnt "$acked" "$flushed"
    status=$?
    umount /mnt || status=1
    exit $status ;;
esac
echo "guest: unknown boot '$boot'" >&2
exit 1
