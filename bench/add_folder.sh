#!/usr/bin/env bash
# Builds and runs the add-folder benchmark: the longest time the window goes without handling a
# paint or input event while a folder of real PDFs is added and read (it should stay below
# 100 ms). Without FOLDER, one is made of links to the first 29 PDFs of /usr/share/R/doc/manual
# and /usr/share/doc.
#   bench/add_folder.sh [BUILD_DIR] [FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
folder=${2:-}
if [ -z "$folder" ]; then
  folder=$(mktemp -d)
  trap 'rm -rf "$folder"' EXIT
  find /usr/share/R/doc/manual /usr/share/doc -name '*.pdf' -type f 2>/dev/null | sort | head -n 29 |
    while read -r pdf; do ln -s "$pdf" "$folder/$(basename "$(dirname "$pdf")")-$(basename "$pdf")"; done
fi
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target add_folder_bench vantorel-probe -j2 >/dev/null
if [ -z "${DISPLAY:-}" ]; then
  xvfb-run -a -s "-screen 0 1280x900x24" "$build/bin/add_folder_bench" "$folder"
else
  "$build/bin/add_folder_bench" "$folder"
fi
