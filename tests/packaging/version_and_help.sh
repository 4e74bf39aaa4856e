#!/usr/bin/env bash
# --version and --help answer without a display; anything else the window does
# not know is refused with exit status 1.
# Usage: version_and_help.sh BRACKENMOOR BRACKENMOOR_SIM VERSION
set -uo pipefail
app=$1 sim=$2 version=$3

failures=0
expect() { # expect STATUS OUTPUT_PATTERN DESCRIPTION -- COMMAND...
  local want=$1 pattern=$2 what=$3; shift 4
  local out status
  out=$("$@" 2>&1); status=$?
  if [ "$status" -ne "$want" ] || ! grep -qE "$pattern" <<<"$out"; then
    echo "FAIL: $what: status $status, output:"; echo "$out"
    failures=$((failures + 1))
  fi
}

headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
expect 0 "^brackenmoor $version\$" "--version without a display" -- "${headless[@]}" "$app" --version
expect 0 "^brackenmoor $version\$" "-v after Qt's own options" -- "${headless[@]}" "$app" -reverse -platform offscreen -v
expect 0 "^Usage: .*brackenmoor \[options\]" "--help without a display" -- "${headless[@]}" "$app" --help
expect 0 "^brackenmoor-sim $version\$" "the simulator's --version" -- "$sim" --version
expect 1 "Unknown option 'bogus'" "an unknown option" -- env QT_QPA_PLATFORM=offscreen "$app" --bogus
expect 1 "Unexpected argument 'file.txt'" "a stray argument" -- env QT_QPA_PLATFORM=offscreen "$app" file.txt

[ "$failures" -eq 0 ]
