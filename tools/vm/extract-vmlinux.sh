#!/usr/bin/env bash
# Pulls the uncompressed ELF kernel out of a bzImage. Booted directly (qemu
# enters it through its PVH note), it skips the in-guest decompression, which
# is slow under emulation. Looks for each compressor's magic in turn and keeps
# the first candidate that decompresses to an ELF file.
# Usage: extract-vmlinux.sh <bzImage> <output>
set -euo pipefail

image=${1:?usage: $0 <bzImage> <output>}
out=${2:?usage: $0 <bzImage> <output>}
tmp="$out.tmp"
trap 'rm -f "$tmp"' EXIT

is_elf() { [ "$(head -c 4 "$1" | od -An -c | tr -d ' ')" = "177ELF" ]; }

# magic (as grep -P escapes) and the command that decompresses one stream
# from standard input, ignoring what follows it.
try() {
    local magic=$1
    shift
    command -v "$1" >/dev/null || return 1
    local offset
    while read -r offset; do
        tail -c +$((offset + 1)) "$image" | "$@" >"$tmp" 2>/dev/null || true
        if [ -s "$tmp" ] && is_elf "$tmp"; then
            mv "$tmp" "$out"
            return 0
        fi
    done < <(LC_ALL=C grep -obUaP "$magic" "$image" | cut -d: -f1)
    return 1
}

try '\xfd7zXZ\x00' xz -dc --single-stream ||
    try '\x28\xb5\x2f\xfd' zstd -dcq ||
    try '\x1f\x8b\x08' gzip -dc ||
    { echo "extract-vmlinux: no known compressed kernel in $image" >&2; exit 1; }
