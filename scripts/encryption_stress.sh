#!/usr/bin/env bash
# Encrypted merges side by side under load, each output read back by qpdf with the empty user
# password it was written with. An output that vantorel-merge called written (exit
# 0) but that does not open is the fault this looks for; a run refused with a reason and no
# output left behind is not one.
#   scripts/encryption_stress.sh VANTOREL_MERGE [RUNS] [JOBS]
# RUNS merges in all (default 20000), JOBS at a time (default 3), beside two busy loops.
# Stops at the first unreadable output (kept in the work folder, which is then not removed).
# Exit status 1 when one was found.
set -uo pipefail
merge=$1
runs=${2:-20000}
jobs=${3:-3}
work=$(mktemp -d)
input=$(find /usr/share/doc -name '*.pdf' -size -200k -print -quit 2>/dev/null)
[ -n "$input" ] || { echo "no installed PDF to merge"; exit 2; }
encryptions=(aes-128 aes-256 rc4-128 rc4-40)

# One worker: its share of the runs, each checked at once.
worker() {
  local id=$1 n=0 out enc
  for ((i = id; i < runs; i += jobs)); do
    [ -e "$work/found" ] && break
    out=$work/w$id.pdf
    enc=${encryptions[i % ${#encryptions[@]}]}
    if ! said=$("$merge" -o "$out" --paper Letter --encryption "$enc" --permission-password p \
                  --allow print "$input" --pages Even 2>&1); then
      [ -e "$out" ] && { echo "run $i ($enc): failed but left $out"; touch "$work/found"; break; }
      echo "refused $i ($enc): $said" >>"$work/refused"
      continue
    fi
    if ! qpdf --check "$out" >/dev/null 2>&1; then
      mv "$out" "$work/unreadable-$i-$enc.pdf"
      echo "run $i ($enc): written but unreadable: $work/unreadable-$i-$enc.pdf"
      touch "$work/found"
      break
    fi
    n=$((n + 1))
  done
  echo "$n" >"$work/done$id"
}

# The load: two busy loops for as long as the merges run.
busy=()
for _ in 1 2; do
  (while :; do :; done) &
  busy+=($!)
done
stop() { kill "${busy[@]}" 2>/dev/null; }
trap stop EXIT

start=$(date +%s)
for ((j = 0; j < jobs; j++)); do
  worker "$j" &
done
wait $(jobs -p | grep -v -x -F -f <(printf '%s\n' "${busy[@]}"))
stop
good=$(cat "$work"/done* 2>/dev/null | awk '{ s += $1 } END { print s + 0 }')
refused=0
[ -e "$work/refused" ] && refused=$(wc -l <"$work/refused")
echo "$good outputs read back, $refused refused with a reason, in $(( $(date +%s) - start )) s"
if [ -e "$work/found" ]; then
  echo "FAULT: see $work"
  exit 1
fi
rm -rf "$work"
echo "no unreadable output"
