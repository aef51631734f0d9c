#!/usr/bin/env bash
# Builds the Debian packages with debhelper (packaging/debian) and checks them: lintian must
# report no warning or error, tests/packaging/check_debs.sh looks inside them, and, as root,
# tests/packaging/apt_install_test.sh installs them with apt into a fresh Debian 12 (debootstrap,
# a few minutes and the archive's network) and removes them again. The .deb files land in
# build-package/.
#   scripts/package.sh [--no-apt-test]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
out=$root/build-package

# The build dependencies (packaging/debian/control) and the tools.
apt_test=yes
[ "${1:-}" != --no-apt-test ] || apt_test=no

scripts/ensure_packages.sh dpkg-dev debhelper fakeroot lintian file binutils debootstrap g++ \
  cmake pkg-config libcurl4-openssl-dev libgdk-pixbuf-2.0-dev libpodofo-dev libpoppler-glib-dev libssl-dev \
  libwxgtk3.2-dev zlib1g-dev

version=$(dpkg-parsechangelog -l packaging/debian/changelog -S Version)
project_version=$(sed -n 's/^project(Vantorel VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
if [ "$version" != "$project_version" ]; then
  echo "package.sh: packaging/debian/changelog is at $version, CMakeLists.txt at $project_version" >&2
  exit 1
fi

# A copy of the sources with debian/ in place, so that the package build leaves the project's
# folders alone: the files git knows (committed or not), without build folders.
rm -rf "$out"
src=$out/src/vantorel-$version
mkdir -p "$src"
if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git ls-files -z --cached --others --exclude-standard |
    tar --null --files-from=- --ignore-failed-read -cf - | tar -xf - -C "$src"
else
  tar --exclude='./build*' -cf - . | tar -xf - -C "$src"
fi
rm -rf "$src/debian"
cp -r packaging/debian "$src/debian"

(cd "$src" && DEB_BUILD_OPTIONS="parallel=$(nproc) ${DEB_BUILD_OPTIONS:-}" \
  dpkg-buildpackage -b -us -uc)
mv "$out"/src/*.deb "$out"/src/*.changes "$out"/src/*.buildinfo "$out"/
rm -rf "$out/src"
changes=$(ls "$out"/vantorel_"$version"_*.changes)
# The three packages, and debhelper's packages of their debug symbols (-dbgsym).
ls -1 "$out"/*.deb

# Infos and pedantic notes are shown; a warning or an error fails the script.
lintian --display-info --pedantic --display-experimental --tag-display-limit 0 \
  --fail-on error,warning "$changes"

tests/packaging/check_debs.sh "$out"
if [ "$apt_test" = yes ] && [ "$(id -u)" -eq 0 ]; then
  tests/packaging/apt_install_test.sh "$out"
else
  echo "package.sh: the apt installation test was not run (it needs root; --no-apt-test skips it)"
fi
