#!/usr/bin/env bash
# Fetches the programs of a test VM of another architecture than this
# machine's, whose own VM takes them from this machine: Debian's packages of
# that architecture and the library packages they depend on, downloaded
# (never installed) and unpacked into one root in the cache directory, which
# build-initramfs.sh takes as --sysroot. Later runs reuse it offline. Prints
# the root's path.
# Usage: fetch-userland.sh <cache dir> <arch> <package>...
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/vm/arch.sh
. "$here/arch.sh"

[ $# -ge 3 ] || { echo "usage: $0 <cache dir> <arch> <package>..." >&2; exit 2; }
cache=$1 arch=$2
shift 2
mkdir -p "$cache"
cache=$(cd "$cache" && pwd)
root="$cache/userland-$arch"
if [ -f "$root/.complete" ]; then
    echo "$root"
    exit 0
fi
apt_for_arch "$arch" "$cache"

# The packages, then, a level at a time, the library packages they depend
# on. Nothing is configured in the guest, so what only maintainer scripts
# need (adduser, debconf and theirs) stays out.
declare -A wanted=()
level=("$@")
while [ ${#level[@]} -gt 0 ]; do
    for pkg in "${level[@]}"; do wanted[$pkg]=1; done
    next=()
    for dep in $(apt-cache "${apt_opts[@]}" depends --no-recommends --no-suggests \
        --no-conflicts --no-breaks --no-replaces --no-enhances "${level[@]}" |
        awk '$1 ~ /Depends:$/ && $2 ~ /^lib/ { print $2 }' | sort -u); do
        [ -n "${wanted[$dep]:-}" ] || next+=("$dep")
    done
    level=("${next[@]}")
done

debs="$cache/debs-$arch"
mkdir -p "$debs"
# apt-get download writes into the current directory, which apt's
# unprivileged download user cannot enter in a root-owned build tree.
(cd "$debs" && apt-get "${apt_opts[@]}" download -q -o APT::Sandbox::User=root "${!wanted[@]}" >&2)

rm -rf "$root" "$root.tmp"
mkdir -p "$root.tmp"
for pkg in "${!wanted[@]}"; do
    deb=$(find "$debs" -maxdepth 1 -name "${pkg}_*_*.deb" | head -n 1)
    [ -n "$deb" ] || { echo "fetch-userland: download of $pkg failed" >&2; exit 1; }
    dpkg-deb -x "$deb" "$root.tmp"
done
touch "$root.tmp/.complete"
mv "$root.tmp" "$root"
echo "$root"
