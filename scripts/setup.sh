#!/usr/bin/env bash
# Installs the Debian packages the project needs (only the missing ones), builds it in build/,
# and then starts the program ("run", the default) or runs every test ("test").
#   scripts/setup.sh [run|test]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config
  libpodofo-dev libssl-dev zlib1g-dev
  libgdk-pixbuf-2.0-dev libwxgtk3.2-dev libcurl4-openssl-dev
  libgtest-dev googletest
  qpdf poppler-utils mupdf-tools shared-mime-info glpk-doc auto-multiple-choice-doc-pdf
  python3 python3-pypdf
  xvfb xauth x11-apps imagemagick fonts-liberation2
  desktop-file-utils appstream
)

scripts/ensure_packages.sh "${packages[@]}"

cmake -S . -B build
cmake --build build -j "$(nproc)"

case "${1:-run}" in
  run)
    build/bin/vantorel
    ;;
  test)
    # Window tests need a display: give them a virtual one when there is none. Two window tests
    # use the real pointer and keyboard focus of the one shared display, which parallel tests
    # can take away now and then: a failed test is tried again, up to three times.
    if [ -z "${DISPLAY:-}" ]; then
      xvfb-run -a -s "-screen 0 1280x900x24" ctest --test-dir build --output-on-failure --timeout 300 --repeat until-pass:3 -j "$(nproc)"
    else
      ctest --test-dir build --output-on-failure --timeout 300 --repeat until-pass:3 -j "$(nproc)"
    fi
    ;;
  *)
    echo "usage: scripts/setup.sh [run|test]" >&2
    exit 2
    ;;
esac
