#!/usr/bin/env bash
# Merge benchmark: vantorel-merge against mutool and qpdf on a corpus of real and generated
# PDFs (several producers, a few thousand pages). Prints time and peak memory of each run and
# the ratios. Needs a built tree (scripts/setup.sh); installs the corpus packages if missing.
#   bench/run.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
merge=$build/bin/vantorel-merge
[ -x "$merge" ] || { echo "bench: build first: $merge is missing" >&2; exit 1; }

need=(r-doc-pdf gnuplot-doc asymptote-doc mupdf-tools qpdf poppler-utils time)
"$here/../scripts/ensure_packages.sh" "${need[@]}"

corpus=${BENCH_DIR:-/tmp/vantorel-bench}
mkdir -p "$corpus"
real=(
  /usr/share/R/doc/manual/refman.pdf /usr/share/doc/gnuplot/gnuplot.pdf
  /usr/share/doc/asymptote/asymptote.pdf /usr/share/R/doc/manual/R-exts.pdf
  /usr/share/R/doc/manual/R-admin.pdf /usr/share/R/doc/manual/R-ints.pdf
  /usr/share/R/doc/manual/R-lang.pdf /usr/share/R/doc/manual/R-FAQ.pdf
  /usr/share/R/doc/manual/R-data.pdf /usr/share/doc/asymptote/CAD.pdf
  /usr/share/doc/asymptote/examples/pixel.pdf
)
# Other producers: cairo, qpdf without object streams, MuPDF, and a hand-written file.
[ -f "$corpus/cairo.pdf" ] || pdftocairo -pdf /usr/share/R/doc/manual/R-intro.pdf "$corpus/cairo.pdf"
[ -f "$corpus/classic-xref.pdf" ] || qpdf --object-streams=disable /usr/share/doc/asymptote/asy-latex.pdf "$corpus/classic-xref.pdf"
[ -f "$corpus/mupdf.pdf" ] || mutool clean -gg /usr/share/doc/asymptote/TeXShopAndAsymptote.pdf "$corpus/mupdf.pdf"
[ -f "$corpus/text.pdf" ] || python3 "$here/make_text_pdf.py" "$corpus/text.pdf" 400
inputs=("${real[@]}" "$corpus/cairo.pdf" "$corpus/classic-xref.pdf" "$corpus/mupdf.pdf" "$corpus/text.pdf")

pages=0
for f in "${inputs[@]}"; do pages=$((pages + $(qpdf --show-npages "$f"))); done
bytes=$(cat "${inputs[@]}" | wc -c)
printf 'corpus: %d files, %d pages, %.1f MB\n\n' "${#inputs[@]}" "$pages" "$(echo "$bytes/1048576" | bc -l)"

out=$corpus/out
mkdir -p "$out"
# measure NAME COMMAND...: best of three runs; sets T_NAME (seconds) and M_NAME (MB)
declare -A T M
measure() {
  local name=$1; shift
  local best="" mem=""
  for _ in 1 2 3; do
    /usr/bin/time -f "%e %M" -o "$out/time.txt" "$@" >/dev/null 2>&1
    read -r t m <"$out/time.txt"
    if [ -z "$best" ] || [ "$(echo "$t < $best" | bc)" = 1 ]; then best=$t; mem=$m; fi
  done
  T[$name]=$best
  M[$name]=$(echo "$mem/1024" | bc)
  printf '%-28s %7.2f s %7d MB\n' "$name" "$best" "${M[$name]}"
}

measure "vantorel-merge (1 per sheet)" "$merge" -o "$out/v1.pdf" "${inputs[@]}"
measure "vantorel-merge (2 per sheet)" "$merge" --nup 2 -o "$out/v2.pdf" "${inputs[@]}"
measure "mutool merge" mutool merge -o "$out/m.pdf" "${inputs[@]}"
measure "qpdf --pages" qpdf --empty --pages "${inputs[@]}" -- "$out/q.pdf"
measure "vantorel-merge --info" "$merge" --info "${inputs[@]}"
measure "qpdf --show-npages (each)" sh -c 'for f; do qpdf --show-npages "$f"; done' sh "${inputs[@]}"

ratio() { echo "scale=2; $1 / $2" | bc; }
echo
echo "plain merge / mutool:        $(ratio "${T[vantorel-merge (1 per sheet)]}" "${T[mutool merge]}")x time (goal <= 2)"
echo "plain merge / qpdf:          $(ratio "${T[vantorel-merge (1 per sheet)]}" "${T[qpdf --pages]}")x time (goal < 1)"
echo "2 per sheet / mutool plain:  $(ratio "${T[vantorel-merge (2 per sheet)]}" "${T[mutool merge]}")x time (goal <= 3)"
echo "info / qpdf --show-npages:   $(ratio "${T[vantorel-merge --info]}" "${T[qpdf --show-npages (each)]}")x time"
echo "peak memory / input size:    $(ratio "${M[vantorel-merge (1 per sheet)]}*1048576" "$bytes")x (goal < 3)"
qpdf --check "$out/v1.pdf" >/dev/null && qpdf --check "$out/v2.pdf" >/dev/null && echo "outputs pass qpdf --check"
