#!/usr/bin/env bash
# Hostile-input benchmark: the generated files of the work-bound tests (shared /Kids, /Order
# loops, repeated content parts, object streams read in turns, LZW bombs, unclosed strings) and
# the damaged files readers read, each through --info and a merge, with the wall time, the peak
# memory and what came out. Each run is held to 8 GB and 150 s so that an old build that blows
# up on one still finishes.
#   bench/hostile.sh [BUILD_DIR] [OTHER_VANTOREL_MERGE]   (the second, to compare with)
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
merges=("$build/bin/vantorel-merge" ${2:+"$2"})
[ -x "$build/bin/cli_hostile_tests" ] || { echo "bench: build cli_hostile_tests first" >&2; exit 1; }

inputs=$(mktemp -d)
trap 'rm -rf "$inputs"' EXIT
VANTOREL_INPUTS_DIR=$inputs "$build/bin/cli_hostile_tests" --gtest_also_run_disabled_tests \
  --gtest_filter='WorkBoundInputs.DISABLED_Write' >/dev/null
rm -f "$inputs/scan.jpg"

printf '%-22s %-6s %9s %9s  %s\n' file run "wall s" "peak MB" result
for merge in "${merges[@]}"; do
  echo "== $merge"
  for f in "$inputs"/*.pdf; do
    for run in info merge; do
      args=(--info "$f")
      [ $run = merge ] && args=(--skip-bad -o "$inputs/out.pdf" "$f")
      rm -f "$inputs/out.pdf"
      status=0
      /usr/bin/time -f "%e %M" -o "$inputs/time.txt" timeout -k 5 150 prlimit --as=8000000000 -- \
        "$merge" "${args[@]}" >"$inputs/out.txt" 2>"$inputs/err.txt" || status=$?
      read -r wall peak < <(tail -1 "$inputs/time.txt") || { wall=?; peak=0; }
      if [ $run = info ]; then
        result=$(sed -n 's/.*: \([0-9]* pages\)$/\1/p; s/.*: error: //p' "$inputs/out.txt" | head -1)
      elif [ -f "$inputs/out.pdf" ]; then
        result="$(qpdf --show-npages "$inputs/out.pdf" 2>/dev/null) sheets"
      else
        result=$(grep -v ': warning: ' "$inputs/err.txt" | head -1 | cut -c1-90)
      fi
      [ $status = 124 ] && result="killed after 150 s"
      printf '%-22s %-6s %9s %9s  %s\n' "$(basename "$f" .pdf)" $run "$wall" $((peak / 1024)) \
        "${result:-exit $status}"
    done
  done
done
