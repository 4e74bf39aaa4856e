#!/usr/bin/env bash
# Sets up, builds and runs every test, headless: the plain build, a bounded fuzz
# run, the AddressSanitizer + UndefinedBehaviorSanitizer build, then the plain
# tests again as the closing word. `--quick` runs the plain tests only.
set -euo pipefail
cd "$(dirname "$0")/.."

quick=0
[ "${1:-}" = "--quick" ] && quick=1

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
export QT_QPA_PLATFORM=offscreen
# Cache keys relative to the checkout, so a fresh clone reuses earlier compiles.
export CCACHE_BASEDIR="$PWD"

configure() { cmake -S . -B "$1" -G Ninja "${@:2}" >/dev/null; }

configure build -DCMAKE_BUILD_TYPE=Debug
cmake --build build -j "$jobs"

if [ "$quick" -eq 0 ]; then
  echo "== fuzzing (bounded) =="
  configure build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DBRACKENMOOR_FUZZ=ON -DBUILD_TESTING=OFF
  targets=$(sed -n 's/^foreach(target \(.*\))$/\1/p' tests/fuzz/CMakeLists.txt)
  # shellcheck disable=SC2086
  cmake --build build-fuzz -j "$jobs" --target $targets
  for t in $targets; do
    work=$(mktemp -d)
    log="$work/log"
    mkdir "$work/corpus"
    if ! build-fuzz/tests/fuzz/"$t" "$work/corpus" "tests/fuzz/corpus/${t#fuzz_}" \
        -max_total_time="${FUZZ_SECONDS:-20}" -artifact_prefix="$work/" >"$log" 2>&1; then
      tail -n 60 "$log"
      echo "fuzz target $t found a failure"
      exit 1
    fi
    echo "$t: $(grep -E '^Done' "$log" || tail -n 1 "$log")"
    rm -rf "$work"
  done

  echo "== sanitizer build =="
  configure build-asan -DCMAKE_BUILD_TYPE=Debug -DBRACKENMOOR_SANITIZE=ON
  cmake --build build-asan -j "$jobs"
  ASAN_OPTIONS="detect_leaks=1:abort_on_error=1" \
  LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1" \
    ctest --test-dir build-asan --output-on-failure -j "$jobs"
fi

echo "== tests =="
ctest --test-dir build --output-on-failure -j "$jobs"
