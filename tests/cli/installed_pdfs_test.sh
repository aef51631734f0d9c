#!/usr/bin/env bash
# Every PDF that the machine's installed documentation holds (gzipped ones too), merged alone in
# four ways: its own paper; two up; four up turned, AES-256 with an open password and object
# streams; even pages on Letter with AES-128 permissions. Each output must pass
# `qpdf --check` without a warning, have the pages it should, and render its first pages with
# poppler without a complaint. Then all of them in one run.
#   installed_pdfs_test.sh VANTOREL_MERGE
set -uo pipefail
merge=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$work/in" "$work/png"
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

while IFS= read -r -d '' file; do
  name=$(tr / _ <<<"${file#/usr/share/}")
  case "$file" in
    *.gz) zcat "$file" >"$work/in/${name%.gz}" 2>/dev/null || rm -f "$work/in/${name%.gz}" ;;
    *) cp "$file" "$work/in/$name" ;;
  esac
done < <(find /usr/share/doc /usr/share/texmf/doc /usr/share/R/doc \( -name '*.pdf' -o -name '*.pdf.gz' \) \
           -print0 2>/dev/null)
# Several packages ship the same manual (R's under two paths, asymptote's under texmf too): each
# document is merged once.
declare -A seen
for input in "$work"/in/*.pdf; do
  sum=$(md5sum <"$input")
  [ -z "${seen[$sum]:-}" ] && seen[$sum]=1 || rm -f "$input"
done
count=$(find "$work/in" -name '*.pdf' | wc -l)
# The set-up installs documentation with PDFs (glpk-doc, auto-multiple-choice-doc-pdf).
[ "$count" -ge 5 ] || { echo "FAIL: only $count PDFs installed"; exit 1; }
echo "$count installed PDFs"

pages_of() { pdfinfo "$@" 2>/dev/null | awk '/^Pages:/ { print $2 }'; }

for input in "$work"/in/*.pdf; do
  name=$(basename "$input" .pdf)
  total=$(pages_of "$input")
  [ -n "$total" ] || { echo "skipped $name: poppler cannot read it"; continue; }
  for way in 1 2 3 4; do
    out=$work/out.pdf
    password=()
    case $way in
      1) args=(--paper source "$input"); want=$total ;;
      2) args=(--nup 2 "$input"); want=$(((total + 1) / 2)) ;;
      3) args=(--nup 4 --orientation horizontal --encryption aes-256 --open-password x --object-streams "$input")
         want=$(((total + 3) / 4)); password=(x) ;;
      4) args=(--paper Letter --encryption aes-128 --permission-password p --allow print "$input" --pages Even)
         want=$((total / 2)) ;;
    esac
    [ "$want" -gt 0 ] || continue
    if ! log=$(timeout 300 "$merge" -o "$out" "${args[@]}" 2>&1); then
      fail "$name way $way: $log"
      continue
    fi
    # Several pages per sheet have no page labels, and even pages alone leave out the links into
    # odd ones: those notices are expected, nothing else.
    log=$(grep -v -e 'warning: its page labels are not kept on sheets of several pages$' \
      -e 'warning: [0-9a-z]* links\? into pages that are not selected w[a-z]* left out (on pages\? [0-9, .]*)$' \
      <<<"$log" || true)
    [ -z "$log" ] || fail "$name way $way said: $log"
    check=$(qpdf ${password:+--password=x} --check "$out" 2>&1)
    grep -q "No syntax or stream encoding errors found" <<<"$check" && ! grep -qi warning <<<"$check" ||
      fail "$name way $way: qpdf: $(grep -i 'warn\|error' <<<"$check" | head -3)"
    got=$(pages_of ${password:+-upw x} "$out")
    [ "$got" = "$want" ] || fail "$name way $way: $got pages, expected $want"
    said=$(pdftoppm ${password:+-upw x} -r 20 -l 3 "$out" "$work/png/p" 2>&1)
    [ -z "$said" ] || fail "$name way $way: poppler: $(head -3 <<<"$said")"
    rm -f "$out" "$work"/png/*
  done
done

# All in one run, two up.
if log=$("$merge" --nup 2 -o "$work/all.pdf" "$work"/in/*.pdf 2>&1); then
  check=$(qpdf --check "$work/all.pdf" 2>&1)
  grep -q "No syntax or stream encoding errors found" <<<"$check" && ! grep -qi warning <<<"$check" ||
    fail "all in one: qpdf: $(grep -i 'warn\|error' <<<"$check" | head -3)"
else
  fail "all in one: $log"
fi

[ "$failures" -eq 0 ] || { echo "$failures failures"; exit 1; }
echo "every installed PDF merged cleanly"
