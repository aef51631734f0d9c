#!/usr/bin/env bash
# Builds and runs the localisation benchmark: a dialog of 60 controls translated from the
# language file (read anew for every control), and single string lookups. Prints the figures.
#   bench/translate_dialog.sh [BUILD_DIR] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
runs=${2:-200}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target translate_dialog_bench -j2 >/dev/null
export LANG_SOURCE=$PWD/lang_zuzoZorave
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x900x24" "$build/bin/translate_dialog_bench" "$runs"
else
  "$build/bin/translate_dialog_bench" "$runs"
fi
