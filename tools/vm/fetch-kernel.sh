#!/usr/bin/env bash
# Fetches the kernel the test VM boots: Debian's versioned linux-image
# package that linux-image-<arch> points at, downloaded (never installed on
# this machine) and unpacked into a cache directory, so that later runs work
# offline. Prints the unpacked root's path on standard output.
# Usage: fetch-kernel.sh <cache dir> [arch]
# arch is a Debian architecture, this machine's by default.
set -euo pipefail
PATH=$PATH:/usr/sbin:/sbin
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/vm/arch.sh
. "$here/arch.sh"

cache=${1:?usage: $0 <cache dir> [arch]}
arch=${2:-$(dpkg --print-architecture)}
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)

# A root unpacked earlier is reused as it is: the VM test must not need the
# package registry once the cache is filled.
existing=$(find "$cache" -maxdepth 1 -type d -name "root-linux-image-*-$arch" | sort | tail -n 1)
if [ -n "$existing" ] && [ -f "$existing/.complete" ]; then
    echo "$existing"
    exit 0
fi

apt_for_arch "$arch" "$cache"
resolve() {
    apt-cache "${apt_opts[@]}" depends "linux-image-$arch" 2>/dev/null |
        sed -n "s/^ *Depends: \(linux-image-[0-9][^ ]*-$arch\)\$/\1/p" | head -n 1
}
pkg=$(resolve)
if [ -z "$pkg" ]; then
    # apt's lists may not have been read yet on a fresh machine.
    apt-get "${apt_opts[@]}" update -qq >&2 || true
    pkg=$(resolve)
fi
[ -n "$pkg" ] || { echo "fetch-kernel: cannot resolve linux-image-$arch" >&2; exit 1; }

deb=$(find "$cache" -maxdepth 1 -name "${pkg}_*.deb" | head -n 1)
if [ -z "$deb" ]; then
    # apt-get download writes into the current directory, which apt's
    # unprivileged download user cannot enter in a root-owned build tree;
    # download as the caller instead of warning about it.
    (cd "$cache" && apt-get "${apt_opts[@]}" download -q -o APT::Sandbox::User=root "$pkg" >&2)
    deb=$(find "$cache" -maxdepth 1 -name "${pkg}_*.deb" | head -n 1)
fi
[ -n "$deb" ] || { echo "fetch-kernel: download of $pkg failed" >&2; exit 1; }

root="$cache/root-$pkg"
rm -rf "$root" "$root.tmp"
mkdir -p "$root.tmp"
dpkg-deb -x "$deb" "$root.tmp"
# The package leaves the module index to its install scripts; build it here so
# that modprobe can resolve dependencies against the unpacked tree.
for modules in "$root.tmp"/lib/modules/*; do
    depmod -b "$root.tmp" "$(basename "$modules")"
done
touch "$root.tmp/.complete"
mv "$root.tmp" "$root"
echo "$root"
