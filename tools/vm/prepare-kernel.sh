#!/usr/bin/env bash
# Makes the test VM's kernel ready in a cache directory: Debian's kernel
# package unpacked (fetch-kernel.sh) and the uncompressed kernel taken out of
# its image. Prints two lines: the unpacked root, for the modules, and the
# kernel to boot. The VM tests run it once, as their common set-up, so that
# parallel tests never fill one cache at the same time.
# Usage: prepare-kernel.sh <cache dir>
# Exit status 77 when qemu is not installed: nothing could boot the kernel,
# and the VM tests skip rather than need the package registry for nothing.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)

cache=${1:?usage: $0 <cache dir>}
command -v qemu-system-x86_64 >/dev/null || {
    echo "prepare-kernel: qemu-system-x86_64 is not installed; skipping" >&2
    exit 77
}
root=$("$here/fetch-kernel.sh" "$cache")
cache=$(cd "$cache" && pwd)
image=$(find "$root/boot" -name 'vmlinuz-*' | head -n 1)
[ -n "$image" ] || { echo "prepare-kernel: no kernel image under $root/boot" >&2; exit 1; }
kernel="$cache/vmlinux-$(basename "$image" | sed 's/^vmlinuz-//')"
if [ ! -s "$kernel" ] && ! "$here/extract-vmlinux.sh" "$image" "$kernel" >&2; then
    echo "prepare-kernel: booting the compressed image instead" >&2
    kernel=$image
fi
echo "$root"
echo "$kernel"
