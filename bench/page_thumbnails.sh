#!/usr/bin/env bash
# Builds and runs the Choose Pages benchmark on a 1,000-page and a 3,000-page text PDF (made
# here once): time to the first screen of thumbnails, the longest gap between the window's
# event loop ticks while scrolling through each, and the peak memory. Prints the figures.
#   bench/page_thumbnails.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
work=${BENCH_DIR:-/tmp/vantorel-bench}/thumbnails
mkdir -p "$work"
[ -f "$work/1000.pdf" ] || python3 bench/make_text_pdf.py "$work/1000.pdf" 1000
[ -f "$work/3000.pdf" ] || python3 bench/make_text_pdf.py "$work/3000.pdf" 3000
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target page_thumbnails_bench -j2 >/dev/null
run=("$build/bin/page_thumbnails_bench" "$work/1000.pdf" "$work/3000.pdf")
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x900x24" "${run[@]}"
else
  "${run[@]}"
fi
