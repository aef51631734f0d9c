#!/usr/bin/env bash
# Builds and runs the bar and cover painting benchmark; prints milliseconds per paint.
#   bench/bar_paint.sh [BUILD_DIR] [PAINTS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
paints=${2:-500}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target bar_paint_bench -j2 >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x900x24" "$build/bin/bar_paint_bench" "$paints"
else
  "$build/bin/bar_paint_bench" "$paints"
fi
