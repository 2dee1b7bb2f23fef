#!/usr/bin/env bash
# Cross-builds the Windows program and packs it for users:
#   tools/windows/package.sh [win64|win32] [build dir] [output dir]
# Installs what is missing (MinGW-w64), builds VK37Set.exe, vk37save.exe and
# vk37load.exe for the architecture (default win64, build dir build-win;
# win32: build dir build-win32) as static executables that need nothing
# beside them, and writes VK37Set-<version>-<architecture>.zip with the three
# programs and a short read-me into the output directory (default: the build
# directory).
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
arch=win64
case "${1:-}" in
win64 | win32) arch=$1 && shift ;;
esac
case $arch in
win64) triple=x86_64-w64-mingw32 toolchain=mingw-w64.cmake default_build=build-win bits=64 ;;
win32) triple=i686-w64-mingw32 toolchain=mingw-w64-i686.cmake default_build=build-win32 bits=32 ;;
esac
build=$(realpath -m "${1:-$src/$default_build}")
out=$(realpath -m "${2:-$build}")

"$src/tools/install-deps.sh" windows
cmake -S "$src" -B "$build" --toolchain "$src/tools/$toolchain" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
# An existing build directory keeps the compiler it was made with.
grep -q "^CMAKE_LINKER:FILEPATH=.*/$triple-ld$" "$build/CMakeCache.txt" ||
    { echo "$0: $build is not a $arch build" >&2; exit 1; }
cmake --build "$build" -j"$(nproc)" --target VK37Set vk37save vk37load

version=$(sed -n 's/^project(VK37Set VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
name="VK37Set-$version-$arch"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
"$triple-strip" -o "$stage/$name/VK37Set.exe" "$build/app/VK37Set.exe"
"$triple-strip" -o "$stage/$name/vk37save.exe" "$build/cli/vk37save.exe"
"$triple-strip" -o "$stage/$name/vk37load.exe" "$build/cli/vk37load.exe"
# Every Notepad reads UTF-8 with a byte order mark and CRLF line ends (the
# ones before Windows 10 1903 take UTF-8 without the mark for the ANSI code
# page); the source stays plain UTF-8 with LF. Its title names the build.
{ printf '\357\273\277' && sed "1s/(64-bit)/($bits-bit)/; s/\$/\r/" "$src/docs/windows-readme.txt"; } \
    >"$stage/$name/README.txt"

mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
echo "wrote $out/$name.zip"
