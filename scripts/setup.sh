#!/usr/bin/env bash
# Installs every Debian package the build, the program, the demo and the tests need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi

PACKAGES=(
  build-essential cmake ninja-build ccache pkg-config clang libclang-rt-14-dev
  qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libqt6opengl6-dev
  qt6-qpa-plugins libgl-dev libxkbcommon-dev
  fonts-noto-cjk fonts-dejavu-core
  qt6-tools-dev qt6-l10n-tools qt6-translations-l10n
  xvfb xauth poppler-utils python3 python3-xlrd
  librsvg2-bin desktop-file-utils appstream dpkg-dev file
  libeigen3-dev qt6-charts-dev tzdata
  libqt6sql6-sqlite libqt6sql6-psql postgresql sqlite3 libxcb1-dev
)

missing=()
for p in "${PACKAGES[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done

if [ "${#missing[@]}" -gt 0 ]; then
  export DEBIAN_FRONTEND=noninteractive
  $SUDO apt-get update -qq
  $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
