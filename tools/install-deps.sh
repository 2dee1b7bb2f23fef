#!/usr/bin/env bash
# Installs the Debian 12 packages that building, running and testing need,
# asking apt only for those that are missing. Usage: install-deps.sh run|test
set -euo pipefail

build=(cmake g++ make pkg-config qt6-base-dev qt6-base-dev-tools libgl-dev
       fonts-arphic-uming)
test=(libgtest-dev libgmock-dev libbenchmark-dev xvfb xauth xdotool x11-utils
      qemu-system-x86 busybox-static v4l-utils kmod cpio xz-utils)

case "${1:-test}" in
  run) wanted=("${build[@]}") ;;
  test) wanted=("${build[@]}" "${test[@]}") ;;
  *) echo "usage: $0 run|test" >&2; exit 2 ;;
esac

missing=()
for pkg in "${wanted[@]}"; do
  dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q 'install ok installed' || missing+=("$pkg")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -eq 0 ] || sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}"
