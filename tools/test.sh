#!/usr/bin/env bash
# Installs what is missing, builds, and runs every test: once in a plain
# build (the Debian packages' test included), then the unit tests (no Qt)
# again under AddressSanitizer and UndefinedBehaviorSanitizer, then the
# arm64 cross-build's tests (unit tests under qemu-user, the VM tests and
# the tools package in an arm64 VM), then the profile editor's fuzz target,
# then the Windows builds' tests (64-bit and 32-bit) under Wine, on an X
# server of their own.
set -euo pipefail
cd "$(dirname "$0")/.."

# Each stage ends with the time since the start, so a log shows what costs.
stage() { echo "test.sh: $1 done at ${SECONDS}s"; }

tools/install-deps.sh test
stage "installing"

jobs=$(nproc)
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK37_BUILD_UI=ON \
  -DVK37_BUILD_TESTS=ON -DVK37_BUILD_BENCH=ON
cmake --build build -j"$jobs"
# The Debian packages, built where their test (label package) builds them,
# so that the test finds them up to date and the Release build does not run
# beside the other tests.
tools/package-deb.sh amd64 build/deb
ctest --test-dir build --output-on-failure -j"$jobs"
stage "Linux build and tests"

cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVK37_SANITIZE=ON -DVK37_BUILD_UI=OFF \
  -DVK37_BUILD_TESTS=ON
cmake --build build-asan -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build-asan --output-on-failure -j"$jobs" -L unit
stage "sanitizers"

# arm64, without Qt: Debian's cross compiler; the unit tests run under
# qemu-user, the VM tests and the tools package's restore at plug-in in an
# arm64 VM (qemu-system-aarch64), and the arm64 tools package is built
# first, as above.
cmake -S . -B build-arm64 --toolchain tools/aarch64-linux-gnu.cmake -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVK37_BUILD_UI=OFF -DVK37_BUILD_TESTS=ON -DVK37_BUILD_BENCH=OFF
cmake --build build-arm64 -j"$jobs"
tools/package-deb.sh arm64 build-arm64/deb
ctest --test-dir build-arm64 --output-on-failure -j"$jobs"
stage "arm64"

# The profile editor under libFuzzer, built with clang, for about a minute
# from the checked-in seeds.
cmake -S tests/platform/linux/profile/fuzz -B build-fuzz -DCMAKE_CXX_COMPILER=clang++
cmake --build build-fuzz -j"$jobs"
ctest --test-dir build-fuzz --output-on-failure
stage "fuzzing"

# The Linux build's half of the profile writer's cross-check runs beside
# the Windows tests.
cmake -S . -B build-win --toolchain tools/mingw-w64.cmake -DCMAKE_BUILD_TYPE=Release \
  -DVK37_PROFILE_CROSSCHECK="$PWD/build/tests/platform/linux/profile/crosscheck/profile_crosscheck"
cmake --build build-win -j"$jobs"
# The Windows package builds from the same tree.
tools/windows/package.sh build-win
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build-win --output-on-failure -j"$jobs"
stage "Windows 64-bit"

# The 32-bit Windows build, in the same Wine prefix kind (32-bit programs run
# there beside 64-bit ones), with its own 32-bit fake cameras. The profile
# writer's cross-check is not repeated: it compares with the same Wine code.
cmake -S . -B build-win32 --toolchain tools/mingw-w64-i686.cmake -DCMAKE_BUILD_TYPE=Release
cmake --build build-win32 -j"$jobs"
tools/windows/package.sh win32 build-win32
xvfb-run -a -s "-screen 0 1024x768x24" ctest --test-dir build-win32 --output-on-failure -j"$jobs"
stage "Windows 32-bit"
