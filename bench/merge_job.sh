#!/usr/bin/env bash
# Merge job benchmark: naming against thousands of taken names, the wait after Cancel on a
# large single-file run, and the job's cost over plain engine runs. Prints the figures.
#   bench/merge_job.sh [BUILD_DIR] [PAGES]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
pages=${2:-1000}
cmake -S . -B "$build" >/dev/null
cmake --build "$build" --target merge_job_bench -j2 >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 bench/make_text_pdf.py "$work/text.pdf" "$pages"
"$build/bin/merge_job_bench" "$work/text.pdf" "$pages" "$work"
