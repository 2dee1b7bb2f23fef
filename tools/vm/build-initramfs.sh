#!/usr/bin/env bash
# Assembles the test VM's initramfs: busybox, the kernel modules asked for
# with everything they depend on, the given programs with their shared
# libraries, the generic /init beside this script and the guest's script.
# Usage: build-initramfs.sh --kernel-root DIR --out FILE --guest SCRIPT
#            [--arch ARCH --sysroot DIR]
#            [--module NAME[:ARGS]]... [--binary PATH|NAME]... [--file SRC:DEST]...
# --module vivid:"n_devs=2" loads vivid and its dependencies, passing n_devs=2
# to vivid itself. Binaries land in /bin, their libraries where ldd finds them.
# For a guest of another architecture (--arch, a Debian architecture), busybox
# and the libraries come from --sysroot (fetch-userland.sh), and so does a
# binary given by a name or by a path that the sysroot holds; its own loader,
# run by qemu-user, finds the libraries.
set -euo pipefail
PATH=$PATH:/usr/sbin:/sbin
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tools/vm/arch.sh
. "$here/arch.sh"

root='' out='' guest='' arch='' sysroot=''
modules=() binaries=() files=()
while [ $# -gt 0 ]; do
    case $1 in
    --kernel-root) root=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --sysroot) sysroot=$2; shift 2 ;;
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
vm_arch "${arch:=$(dpkg --print-architecture)}"
if [ "$vm_foreign" -eq 1 ] && [ ! -d "$sysroot" ]; then
    echo "build-initramfs: an $arch guest needs --sysroot" >&2
    exit 2
fi
[ "$vm_foreign" -eq 1 ] || sysroot=''

# A path of the sysroot as this machine sees it, symbolic links (which may
# be absolute, meant for the guest) followed inside the sysroot.
in_root() {
    local path=$1 target n=0
    while [ -L "$sysroot$path" ] && [ $n -lt 40 ]; do
        target=$(readlink "$sysroot$path")
        case $target in /*) path=$target ;; *) path=$(dirname "$path")/$target ;; esac
        n=$((n + 1))
    done
    echo "$sysroot$path"
}

# The libraries a program loads, by their paths in the guest: ldd's
# "name => /path (address)" lines and the loader's "/path (address)". The
# sysroot's loader lists itself as "/path => path here (address)".
libraries() {
    if [ -z "$sysroot" ]; then
        ldd "$1"
    else
        local interp
        interp=$(readelf -l "$1" | sed -n 's/.*program interpreter: \(.*\)]$/\1/p')
        [ -z "$interp" ] || "$vm_user" -L "$sysroot" "$(in_root "$interp")" --list "$1"
    fi | awk '$1 ~ /^\// { print $1; next } $2 == "=>" && $3 ~ /^\// { print $3 }'
}

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
if [ -n "$sysroot" ]; then
    busybox=$(in_root /bin/busybox)
else
    busybox=$(command -v busybox) || { echo "build-initramfs: busybox not found" >&2; exit 1; }
fi
if [ -n "$(libraries "$busybox" 2>/dev/null)" ]; then
    echo "build-initramfs: $busybox is dynamically linked; install busybox-static" >&2
    exit 1
fi
cp "$busybox" "$stage/bin/busybox"
for applet in $(${vm_user:+"$vm_user"} "$busybox" --list); do
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
strip="strip"
[ "$vm_foreign" -eq 0 ] || strip=$vm_gnu-strip
copy_stripped() {
    mkdir -p "$(dirname "$2")"
    "$strip" -o "$2" "$1" 2>/dev/null || cp -L "$1" "$2"
    chmod 755 "$2"
}

for binary in "${binaries[@]}"; do
    # A bare name is looked up on PATH (in the sysroot, for another
    # architecture), so callers need not know where the distribution puts a
    # tool.
    name=$(basename "$binary")
    if [ -n "$sysroot" ]; then
        case $binary in
        */*) [ -e "$(in_root "$binary")" ] && binary=$(in_root "$binary") ;;
        *) for dir in /usr/bin /usr/sbin /bin /sbin; do
               [ -e "$(in_root "$dir/$binary")" ] && { binary=$(in_root "$dir/$binary"); break; }
           done ;;
        esac
    else
        case $binary in */*) ;; *) binary=$(command -v "$binary" || echo "$binary") ;; esac
    fi
    [ -x "$binary" ] || { echo "build-initramfs: $binary is not an executable" >&2; exit 1; }
    copy_stripped "$binary" "$stage/bin/$name"
    for lib in $(libraries "$binary"); do
        [ -e "$stage$lib" ] || copy_stripped "$(in_root "$lib")" "$stage$lib"
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
