#!/usr/bin/env bash
# Brings the translation sources up to date with the texts of the window and its
# dialogs. The command-line tool speaks English and is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
lupdate=${LUPDATE:-$(command -v lupdate6 || echo /usr/lib/qt6/bin/lupdate)}
dirs=()
for d in src/app src/display src/records src/output src/link src/soil/ui src/design/ui src/trend; do
  [ -d "$d" ] && dirs+=("$d")
done
"$lupdate" -silent -locations none -no-obsolete -source-language zh_CN -target-language en -I src \
  "${dirs[@]}" -ts "${1:-translations/brackenmoor_en.ts}"
