#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# asking apt only for those that are missing.
# Usage: install-deps.sh run|deb|deb-arm64|windows|test
#   run: the Linux program; deb: the Linux program and its Debian packages;
#   deb-arm64: the arm64 tools package's cross-build (no Qt);
#   windows: the Windows cross-build and Wine to run it; test: everything the
#   test suite needs, both systems and the package checks included.
set -euo pipefail

build=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
       fonts-arphic-uming)
test=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils
      qemu-system-x86 busybox-static v4l-utils kmod cpio xz-utils e2fsprogs xfsprogs udev
      lintian appstream desktop-file-utils clang libclang-rt-14-dev fonts-dejavu-core)
# dpkg-shlibdeps and dpkg-buildflags; file, which CPack asks which files are
# programs.
deb=(dpkg-dev file)
# The arm64 cross-build: Debian's cross compiler, qemu-user to run its
# programs (the resource converter at build time, the unit tests) and the
# arm64 virtual machine of the VM tests; GoogleTest from source.
arm64=(cmake make g++-aarch64-linux-gnu qemu-user-static dpkg-dev file)
arm64_test=(googletest qemu-system-arm kmod cpio)
windows=(cmake make g++-mingw-w64-x86-64-posix binutils-mingw-w64-x86-64 googletest
         wine wine64 fonts-wine fonts-wqy-zenhei locales xvfb xauth xdotool zip)
# The 32-bit Windows build, and Wine's 32-bit half to run it (Debian's i386
# architecture).
windows+=(g++-mingw-w64-i686-posix binutils-mingw-w64-i686 wine32:i386)

case "${1:-test}" in
  run) wanted=("${build[@]}") ;;
  deb) wanted=("${build[@]}" "${deb[@]}") ;;
  deb-arm64) wanted=("${arm64[@]}") ;;
  windows) wanted=("${windows[@]}") ;;
  test) wanted=("${build[@]}" "${deb[@]}" "${test[@]}" "${windows[@]}" "${arm64[@]}" "${arm64_test[@]}") ;;
  *) echo "usage: $0 run|deb|deb-arm64|windows|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

# Packages of Debian's i386 architecture need it added first, once.
add_i386=
if [[ " ${missing[*]}" == *:i386* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  add_i386="dpkg --add-architecture i386 && "
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
  if ! command -v sudo >/dev/null; then
    # Without this, the first sudo below would end the script with
    # "sudo: command not found" and no word of what to do.
    cat >&2 <<EOF
$(basename "$0"): these packages are missing: ${missing[*]}
Installing them needs root, and sudo is not installed. Either run the same
command again as root, or have root run

  ${add_i386}apt-get update && apt-get install --no-install-recommends ${missing[*]}

and then run the same command again.
EOF
    exit 1
  fi
  sudo=(sudo)
fi
echo "Installing: ${missing[*]}"
[ -z "$add_i386" ] || "${sudo[@]}" dpkg --add-architecture i386
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
