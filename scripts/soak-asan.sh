#!/usr/bin/env bash
# The soak benchmark under AddressSanitizer + UndefinedBehaviorSanitizer, with
# the leak check as the tests run it. Every report ends the run with a failing
# status (the sanitizers are built not to recover), as does a lost record or a
# link that does not come back. Options go to bench_soak (default: --minutes 10).
#
# Its own tree, optimised: unoptimised, the soil window's fits on the window's
# thread take seconds each and starve the downloads the soak is there to repeat.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
export CCACHE_BASEDIR="$PWD"
cmake -S . -B build-asan-soak -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBRACKENMOOR_SANITIZE=ON >/dev/null
cmake --build build-asan-soak -j "$jobs" --target bench_soak

[ $# -gt 0 ] || set -- --minutes 10
ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
  build-asan-soak/bench/soak/bench_soak "$@"
