#!/bin/sh
# The PATH the restore at plug-in's helper sets when vk37load is in /usr/bin,
# as the Debian package installs it: each directory once.
# Usage: udev_path_test.sh <path to vk37load-udev.in>
path=$({
    sed -n -e 's|@CMAKE_INSTALL_FULL_BINDIR@|/usr/bin|g' -e '/^PATH=/,/^export PATH/p' "$1"
    echo 'echo "$PATH"'
} | env -i sh)
[ "$path" = /usr/bin:/bin ] || { echo "FAIL: PATH=$path" >&2; exit 1; }
echo ok
