#!/usr/bin/env bash
# Sets up, builds and starts the program. With no tester named in
# BRACKENMOOR_PORTS, it starts the simulated tester and links the program to it.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$jobs" --target brackenmoor brackenmoor-sim

if [ -n "${BRACKENMOOR_PORTS:-}" ]; then
  exec build/brackenmoor
fi

dir=$(mktemp -d)
trap 'kill "$sim" 2>/dev/null || true; rm -rf "$dir"' EXIT
build/brackenmoor-sim --link "$dir/tester" --records 25 --vary &
sim=$!
for _ in $(seq 50); do [ -e "$dir/tester" ] && break; sleep 0.1; done

# The tester answers on COM3; COM1 and COM2 are absent.
BRACKENMOOR_PORTS="::$dir/tester" build/brackenmoor
