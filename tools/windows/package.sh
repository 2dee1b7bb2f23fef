#!/usr/bin/env bash
# Cross-builds the Windows program and packs it for users:
#   tools/windows/package.sh [build dir] [output dir]
# Installs what is missing (MinGW-w64), builds VK37Set.exe, vk37save.exe and
# vk37load.exe (static executables, nothing else needed beside them) and
# writes VK37Set-<version>-win64.zip with the three programs and a short
# read-me into the output directory (default: the build directory).
set -euo pipefail
src=$(cd "$(dirname "$0")/../.." && pwd)
build=$(realpath -m "${1:-$src/build-win}")
out=$(realpath -m "${2:-$build}")

"$src/tools/install-deps.sh" windows
cmake -S "$src" -B "$build" --toolchain "$src/tools/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build "$build" -j"$(nproc)" --target VK37Set vk37save vk37load

version=$(sed -n 's/^project(VK37Set VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
name="VK37Set-$version-win64"
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
mkdir "$stage/$name"
x86_64-w64-mingw32-strip -o "$stage/$name/VK37Set.exe" "$build/app/VK37Set.exe"
x86_64-w64-mingw32-strip -o "$stage/$name/vk37save.exe" "$build/cli/vk37save.exe"
x86_64-w64-mingw32-strip -o "$stage/$name/vk37load.exe" "$build/cli/vk37load.exe"
# Windows editors expect CRLF in a text file.
sed 's/$/\r/' "$src/docs/windows-readme.txt" >"$stage/$name/README.txt"

mkdir -p "$out"
rm -f "$out/$name.zip"
(cd "$stage" && zip -q -r -X "$out/$name.zip" "$name")
echo "wrote $out/$name.zip"
