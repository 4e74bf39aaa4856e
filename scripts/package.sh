#!/usr/bin/env bash
# Sets up, builds an optimised release and packs it as a Debian package;
# prints the package's path. Install it with: sudo apt-get install ./brackenmoor_*.deb
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh

jobs=$(nproc 2>/dev/null || echo 2)
cmake -S . -B build-package -G Ninja -DCMAKE_BUILD_TYPE=Release -DBUILD_TESTING=OFF >/dev/null
cmake --build build-package -j "$jobs"
(cd build-package && cpack -G DEB >/dev/null)

version=$(sed -n 's/^set(CPACK_PACKAGE_VERSION "\(.*\)")$/\1/p' build-package/CPackConfig.cmake)
deb=$(ls build-package/brackenmoor_"$version"_*.deb)
echo "$PWD/$deb"
