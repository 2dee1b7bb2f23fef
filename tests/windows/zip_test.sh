#!/usr/bin/env bash
# The Windows zip as a user unpacks it: exactly the two programs (static,
# of the zip's architecture) and the read-me, and both programs start from
# the unpacked folder under Wine.
# Usage: zip_test.sh <zip> <Wine prefix>   (tools/windows/package.sh writes the zip)
set -uo pipefail
zip=$1 prefix=$2
src=$(cd "$(dirname "$0")/../.." && pwd)
fail() { echo "FAIL: $*" >&2; exit 1; }
[ -f "$zip" ] || fail "$zip is missing: run tools/windows/package.sh first"

root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
unzip -q "$zip" -d "$root" || fail "cannot unpack $zip"
name=$(basename "$zip" .zip)
expected=$(printf '%s\n' "$name/" "$name/README.txt" "$name/VK37Set.exe" "$name/vk37save.exe" \
    "$name/vk37load.exe")
listed=$(cd "$root" && find . -mindepth 1 | sed 's|^\./||; s|^\([^/]*\)$|\1/|' | LC_ALL=C sort)
[ "$listed" = "$(LC_ALL=C sort <<<"$expected")" ] || fail "the zip holds: $listed"
# The read-me as every Notepad reads it: UTF-8 with a byte order mark, CRLF.
[ "$(head -c 3 "$root/$name/README.txt")" = $'\xef\xbb\xbf' ] ||
    fail "README.txt does not start with a UTF-8 byte order mark"
grep -qv $'\r$' "$root/$name/README.txt" && fail "README.txt has lines without CRLF"
# Programs of the zip's architecture, stripped, importing system DLLs only.
system='kernel32|user32|gdi32|comctl32|comdlg32|shell32|advapi32|ole32|oleaut32|msvcrt|ucrtbase'
system+='|version|shlwapi|setupapi|cfgmgr32|uxtheme|dwmapi|api-ms-win-[a-z0-9-]+'
case $name in
*-win32) triple=i686-w64-mingw32 format=pei-i386 ;;
*) triple=x86_64-w64-mingw32 format=pei-x86-64 ;;
esac
for exe in VK37Set.exe vk37save.exe vk37load.exe; do
    "$triple-objdump" -x "$root/$name/$exe" >"$root/headers.txt"
    grep -q "file format $format\$" "$root/headers.txt" || fail "$exe is not $format"
    grep -q '\.debug' "$root/headers.txt" && fail "$exe is not stripped"
    sed -n 's/^[[:space:]]*DLL Name: //p' "$root/headers.txt" |
        grep -viE "^($system)\.dll\$" &&
        fail "$exe imports DLLs that are not Windows' own"
done
rm "$root/headers.txt"

run() { "$src/tools/wine/run.sh" "$prefix" "$root/$name/vk37save.exe" "$@" 2>/dev/null; }
version=$(run --version | tr -d '\r')
want=${name#VK37Set-}
want=${want%-win??}
[ "$version" = "vk37save $want" ] || fail "vk37save --version printed '$version', not 'vk37save $want'"
cameras=$(run --list | grep -c $'\t') || true
[ "$cameras" -ge 1 ] || fail "vk37save --list from the zip found no camera"
(cd "$root" && run -q) || fail "vk37save from the zip did not save"
[ -f "$root/VK37.INI" ] || fail "vk37save from the zip wrote no VK37.INI"
(cd "$root" && "$src/tools/wine/run.sh" "$prefix" "$root/$name/vk37load.exe" --check -q 2>/dev/null) ||
    fail "vk37load --check from the zip did not find the camera as saved"

# The dialog program starts, shows its window and ends with status 0 on Esc.
# Wine does not always give a new window the focus at once, so the focus and
# the key are tried again until the program ends (the waits bound a hang;
# they measure nothing).
"$src/tools/wine/run.sh" "$prefix" "$root/$name/VK37Set.exe" >/dev/null 2>&1 &
pid=$!
window=
for _ in $(seq 1 300); do
    window=$(xdotool search --onlyvisible --name '^摄像头参数保存$' 2>/dev/null | head -1)
    [ -n "$window" ] && break
    kill -0 $pid 2>/dev/null || fail "VK37Set.exe from the zip ended before showing its window"
    sleep 0.1
done
[ -n "$window" ] || { kill $pid; fail "VK37Set.exe from the zip showed no window"; }
for _ in $(seq 1 30); do
    kill -0 $pid 2>/dev/null || break
    xdotool windowfocus "$window" 2>/dev/null
    sleep 0.3
    xdotool key Escape
    sleep 0.7
done
if kill -0 $pid 2>/dev/null; then
    kill $pid
    fail "VK37Set.exe from the zip did not end on Esc"
fi
wait $pid || fail "VK37Set.exe from the zip ended with status $?"
echo "zip: $name holds both programs and they start"
