#!/usr/bin/env bash
# Builds the Debian package of the Linux programs:
#   tools/package-deb.sh [build dir]
# Installs what is missing, makes a Release build without tests and
# benchmarks in its own build directory (default: build-deb), with Debian's
# compiler and linker flags (hardening included), and packs it with
# `cpack -G DEB`. The last line printed is the package's path,
# <build dir>/vk37set_<version>_<arch>.deb.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
build=$(realpath -m "${1:-$src/build-deb}")

"$src/tools/install-deps.sh" deb

# dpkg-buildflags maps the directory it runs in out of the debug paths.
cd "$src"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DVK37_BUILD_UI=ON -DVK37_BUILD_TESTS=OFF -DVK37_BUILD_BENCH=OFF -DVK37_SANITIZE=OFF \
    -DCMAKE_C_FLAGS="$cppflags $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$cppflags $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"

version=$(sed -n 's/^project(VK37Set VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
deb="$build/vk37set_${version}_$(dpkg --print-architecture).deb"
# A failed run must not leave an older package looking like its result.
rm -f "$deb"
(cd "$build" && cpack -G DEB)
[ -f "$deb" ] || { echo "cpack did not write $deb" >&2; exit 1; }
echo "$deb"
