#!/usr/bin/env bash
# The Debian packages end to end: builds them with tools/package-deb.sh (a
# no-op build when they are up to date), lints them, checks their names,
# control fields and files, checks that their Depends are exactly what
# dpkg-shlibdeps finds in their programs (plus, for the dialog, the tools
# package of the same version), then:
# - the tools package alone, unpacked into a throw-away root: its manual
#   pages, vk37save run from there without a display, and, in the test VM
#   of the package's architecture, the restore at plug-in through the
#   package's own udev rule, helper and vk37load;
# - the dialog package on top of it (amd64): no file of both, its manual
#   page, desktop entry and software-centre metadata, and VK37Set started
#   from the root on Xvfb (tests/app/xvfb_test.sh).
# Usage: deb_test.sh <package-deb.sh> <arch> <build dir> <version> <vivid_tests> <vm cache>
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
[ $# -eq 6 ] || fail "usage: $0 <package-deb.sh> <arch> <build dir> <version> <vivid_tests> <vm cache>"
package_script=$1 arch=$2 build=$3 version=$4 vivid_tests=$5 vm_cache=$6
here=$(cd "$(dirname "$0")" && pwd)
vm=$here/../../tools/vm
# shellcheck source=tools/vm/arch.sh
. "$vm/arch.sh"
vm_arch "$arch" || exit 1
for tool in lintian dpkg-deb dpkg-shlibdeps man; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps.sh test)"
done
dialog=1
[ "$arch" = "$(dpkg --print-architecture)" ] || dialog=0

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Build. The last lines printed are the packages' paths, tools first.
packages=2
[ "$dialog" -eq 1 ] || packages=1
"$package_script" "$arch" "$build" >"$work/package.log" 2>&1 ||
    { cat "$work/package.log" >&2; fail "tools/package-deb.sh $arch failed"; }
mapfile -t debs < <(tail -n "$packages" "$work/package.log")
tools_deb=${debs[0]}
dialog_deb=${debs[1]:-}
for deb in "${debs[@]}"; do
    [ -f "$deb" ] || fail "no package at $deb"
done
[ "$(basename "$tools_deb")" = "vk37set-tools_${version}_${arch}.deb" ] ||
    fail "tools package file name: $(basename "$tools_deb")"
[ "$dialog" -eq 0 ] || [ "$(basename "$dialog_deb")" = "vk37set_${version}_${arch}.deb" ] ||
    fail "dialog package file name: $(basename "$dialog_deb")"

