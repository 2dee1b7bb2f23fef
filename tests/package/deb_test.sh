#!/usr/bin/env bash
# The Debian package end to end: builds it with tools/package-deb.sh (a
# no-op build when it is up to date), lints it, checks its name, control
# fields and files, checks that its Depends are exactly what dpkg-shlibdeps
# finds in its programs, validates its desktop entry and software-centre
# metadata, unpacks it into a throw-away root and starts both programs from
# there: vk37save without a display, VK37Set on Xvfb (tests/app/xvfb_test.sh).
# Usage: deb_test.sh <package-deb.sh> <build dir> <version>
set -uo pipefail
fail() { echo "FAIL: $*" >&2; exit 1; }
[ $# -eq 3 ] || fail "usage: $0 <package-deb.sh> <build dir> <version>"
package_script=$1 build=$2 version=$3
here=$(cd "$(dirname "$0")" && pwd)
for tool in lintian dpkg-deb dpkg-shlibdeps appstreamcli desktop-file-validate xvfb-run; do
    command -v "$tool" >/dev/null || fail "$tool is not installed (tools/install-deps.sh test)"
done

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Build. The last line printed is the package's path.
"$package_script" "$build" >"$work/package.log" 2>&1 ||
    { cat "$work/package.log" >&2; fail "tools/package-deb.sh failed"; }
deb=$(tail -n 1 "$work/package.log")
arch=$(dpkg --print-architecture)
[ "$(basename "$deb")" = "vk37set_${version}_${arch}.deb" ] ||
    fail "package file name: $(basename "$deb"), not vk37set_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no package at $deb"
echo "package: $deb"

# lintian: no error. Its whole report goes into the test's output.
lintian --fail-on error "$deb" >"$work/lintian.txt" 2>&1
status=$?
echo "lintian:"
grep -v '^running with root privileges' "$work/lintian.txt"
grep -q '^E: ' "$work/lintian.txt" && fail "lintian reports errors"
[ "$status" -eq 0 ] || fail "lintian ended with status $status"

# Control fields.
field() { dpkg-deb -f "$deb" "$1"; }
[ "$(field Package)" = vk37set ] || fail "Package: $(field Package)"
[ "$(field Version)" = "$version" ] || fail "Version: $(field Version), not $version"
[ "$(field Architecture)" = "$arch" ] || fail "Architecture: $(field Architecture)"
[ -n "$(field Maintainer)" ] || fail "no Maintainer"
[ "$(field Recommends)" = "fonts-arphic-uming | fonts-noto-cjk | fonts-wqy-zenhei" ] || fail "Recommends: $(field Recommends)"
depends=$(field Depends)
echo "Depends: $depends"
for lib in libc6 libqt6widgets6; do
    grep -Eq "(^|, )$lib( |,|$)" <<<"$depends" || fail "Depends lacks $lib: $depends"
done

# Files: exactly these, all root's, programs 0755 and the rest 0644.
dpkg-deb -c "$deb" >"$work/contents.txt" || fail "dpkg-deb -c failed"
LC_ALL=C sort >"$work/expected.txt" <<'LIST'
-rwxr-xr-x ./usr/bin/VK37Set
-rwxr-xr-x ./usr/bin/vk37load
-rwxr-xr-x ./usr/bin/vk37save
-rw-r--r-- ./usr/lib/udev/rules.d/70-vk37load.rules
-rwxr-xr-x ./usr/libexec/vk37set/vk37load-udev
-rw-r--r-- ./usr/share/applications/vk37set.desktop
-rw-r--r-- ./usr/share/doc/vk37set/changelog.gz
-rw-r--r-- ./usr/share/doc/vk37set/copyright
-rw-r--r-- ./usr/share/icons/hicolor/16x16/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/24x24/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/32x32/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/48x48/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/64x64/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/128x128/apps/vk37set.png
-rw-r--r-- ./usr/share/icons/hicolor/256x256/apps/vk37set.png
-rw-r--r-- ./usr/share/man/man1/VK37Set.1.gz
-rw-r--r-- ./usr/share/man/man1/vk37load.1.gz
-rw-r--r-- ./usr/share/man/man1/vk37save.1.gz
-rw-r--r-- ./usr/share/metainfo/vk37set.metainfo.xml
LIST
awk '$1 !~ /^d/ { print $1, $6 }' "$work/contents.txt" | LC_ALL=C sort >"$work/files.txt"
diff -u "$work/expected.txt" "$work/files.txt" >&2 || fail "the package's files differ (- wanted, + found)"
awk '$2 != "root/root"' "$work/contents.txt" | grep . >&2 && fail "entries not owned by root/root"

# Unpacked into a throw-away root.
root=$work/root
dpkg-deb -x "$deb" "$root" || fail "dpkg-deb -x failed"

# Depends is what dpkg-shlibdeps finds in the packaged programs, nothing
# written by hand beside it. dpkg-shlibdeps wants a debian/control, any.
mkdir -p "$work/shlibdeps/debian"
touch "$work/shlibdeps/debian/control"
found=$(cd "$work/shlibdeps" &&
        dpkg-shlibdeps -O -e "$root/usr/bin/VK37Set" -e "$root/usr/bin/vk37save" 2>"$work/shlibdeps.err") ||
    { cat "$work/shlibdeps.err" >&2; fail "dpkg-shlibdeps failed"; }
[ "$found" = "shlibs:Depends=$depends" ] ||
    fail "Depends is not dpkg-shlibdeps' list: package has '$depends', dpkg-shlibdeps says '${found#shlibs:Depends=}'"

# Manual pages: gzip files that man can format without complaint.
for page in VK37Set vk37save vk37load; do
    file="$root/usr/share/man/man1/$page.1.gz"
    gzip -t "$file" || fail "$page.1.gz is not a gzip file"
    warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$file" 2>&1 >/dev/null)
    [ -z "$warnings" ] || fail "man warns about $page.1: $warnings"
done

# The restore at plug-in: udev gives no PATH, so the rule must name the
# packaged helper and the helper the packaged vk37load's directory.
grep -qx 'RUN+="/usr/libexec/vk37set/vk37load-udev"' "$root/usr/lib/udev/rules.d/70-vk37load.rules" ||
    fail "the udev rule does not run the packaged helper"
grep -q '^PATH=/usr/bin:' "$root/usr/libexec/vk37set/vk37load-udev" ||
    fail "the udev helper does not look for vk37load in /usr/bin first"

# The desktop entry and the metadata, as installed. The component id is the
# desktop entry's name, vk37set, not a reverse domain name, which
# appstreamcli would warn about; every other warning fails.
desktop-file-validate "$root/usr/share/applications/vk37set.desktop" ||
    fail "desktop-file-validate found errors"
appstreamcli validate-tree --no-net --override=cid-desktopapp-is-not-rdns=info "$root" ||
    fail "appstreamcli found problems in the metadata"

# vk37save from the package, in an empty directory that it must leave so.
run=$work/run
mkdir "$run"
out=$(cd "$run" && "$root/usr/bin/vk37save" --version) || fail "vk37save --version: status $?"
grep -q "^vk37save .*${version//./\\.}" <<<"$out" || fail "vk37save --version printed: $out"
(cd "$run" && "$root/usr/bin/vk37save" --help >/dev/null) || fail "vk37save --help: status $?"
(cd "$run" && "$root/usr/bin/vk37save" --list >"$work/list.txt") || fail "vk37save --list: status $?"
echo "vk37save --list: $(wc -l <"$work/list.txt") camera(s)"
[ -z "$(ls -A "$run")" ] || fail "vk37save --version/--help/--list wrote $(ls -A "$run")"

# VK37Set from the package: its window opens on Xvfb and Esc ends it with
# status 0.
bash "$here/../app/xvfb_test.sh" "$root/usr/bin/VK37Set" || fail "VK37Set from the package"
echo ok
