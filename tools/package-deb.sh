#!/usr/bin/env bash
# Builds the Debian packages of the Linux programs:
#   tools/package-deb.sh [amd64|arm64] [OUTDIR]
# amd64 (the default) gives vk37set-tools_<version>_amd64.deb, the commands
# and the udev rule, and vk37set_<version>_amd64.deb, the dialog. arm64
# gives vk37set-tools_<version>_arm64.deb, cross-built with Debian's cross
# compiler (tools/aarch64-linux-gnu.cmake) and without Qt.
# Installs what is missing, makes a Release build without tests and
# benchmarks in OUTDIR (default: build-deb, or build-deb-arm64), with
# Debian's compiler and linker flags for the architecture (hardening
# included), and packs it with `cpack -G DEB`. The last lines printed are
# the packages' paths, <OUTDIR>/<package>_<version>_<arch>.deb, the tools
# package first.
set -euo pipefail
src=$(cd "$(dirname "$0")/.." && pwd)
arch=amd64
case ${1:-} in
amd64 | arm64) arch=$1; shift ;;
esac
[ $# -le 1 ] || { echo "usage: $0 [amd64|arm64] [OUTDIR]" >&2; exit 2; }
default="build-deb"
[ "$arch" = amd64 ] || default="build-deb-$arch"
build=$(realpath -m "${1:-$src/$default}")

cmake_args=(-DVK37_BUILD_UI=ON)
packages=(vk37set-tools vk37set)
if [ "$arch" = arm64 ]; then
    # No dialog for arm64 yet: there is no Qt in the cross compiler's sysroot.
    "$src/tools/install-deps.sh" deb-arm64
    cmake_args=(-DVK37_BUILD_UI=OFF --toolchain "$src/tools/aarch64-linux-gnu.cmake")
    packages=(vk37set-tools)
    # dpkg-buildflags gives the flags of the architecture named here.
    export DEB_HOST_ARCH=$arch
else
    [ "$(dpkg --print-architecture)" = "$arch" ] ||
        { echo "$0: amd64 packages are built on amd64 only" >&2; exit 2; }
    "$src/tools/install-deps.sh" deb
fi

# dpkg-buildflags maps the directory it runs in out of the debug paths.
cd "$src"
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cppflags=$(dpkg-buildflags --get CPPFLAGS)
cmake -S "$src" -B "$build" -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    "${cmake_args[@]}" -DVK37_BUILD_TESTS=OFF -DVK37_BUILD_BENCH=OFF -DVK37_SANITIZE=OFF \
    -DCMAKE_C_FLAGS="$cppflags $(dpkg-buildflags --get CFLAGS)" \
    -DCMAKE_CXX_FLAGS="$cppflags $(dpkg-buildflags --get CXXFLAGS)" \
    -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" >/dev/null
cmake --build "$build" -j"$(nproc)"

version=$(sed -n 's/^project(VK37Set VERSION \([0-9.]*\).*/\1/p' "$src/CMakeLists.txt")
debs=()
for package in "${packages[@]}"; do
    debs+=("$build/${package}_${version}_$arch.deb")
done
# A failed run must not leave older packages looking like its result.
rm -f "$build"/*.deb
(cd "$build" && cpack -G DEB)
for deb in "${debs[@]}"; do
    [ -f "$deb" ] || { echo "cpack did not write $deb" >&2; exit 1; }
done
printf '%s\n' "${debs[@]}"
