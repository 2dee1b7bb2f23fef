#!/usr/bin/env bash
# Assembles the test VM's initramfs: busybox, the kernel modules asked for
# with everything they depend on, the given programs with their shared
# libraries, the generic /init beside this script and the guest's script.
# Usage: build-initramfs.sh --kernel-root DIR --out FILE --guest SCRIPT
#            [--module NAME[:ARGS]]... [--binary PATH|NAME]... [--file SRC:DEST]...
# --module vivid:"n_devs=2" loads vivid and its dependencies, passing n_devs=2
# to vivid itself. Binaries land in /bin, their libraries where ldd finds them.
set -euo pipefail
PATH=$PATH:/usr/sbin:/sbin
here=$(cd "$(dirname "$0")" && pwd)

root='' out='' guest=''
modules=() binaries=() files=()
while [ $# -gt 0 ]; do
    case $1 in
    --kernel-root) root=$2; shift 2 ;;
    --out) out=$2; shift 2 ;;
    --guest) guest=$2; shift 2 ;;
    --module) modules+=("$2"); shift 2 ;;
    --binary) binaries+=("$2"); shift 2 ;;
    --file) files+=("$2"); shift 2 ;;
    *) echo "build-initramfs: unknown argument $1" >&2; exit 2 ;;
    esac
done
if [ -z "$root" ] || [ -z "$out" ] || [ -z "$guest" ]; then
    echo "usage: $0 --kernel-root DIR --out FILE --guest SCRIPT [...]" >&2
    exit 2
fi

versions=("$root"/lib/modules/*)
if [ ${#versions[@]} -ne 1 ] || [ ! -d "${versions[0]}" ]; then
    echo "build-initramfs: expected one kernel under $root/lib/modules" >&2
    exit 1
fi
version=$(basename "${versions[0]}")

stage="$out.d"
rm -rf "$stage"
mkdir -p "$stage"/{bin,dev,proc,sys,tmp,modules}

# busybox must be the static build: the image has no libc for it otherwise
# until a dynamic program brings one, and /init runs before any does.
busybox=$(command -v busybox) || { echo "build-initramfs: busybox not found" >&2; exit 1; }
if ldd "$busybox" >/dev/null 2>&1; then
    echo "build-initramfs: $busybox is dynamically linked; install busybox-static" >&2
    exit 1
fi
cp "$busybox" "$stage/bin/busybox"
for applet in $("$busybox" --list); do
    [ -e "$stage/bin/$applet" ] || ln -s busybox "$stage/bin/$applet"
done

# Modules in the order modprobe would insert them, each once.
: >"$stage/modules/load-order"
declare -A seen=()
for item in "${modules[@]}"; do
    name=${item%%:*}
    args=
    [ "$name" != "$item" ] && args=${item#*:}
    chain=$(modprobe -S "$version" -d "$root" --show-depends "$name" | awk '$1 == "insmod" { print $2 }')
    [ -n "$chain" ] || { echo "build-initramfs: module $name not found for $version" >&2; exit 1; }
    for path in $chain; do
        file=$(basename "$path")
        [ -n "${seen[$file]:-}" ] && continue
        seen[$file]=1
        cp "$path" "$stage/modules/$file"
        if [ "$file" = "$name.ko" ]; then
            echo "$file $args" >>"$stage/modules/load-order"
        else
            echo "$file" >>"$stage/modules/load-order"
        fi
    done
done

# Debug information only makes the image bigger and the boot slower.
copy_stripped() {
    mkdir -p "$(dirname "$2")"
    strip -o "$2" "$1" 2>/dev/null || cp -L "$1" "$2"
    chmod 755 "$2"
}

for binary in "${binaries[@]}"; do
    # A bare name is looked up on PATH, so callers need not know where the
    # distribution puts a tool.
    case $binary in */*) ;; *) binary=$(command -v "$binary" || echo "$binary") ;; esac
    [ -x "$binary" ] || { echo "build-initramfs: $binary is not an executable" >&2; exit 1; }
    copy_stripped "$binary" "$stage/bin/$(basename "$binary")"
    # "name => /path (address)" for libraries, "/path (address)" for the loader.
    for lib in $(ldd "$binary" | awk '$2 == "=>" && $3 ~ /^\// { print $3 } $1 ~ /^\// { print $1 }'); do
        [ -e "$stage$lib" ] || copy_stripped "$lib" "$stage$lib"
    done
done

for item in "${files[@]}"; do
    dest="$stage/${item#*:}"
    mkdir -p "$(dirname "$dest")"
    cp -L "${item%%:*}" "$dest"
done

cp "$here/init" "$stage/init"
cp "$here/load-modules" "$stage/bin/load-modules"
cp "$guest" "$stage/guest.sh"
chmod 755 "$stage/init" "$stage/bin/load-modules" "$stage/guest.sh"

# Uncompressed: unpacking is cheap, decompressing under emulation is not.
(cd "$stage" && find . -mindepth 1 | LC_ALL=C sort | cpio -o -H newc -R 0:0 --quiet) >"$out.tmp"
mv "$out.tmp" "$out"
rm -rf "$stage"