# dpkg-shlibdeps' Depends for the given programs. For another architecture
# it finds the cross compiler's libraries only when told where they are,
# and names their packages "libc6:arm64" or "libgcc-s1-arm64-cross", which
# on a machine of that architecture are libc6 and libgcc-s1.
shlibdeps() {
    local libs=() found
    [ "$vm_foreign" -eq 0 ] || libs=(-l"/usr/$vm_gnu/lib")
    mkdir -p "$work/shlibdeps/debian"
    touch "$work/shlibdeps/debian/control"
    found=$(cd "$work/shlibdeps" &&
            dpkg-shlibdeps "${libs[@]}" -O "${@/#/-e}" 2>"$work/shlibdeps.err") ||
        { cat "$work/shlibdeps.err" >&2; fail "dpkg-shlibdeps failed"; }
    found=${found#shlibs:Depends=}
    found=${found//-$arch-cross/}
    echo "${found//:$arch/}"
}

# One package: lintian finds no error, the control fields, exactly the
# expected files (on standard input: mode and path), all root's. Unpacks it
# into the throw-away root.
root=$work/root
check_package() {
    local deb=$1 name=$2
    lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1
    local status=$?
    echo "lintian $name:"
    grep -v '^running with root privileges' "$work/lintian.txt"
    grep -q '^E: ' "$work/lintian.txt" && fail "lintian reports errors in $name"
    [ "$status" -eq 0 ] || fail "lintian ended with status $status for $name"

    field() { dpkg-deb -f "$deb" "$1"; }
    [ "$(field Package)" = "$name" ] || fail "Package: $(field Package), not $name"
    [ "$(field Version)" = "$version" ] || fail "$name Version: $(field Version), not $version"
    [ "$(field Architecture)" = "$arch" ] || fail "$name Architecture: $(field Architecture)"
    [ "$(field Source)" = vk37set ] || fail "$name Source: $(field Source)"
    [ -n "$(field Maintainer)" ] || fail "$name has no Maintainer"
    echo "$name Depends: $(field Depends)"

    LC_ALL=C sort >"$work/expected.txt"
    dpkg-deb -c "$deb" >"$work/contents-$name.txt" || fail "dpkg-deb -c $name failed"
    awk '$1 !~ /^d/ { print $1, $6 }' "$work/contents-$name.txt" | LC_ALL=C sort >"$work/files.txt"
    diff -u "$work/expected.txt" "$work/files.txt" >&2 || fail "$name's files differ (- wanted, + found)"
    awk '$2 != "root/root"' "$work/contents-$name.txt" | grep . >&2 && fail "$name: entries not owned by root/root"
    dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x $name failed"
}

man_pages() {
    local page file warnings
    for page in "$@"; do
        file="$root/usr/share/man/man1/$page.1.gz"
        gzip -t "$file" || fail "$page.1.gz is not a gzip file"
        warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
        [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
    done
}

# The tools package, alone. Its Depends are only what its two programs
# need; the udev helper calls nothing beyond Debian's essential packages.
check_package "$tools_deb" vk37set-tools <<'LIST'
-rwxr-xr-x ./usr/bin/vk37load
-rwxr-xr-x ./usr/bin/vk37save
-rw-r--r-- ./usr/lib/udev/rules.d/70-vk37load.rules
-rwxr-xr-x ./usr/libexec/vk37set/vk37load-udev
-rw-r--r-- ./usr/share/doc/vk37set-tools/changelog.gz
-rw-r--r-- ./usr/share/doc/vk37set-tools/copyright
-rw-r--r-- ./usr/share/man/man1/vk37load.1.gz
-rw-r--r-- ./usr/share/man/man1/vk37save.1.gz
LIST
tools_depends=$(dpkg-deb -f "$tools_deb" Depends)
wanted=$(shlibdeps "$root/usr/bin/vk37save" "$root/usr/bin/vk37load")
[ "$tools_depends" = "$wanted" ] ||
    fail "vk37set-tools' Depends is not dpkg-shlibdeps' list: package has '$tools_depends', dpkg-shlibdeps says '$wanted'"
grep -Eq '(^|, )libc6( |,|$)' <<<"$tools_depends" || fail "vk37set-tools' Depends lacks libc6"
man_pages vk37save vk37load

# The restore at plug-in: udev gives no PATH, so the rule must name the
# packaged helper and the helper the packaged vk37load's directory.
grep -qx 'RUN+="/usr/libexec/vk37set/vk37load-udev"' "$root/usr/lib/udev/rules.d/70-vk37load.rules" ||
    fail "the udev rule does not run the packaged helper"
grep -q '^PATH=/usr/bin:' "$root/usr/libexec/vk37set/vk37load-udev" ||
    fail "the udev helper does not look for vk37load in /usr/bin first"

# vk37save from the package (under qemu-user for another architecture), in
# an empty directory that it must leave so.
run=$work/run
mkdir "$run"
vk37save() {
    (cd "$run" && ${vm_user:+"$vm_user" -L "/usr/$vm_gnu"} "$root/usr/bin/vk37save" "$@")
}
out=$(vk37save --version) || fail "vk37save --version: status $?"
grep -q "^vk37save .*${version//./\\.}" <<<"$out" || fail "vk37save --version printed: $out"
vk37save --help >/dev/null || fail "vk37save --help: status $?"
vk37save --list >"$work/list.txt" || fail "vk37save --list: status $?"
echo "vk37save --list: $(wc -l <"$work/list.txt") camera(s)"
[ -z "$(ls -A "$run")" ] || fail "vk37save --version/--help/--list wrote $(ls -A "$run")"

# The plug-in restore in the VM, with the package's vk37load, rule and
# helper at their packaged paths (and the package's programs in /bin for
# the test's own runs), the VM tests' vivid layout, udevd and v4l2-ctl.
files=()
while read -r path; do
    files+=(--file "$root/$path:/$path")
done < <(cd "$root" && find usr/bin usr/lib/udev usr/libexec -type f)
"$vm/run-vm.sh" --work "$work/vm" --cache "$vm_cache" --arch "$arch" --timeout 300 \
    --append "VK37_GUEST=plug-in VK37_UDEV_HELPER=/usr/libexec/vk37set/vk37load-udev" \
    --guest "$here/../integration/guest.sh" \
    --module "vivid:n_devs=2 node_types=0x20001,0x1" \
    --binary "$vivid_tests" --binary "$root/usr/bin/vk37save" --binary "$root/usr/bin/vk37load" \
    --binary /lib/systemd/systemd-udevd --binary v4l2-ctl "${files[@]}" ||
    fail "the restore at plug-in from vk37set-tools alone (VM status $?)"

[ "$dialog" -eq 1 ] || { echo ok; exit 0; }

# The dialog package, on top of the tools. The list grows with the icon
# sizes the dialog installs.
check_package "$dialog_deb" vk37set <<'LIST'
-rwxr-xr-x ./usr/bin/VK37Set
-rw-r--r-- ./usr/share/applications/org.example.vk37set.desktop
-rw-r--r-- ./usr/share/doc/vk37set/changelog.gz
-rw-r--r-- ./usr/share/doc/vk37set/copyright
-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/16x16/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/24x24/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/64x64/apps/vk37set.png
-rw-r--r-- ./usr/share/man/man1/VK37Set.1.gz
-rw-r--r-- ./usr/share/metainfo/org.example.vk37set.metainfo.xml
LIST
field() { dpkg-deb -f "$dialog_deb" "$1"; }
[ "$(field Recommends)" = "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei" ] ||
    fail "vk37set Recommends: $(field Recommends)"
wanted="vk37set-tools (= $version), $(shlibdeps "$root/usr/bin/VK37Set")"
[ "$(field Depends)" = "$wanted" ] ||
    fail "vk37set's Depends: package has '$(field Depends)', wanted '$wanted'"
grep -Eq '(^|, )libqt6widgets6( |,|$)' <<<"$wanted" || fail "vk37set's Depends lacks libqt6widgets6"
grep -q qt6 <<<"$tools_depends" && fail "vk37set-tools depends on Qt: $tools_depends"
# dpkg refuses a package that brings a file another one holds.
LC_ALL=C comm -12 <(awk '$1 !~ /^d/ { print $6 }' "$work/contents-vk37set-tools.txt" | LC_ALL=C sort) \
    <(awk '$1 !~ /^d/ { print $6 }' "$work/contents-vk37set.txt" | LC_ALL=C sort) >"$work/both.txt"
[ ! -s "$work/both.txt" ] || fail "files in both packages: $(cat "$work/both.txt")"
man_pages VK37Set

# The desktop entry and the metadata, as installed: both validators accept
# them without any check turned off, and the metadata's stock icon is one
# the package installs.
for tool in appstreamcli desktop-file-validate xvfb-run; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps.sh test)"
done
desktop-file-validate "$root/usr/share/applications/org.example.vk37set.desktop" ||
    fail "desktop-file-validate found errors"
metainfo=$root/usr/share/metainfo/org.example.vk37set.metainfo.xml
appstreamcli validate --no-net "$metainfo" || fail "appstreamcli validate found problems"
appstreamcli validate-tree --no-net "$root" || fail "appstreamcli validate-tree found problems"
icon=$(sed -n 's:.*<icon type="stock">\(.*\)</icon>.*:\1:p' "$metainfo")
[ -n "$icon" ] || fail "the metadata names no stock icon"
compgen -G "$root/usr/share/icons/hicolor/*/apps/$icon.png" >/dev/null ||
    fail "the metadata's icon $icon is not among the package's hicolor icons"

# VK37Set from the package: its window opens on Xvfb and Esc ends it with
# status 0.
bash "$here/../app/xvfb_test.sh" "$root/usr/bin/VK37Set" || fail "VK37Set from the package"
echo ok
