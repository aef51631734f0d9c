#!/usr/bin/env bash
# Installs the Debian packages the project needs (only the missing ones), builds it in build/,
# and then starts the program ("run", the default) or runs every test ("test").
#   scripts/setup.sh [run|test]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(
  build-essential cmake pkg-config clang libclang-rt-14-dev
  libpodofo-dev libssl-dev zlib1g-dev
  libgdk-pixbuf-2.0-dev libwxgtk3.2-dev libcurl4-openssl-dev libpoppler-glib-dev librsvg2-common
  libgtest-dev googletest
  qpdf poppler-utils mupdf-tools shared-mime-info glpk-doc auto-multiple-choice-doc-pdf
  python3 python3-pypdf
  xvfb xauth x11-apps imagemagick fonts-liberation2 fonts-ipafont-gothic
  desktop-file-utils appstream
)

scripts/ensure_packages.sh "${packages[@]}"

cmake -S . -B build

case "${1:-run}" in
  run)
    # Only what the window program starts: itself and the page-count helper it runs beside it
    # (its pictures and language files come with it), not the tests.
    cmake --build build -j "$(nproc)" --target vantorel vantorel-probe
    build/bin/vantorel
    ;;
  test)
    cmake --build build -j "$(nproc)"
    # The folders' dependencies point one way.
    scripts/check_layers.sh
    # Window tests need a display: give them a virtual one when there is none. The few labelled
    # shared_input use the display's real pointer or keyboard focus; CTest runs each of them alone.
    tests=(ctest --test-dir build --output-on-failure --timeout 300 -j "$(nproc)")
    if [ -z "${DISPLAY:-}" ]; then
      xvfb-run -a -s "-screen 0 1280x900x24" "${tests[@]}"
    else
      "${tests[@]}"
    fi
    # The libraries without windows once more, under AddressSanitizer and UBSan.
    scripts/sanitize.sh
    ;;
  *)
    echo "usage: scripts/setup.sh [run|test]" >&2
    exit 2
    ;;
esac
