#!/usr/bin/env bash
# Makes the test VM's kernel ready in a cache directory: Debian's kernel
# package unpacked (fetch-kernel.sh) and, on amd64, the uncompressed kernel
# taken out of its image (arm64's boots as it is). Prints two lines: the
# unpacked root, for the modules, and the kernel to boot; for another
# architecture than this machine's, a third: the root of the guest's
# programs (fetch-userland.sh), Debian's packages of the programs this
# machine gives its own VM (busybox, udevd, v4l2-ctl). The VM tests run it
# once, as their common set-up, so that parallel tests never fill one cache
# at the same time.
# Usage: prepare-kernel.sh <cache dir> [arch]
# Exit status 77 when qemu is not installed: nothing could boot the kernel,
# and the VM tests skip rather than need the package registry for nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/vm/arch.sh
. "$here/arch.sh"

cache=${1:?usage: $0 <cache dir> [arch]}
arch=${2:-$(dpkg --print-architecture)}
vm_arch "$arch"
command -v "$vm_qemu" >/dev/null || {
    echo "prepare-kernel: $vm_qemu is not installed; skipping" >&2
    exit 77
}
root=$("$here/fetch-kernel.sh" "$cache" "$arch")
cache=$(cd "$cache" && pwd)
image=$(find "$root/boot" -name 'vmlinuz-*' | head -n 1)
[ -n "$image" ] || { echo "prepare-kernel: no kernel image under $root/boot" >&2; exit 1; }
kernel=$image
if [ "$arch" = amd64 ]; then
    kernel="$cache/vmlinux-$(basename "$image" | sed 's/^vmlinuz-//')"
    if [ ! -s "$kernel" ] && ! "$here/extract-vmlinux.sh" "$image" "$kernel" >&2; then
        echo "prepare-kernel: booting the compressed image instead" >&2
        kernel=$image
    fi
fi
echo "$root"
echo "$kernel"
if [ "$vm_foreign" -eq 1 ]; then
    "$here/fetch-userland.sh" "$cache" "$arch" busybox-static udev v4l-utils
fi
