#!/usr/bin/env bash
# Builds and runs the extended-list benchmark: 10,000 rows (or the count given) inserted,
# painted, scrolled through and walked with the arrow key. Prints the figures.
#   bench/list_rows.sh [BUILD_DIR] [ROWS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
rows=${2:-10000}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target list_rows_bench -j2 >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x900x24" "$build/bin/list_rows_bench" "$rows"
else
  "$build/bin/list_rows_bench" "$rows"
fi
