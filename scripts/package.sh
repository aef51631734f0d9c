#!/usr/bin/env bash
# Builds the Debian package in build-package/ (installed under /usr) and checks it with lintian.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/ensure_packages.sh dpkg-dev fakeroot lintian file
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
deb=$(ls build-package/vantorel_*.deb)
echo "$deb"
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb"
fi
