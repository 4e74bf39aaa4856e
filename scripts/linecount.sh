#!/usr/bin/env bash
# Non-blank, non-comment lines of code (src/, tools/, bench/) against tests/.
set -euo pipefail
cd "$(dirname "$0")/.."
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.py' -o -name '*.sh' -o -name 'CMakeLists.txt' \) -print0 |
    xargs -0 cat | grep -v '^\s*$' | grep -v '^\s*//' | grep -v '^\s*#\s' | grep -cv '^\s*\*'
}
code=$(count src tools bench)
tests=$(count tests)
echo "code $code, tests $tests, tests/code $((100 * tests / code)) %"
