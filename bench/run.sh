#!/usr/bin/env bash
# Merge benchmark: vantorel-merge against mutool, qpdf and pdftk on a corpus of real PDFs from
# Debian's documentation packages and a few other producers (installed here when missing), and
# on the same corpus repeated 2, 4 and 8 times as distinct files. Every command runs once per
# round, rounds interleaved, and the median of the rounds is printed: wall and CPU seconds,
# peak memory, and the ratios the goals are stated in; then the output sizes against the input
# and the peers', whole and file by file.
#   bench/run.sh [BUILD_DIR] [ROUNDS]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
rounds=${2:-3}
merge=$build/bin/vantorel-merge
[ -x "$merge" ] || { echo "bench: build first: $merge is missing" >&2; exit 1; }

need=(r-doc-pdf gnuplot-doc asymptote-doc glpk-doc auto-multiple-choice-doc-pdf mupdf-tools qpdf
  poppler-utils pdftk-java time bc)
"$here/../scripts/ensure_packages.sh" "${need[@]}"

corpus=${BENCH_DIR:-/tmp/vantorel-bench}
mkdir -p "$corpus/extra"
# Other producers: cairo, qpdf without object streams, MuPDF, and a hand-written file.
[ -f "$corpus/extra/cairo.pdf" ] || pdftocairo -pdf /usr/share/R/doc/manual/R-intro.pdf "$corpus/extra/cairo.pdf"
[ -f "$corpus/extra/classic-xref.pdf" ] || qpdf --object-streams=disable /usr/share/doc/asymptote/asy-latex.pdf "$corpus/extra/classic-xref.pdf"
[ -f "$corpus/extra/mupdf.pdf" ] || mutool clean -gg /usr/share/doc/asymptote/TeXShopAndAsymptote.pdf "$corpus/extra/mupdf.pdf"
[ -f "$corpus/extra/text.pdf" ] || python3 "$here/make_text_pdf.py" "$corpus/extra/text.pdf" 400
mapfile -t base < <( (find /usr/share/R/doc/manual /usr/share/doc/gnuplot /usr/share/doc/asymptote \
  /usr/share/doc/glpk-doc /usr/share/doc/auto-multiple-choice -maxdepth 2 -name '*.pdf'
  ls "$corpus"/extra/*.pdf) | sort)

# copy K: the corpus as distinct files (symbolic links with names of their own).
files_for() {
  local n=$1 k i=0
  for ((k = 1; k <= n; k++)); do
    mkdir -p "$corpus/copy$k"
    for f in "${base[@]}"; do
      i=$((i + 1))
      local link="$corpus/copy$k/$(printf '%03d' "$i")-$(basename "$f")"
      [ -e "$link" ] || ln -s "$f" "$link"
      echo "$link"
    done
  done
}
mapfile -t one < <(files_for 1)
pages=0
for f in "${one[@]}"; do pages=$((pages + $(qpdf --show-npages "$f"))); done
bytes=$(cat "${one[@]}" | wc -c)
printf 'corpus: %d files, %d pages, %.1f MB (copies 2, 4 and 8 times that)\n\n' \
  "${#one[@]}" "$pages" "$(echo "$bytes/1048576" | bc -l)"

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
declare -A WALL CPU MEM
# run NAME COMMAND...: one timed run; keeps every round's figures.
run() {
  local name=$1; shift
  /usr/bin/time -f "%e %U %S %M" -o "$out/time.txt" "$@" >/dev/null 2>&1 || { echo "bench: $name failed" >&2; exit 1; }
  read -r e u s m <"$out/time.txt"
  WALL[$name]+="$e "
  CPU[$name]+="$(echo "$u + $s" | bc) "
  MEM[$name]+="$m "
}
median() { tr ' ' '\n' | grep -v '^$' | sort -g | awk '{a[NR]=$1} END {print a[int((NR+1)/2)]}'; }

commands() {
  local n=$1; shift
  local files=("$@")
  run "v$n plain" "$merge" -o "$out/v.pdf" "${files[@]}"
  # The copies are for this program's memory line; the peers take minutes each on them.
  if [ "$n" = 1 ]; then
    run "mutool$n" mutool merge -o "$out/m.pdf" "${files[@]}"
    run "v$n 2-up" "$merge" --nup 2 -o "$out/v2.pdf" "${files[@]}"
    run "v$n 4-up" "$merge" --nup 4 -o "$out/v4.pdf" "${files[@]}"
    run "v$n no-bookmarks" "$merge" --no-bookmarks -o "$out/vn.pdf" "${files[@]}"
    run "v$n rc4-40" "$merge" --open-password pw -o "$out/vr.pdf" "${files[@]}"
    run "v$n aes-256" "$merge" --encryption aes-256 --open-password pw -o "$out/va.pdf" "${files[@]}"
    run "v$n info" "$merge" --info "${files[@]}"
    run "qpdf$n" qpdf --empty --pages "${files[@]}" -- "$out/q.pdf"
    run "pdftk$n" pdftk "${files[@]}" cat output "$out/p.pdf"
    run "qpdf$n npages" sh -c 'for f; do qpdf --show-npages "$f"; done' sh "${files[@]}"
  fi
}

for ((r = 1; r <= rounds; r++)); do
  for n in 1 2 4 8; do
    mapfile -t files < <(files_for "$n")
    commands "$n" "${files[@]}"
  done
  echo "round $r of $rounds done" >&2
done

w() { echo "${WALL[$1]}" | median; }
c() { echo "${CPU[$1]}" | median; }
m() { echo "$(echo "${MEM[$1]}" | median) / 1024" | bc; }
ratio() { echo "scale=2; $1 / $2" | bc; }
printf '%-20s %8s %8s %8s\n' run "wall s" "cpu s" "peak MB"
for name in "v1 plain" "v1 2-up" "v1 4-up" "v1 no-bookmarks" "v1 rc4-40" "v1 aes-256" "mutool1" "qpdf1" \
  "pdftk1" "v1 info" "qpdf1 npages" "v2 plain" "v4 plain" "v8 plain"; do
  printf '%-20s %8s %8s %8s\n' "$name" "$(w "$name")" "$(c "$name")" "$(m "$name")"
done
echo
echo "plain merge / mutool:   $(ratio "$(w 'v1 plain')" "$(w mutool1)")x wall, $(ratio "$(c 'v1 plain')" "$(c mutool1)")x cpu (goals <= 0.5, <= 1.5)"
echo "2-up / mutool plain:    $(ratio "$(w 'v1 2-up')" "$(w mutool1)")x wall, $(ratio "$(c 'v1 2-up')" "$(c mutool1)")x cpu (goals <= 1.0, <= 1.5)"
echo "plain merge / qpdf:     $(ratio "$(w 'v1 plain')" "$(w qpdf1)")x wall"
echo "plain merge / pdftk:    $(ratio "$(w 'v1 plain')" "$(w pdftk1)")x wall"
echo "info / qpdf npages:     $(ratio "$(w 'v1 info')" "$(w 'qpdf1 npages')")x wall (goal <= 1.0)"
echo "peak memory / input:    $(ratio "$(m 'v1 plain')*1048576" "$bytes")x (goal <= 1.0)"
for n in 2 4 8; do
  echo "peak at ${n}x / at 1x:     $(ratio "$(m "v$n plain")" "$(m 'v1 plain')")x (goal <= 1.2 at 8x)"
done
# Sizes against the input: the default output (object streams), the classic one, the peers'
# (their merges of the first round are still there), qpdf's own merge with object streams, and
# qpdf's object streams made from our classic output.
"$merge" -o "$out/v.pdf" "${one[@]}" >/dev/null 2>&1
"$merge" --no-object-streams -o "$out/vc.pdf" "${one[@]}" >/dev/null 2>&1
qpdf --object-streams=generate --empty --pages "${one[@]}" -- "$out/qo.pdf" 2>/dev/null || [ $? = 3 ]
qpdf --object-streams=generate "$out/vc.pdf" "$out/vq.pdf"
size() { stat -c %s "$1"; }
echo
echo "output size / input ($(echo "scale=1; $bytes / 1048576" | bc) MB):"
for row in "vantorel-merge (default):v.pdf" "vantorel-merge --no-object-streams:vc.pdf" \
  "mutool merge:m.pdf" "qpdf --empty --pages:q.pdf" "pdftk cat:p.pdf" \
  "qpdf --empty --pages --object-streams=generate:qo.pdf" \
  "qpdf --object-streams=generate of ours:vq.pdf"; do
  printf '  %-40s %5sx  %6.1f MB\n' "${row%%:*}" "$(ratio "$(size "$out/${row#*:}")" "$bytes")" \
    "$(echo "$(size "$out/${row#*:}") / 1048576" | bc -l)"
done
echo "  (goal: default <= 0.80, below every peer)"
# Each file merged alone: the default output against mutool's, with the bytes over it for every
# file where ours is larger (mutool writes no document ID, information, metadata or outline).
worst=0 worstName= over=
for f in "${one[@]}"; do
  "$merge" -o "$out/f.pdf" "$f" >/dev/null 2>&1
  mutool merge -o "$out/fm.pdf" "$f" >/dev/null 2>&1
  r=$(echo "scale=3; $(size "$out/f.pdf") / $(size "$out/fm.pdf")" | bc)
  if [ "$(echo "$r > $worst" | bc)" = 1 ]; then worst=$r worstName=$(basename "$f"); fi
  if [ "$(echo "$r > 1" | bc)" = 1 ]; then
    over+=" $(basename "$f") (+$(($(size "$out/f.pdf") - $(size "$out/fm.pdf"))) bytes)"
  fi
done
echo "largest file alone / mutool's: ${worst}x ($worstName) (goal <= 1.0)"
[ -z "$over" ] || echo "  larger than mutool's:$over"
for f in v.pdf vc.pdf v2.pdf v4.pdf vn.pdf; do
  qpdf --check "$out/$f" >/dev/null 2>&1 || echo "bench: $f fails qpdf --check" >&2
done
echo "outputs checked with qpdf --check"
