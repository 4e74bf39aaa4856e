#!/usr/bin/env bash
# Installs the build into a temporary prefix and checks what a desktop would
# see there: the programs, a valid menu entry and AppStream metadata that agree
# with each other and with the programs, and the icon at every size.
# Usage: install_tree.sh CMAKE_COMMAND BUILD_DIR cli|nocli
set -euo pipefail
cmake=$1 build=$2 cli=$3
id=io.github.brackenmoor.Brackenmoor

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

for tool in desktop-file-validate appstreamcli file; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/setup.sh installs it)"; exit 1; }
done

tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
prefix=$tmp/usr
"$cmake" --install "$build" --prefix "$prefix" >/dev/null

programs=(brackenmoor brackenmoor-sim)
[ "$cli" = cli ] && programs+=(brackenmoor-cli)
for p in "${programs[@]}"; do
  [ -x "$prefix/bin/$p" ] || fail "bin/$p is not installed"
done
# The windows the menus open are a module the program finds under its library folder.
compgen -G "$prefix/lib*/brackenmoor/brackenmoor_late.so" >/dev/null \
  || compgen -G "$prefix/lib/*/brackenmoor/brackenmoor_late.so" >/dev/null \
  || fail "the late windows' module is not installed under lib/brackenmoor"
man=$prefix/share/man/man1/brackenmoor-cli.1
if [ "$cli" = cli ]; then
  [ -s "$man" ] || fail "the brackenmoor-cli manual page is not installed"
else
  [ ! -e "$man" ] || fail "a manual page is installed for a brackenmoor-cli that was not built"
fi

desktop=$prefix/share/applications/$id.desktop
metainfo=$prefix/share/metainfo/$id.metainfo.xml
if [ -f "$desktop" ]; then
  desktop-file-validate "$desktop" || fail "desktop-file-validate rejects $id.desktop"
  grep -qx "Exec=brackenmoor" "$desktop" || fail "the menu entry does not start brackenmoor"
  grep -qx "Icon=$id" "$desktop" || fail "the menu entry names another icon"
else
  fail "$id.desktop is not installed"
fi
if [ -f "$metainfo" ]; then
  appstreamcli validate --no-net "$metainfo" || fail "appstreamcli rejects the metadata"
  # Every installed program is listed, and the release is the one the program reports.
  for p in "$prefix"/bin/*; do
    grep -q "<binary>$(basename "$p")</binary>" "$metainfo" || fail "the metadata does not list $(basename "$p")"
  done
  version=$(env -u DISPLAY -u WAYLAND_DISPLAY "$prefix/bin/brackenmoor" --version | sed -n 's/^brackenmoor //p')
  [ -n "$version" ] && grep -q "<release version=\"$version\"" "$metainfo" \
    || fail "the metadata's release is not the program's version '$version'"
else
  fail "$id.metainfo.xml is not installed"
fi

icons=$prefix/share/icons/hicolor
[ -s "$icons/scalable/apps/$id.svg" ] || fail "the scalable icon is not installed"
for size in 48 128 256; do
  png=$icons/${size}x${size}/apps/$id.png
  file "$png" | grep -q "PNG image data, $size x $size," || fail "${size}x${size} icon: $(file -b "$png")"
done

[ "$failures" -eq 0 ] || exit 1
echo "install tree complete and valid: $(find "$prefix" -type f | wc -l) files"
