#!/usr/bin/env bash
# Sets up, builds an optimised tree and prints the benchmark figures.
# `--seconds N` shortens the idle measurement (default 30 s), `--minutes X` the
# soak (default 10); scripts/soak-asan.sh runs the soak under the sanitizers.
#
# Targets and figures last measured (2 cores, Release build):
#   bench_cli  1000 records --pace fast           <= 1.2x wire (16.2 s)   14.31 s (1.06x)
#   bench_cli  1000 records, 1 % replies lost     <= 1.3x wire, 0 missing 16.54 s (1.22x), 0 missing
#   bench_cli  --pace compatible, per 1000        about 100 s             100.2 s (extrapolated from 100)
#   bench_soil two-layer fit of 50 points          < 5 ms                  1.9-4.1 ms
#   bench_soil three-layer fit of 30 points        < 200 ms                91.4 ms (whole survey 118.6 ms)
#   bench_soilwindow open over 10,000 records      < 100 ms                64.5 ms (with the three-layer fit)
#   bench_trend memory growth, 86,400 readings     < 20 MB                 9.9 MiB
#   bench_trend one redraw of 86,400 readings      < 16 ms                 11.0 ms
#   bench_trend per record with the download bar   no measurable cost      1.13 us against 1.07 us without
#   bench_history a visit of 10,000 readings      < 1 s                   172 ms (Debug build)
#   bench_history show, 50 points x 20 visits     < 200 ms                11 ms store, 136 ms command (Debug build)
#   bench_startup time to the mapped window        <= 1.15x a bare window  1.62x (60.8 against 37.6 ms; 1.47x a Chinese label)
#   bench_startup resident memory once shown       <= 1.15x a bare window  1.63x (46.1 against 28.3 MiB; 1.47x a Chinese label)
#   bench_soak 62 min, resident growth per hour    < 1 MiB/h               0.62 MiB/h (heap in use 0.14; 30 min: 2.0)
#   bench_soak 30 min, records lost, fds, threads  0, no growth            0 of 6000, 9-13 fds, 3 threads, 6 of 6 relinks
#   bench_soak 10 min under ASan (soak-asan.sh)    no report               no report, 0 of 2000 lost
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-release -j "$jobs"

export QT_QPA_PLATFORM=offscreen
export BRACKENMOOR_PORTS=/nonexistent/brackenmoor-bench-port
echo "Machine: $(nproc) cores, $(uname -m), Qt $(pkg-config --modversion Qt6Core 2>/dev/null || echo 6)"
for b in build-release/bench/*/bench_*; do
  [ -f "$b" ] && [ -x "$b" ] || continue
  echo
  echo "== $(basename "$b") =="
  "$b" "$@"
done
