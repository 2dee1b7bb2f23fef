#!/usr/bin/env bash
# Installs what is missing, builds the program and starts it in the current
# directory, where it writes VK37.INI.
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"

"$src/tools/install-deps.sh" run
cmake -S "$src" -B "$src/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVK37_BUILD_UI=ON \
  -DVK37_BUILD_TESTS=OFF -DVK37_BUILD_BENCH=OFF
cmake --build "$src/build" -j"$(nproc)" --target VK37Set
exec "$src/build/app/VK37Set"
