#!/usr/bin/env bash
# Picture benchmark: 50 generated photos of 12 megapixels (JPEG, embedded as they are) and
# 10 PNG pictures of the same size (converted), merged on A4 at 4 per sheet by vantorel-merge,
# against img2pdf and mutool convert (neither puts 4 on a sheet; they show the cost of
# reading and embedding alone). Prints time and peak memory.
#   bench/pictures.sh [BUILD_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:-$here/../build}
merge=$build/bin/vantorel-merge
[ -x "$merge" ] || { echo "bench: build first: $merge is missing" >&2; exit 1; }

need=(imagemagick img2pdf mupdf-tools time)
"$here/../scripts/ensure_packages.sh" "${need[@]}"

corpus=${BENCH_DIR:-/tmp/vantorel-bench}/photos
mkdir -p "$corpus"
if [ ! -f "$corpus/photo-50.jpg" ]; then
  echo "making the photos (once)..."
  convert -size 4000x3000 plasma:fractal -blur 0x2 "$corpus/base.jpg"
  for i in $(seq 1 5); do
    convert "$corpus/base.jpg" -modulate 100,100,$((i * 35)) -quality 90 "$corpus/variant-$i.jpg"
  done
  for i in $(seq 1 50); do cp "$corpus/variant-$(( (i - 1) % 5 + 1 )).jpg" "$corpus/photo-$i.jpg"; done
  for i in $(seq 1 10); do cp "$corpus/variant-$(( (i - 1) % 5 + 1 )).jpg" "$corpus/tmp.jpg"; convert "$corpus/tmp.jpg" "$corpus/picture-$i.png"; done
  rm -f "$corpus/tmp.jpg"
fi
jpegs=("$corpus"/photo-*.jpg)
pngs=("$corpus"/picture-*.png)
largest=$(ls -S "${jpegs[@]}" | head -1)
printf 'photos: %d JPEG (%d MB), %d PNG (%d MB); largest JPEG %d KB\n\n' "${#jpegs[@]}" \
  $(( $(cat "${jpegs[@]}" | wc -c) / 1048576 )) "${#pngs[@]}" $(( $(cat "${pngs[@]}" | wc -c) / 1048576 )) \
  $(( $(stat -c %s "$largest") / 1024 ))

out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
measure() {
  local name=$1; shift
  /usr/bin/time -f "%e %M" -o "$out/time.txt" "$@" >/dev/null 2>&1
  read -r t m <"$out/time.txt"
  printf '%-40s %7.2f s %7d MB\n' "$name" "$t" $((m / 1024))
}
measure "vantorel-merge, 50 JPEG, A4 4 per sheet" "$merge" --nup 4 -o "$out/v.pdf" "${jpegs[@]}"
measure "img2pdf, 50 JPEG" img2pdf -o "$out/i.pdf" "${jpegs[@]}"
measure "mutool convert, 50 JPEG" mutool convert -o "$out/m.pdf" "${jpegs[@]}"
measure "vantorel-merge, 10 PNG, A4 4 per sheet" "$merge" --nup 4 -o "$out/vp.pdf" "${pngs[@]}"
measure "img2pdf, 10 PNG" img2pdf -o "$out/ip.pdf" "${pngs[@]}"
measure "vantorel-merge, 1 PNG (one picture's cost)" "$merge" --nup 4 -o "$out/v1.pdf" "${pngs[0]}"
echo
echo "output sizes: vantorel $(( $(stat -c %s "$out/v.pdf") / 1048576 )) MB, img2pdf $(( $(stat -c %s "$out/i.pdf") / 1048576 )) MB"
