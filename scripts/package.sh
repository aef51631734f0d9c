#!/usr/bin/env bash
# Builds the Debian package in build-package/ (installed under /usr) and checks it with lintian.
#   scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
missing=()
for p in dpkg-dev fakeroot lintian file; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
  $sudo apt-get update -qq
  DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi
cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr -DBUILD_TESTING=OFF
cmake --build build-package -j "$(nproc)"
(cd build-package && cpack -G DEB)
deb=$(ls build-package/vantorel_*.deb)
echo "$deb"
if command -v lintian >/dev/null; then
  lintian --tag-display-limit 0 "$deb"
fi
