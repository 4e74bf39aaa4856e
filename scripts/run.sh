#!/usr/bin/env bash
# Sets up, builds and starts the program. When no tester can be attached (no
# BRACKENMOOR_PORTS and no USB serial adapter), it starts the simulated tester
# and links the program to it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-run -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build-run -j "$jobs" --target brackenmoor brackenmoor-sim

# A port list of the user's own, or a USB serial adapter plugged in: the real tester.
if [ -n "${BRACKENMOOR_PORTS+set}" ] || compgen -G "/dev/ttyUSB*" >/dev/null || compgen -G "/dev/ttyACM*" >/dev/null; then
  exec build-run/brackenmoor
fi

dir=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$dir"' EXIT
build-run/brackenmoor-sim --link "$dir/tester" --records 25 --vary &
sim=$!
for _ in $(seq 50); do [ -e "$dir/tester" ] && break; sleep 0.1; done

# The tester answers on COM3; COM1 and COM2 are absent.
BRACKENMOOR_PORTS="::$dir/tester" build-run/brackenmoor
