#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz/ and runs each for a while: the corpus
# grows in build-fuzz/corpus/TARGET (from fuzz/TARGET/seeds), and every input that crashes,
# hangs or runs out of memory is kept in fuzz/TARGET/regressions, which the tests replay.
#   scripts/fuzz.sh SECONDS [TARGET...]      (default: every target)
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:?usage: scripts/fuzz.sh SECONDS [TARGET...]}
shift
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(flate lzw predictor ascii runlength objstm xref reader)

CC=clang CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DVANTOREL_FUZZ=ON -DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache \
  >/dev/null
cmake --build build-fuzz -j 2 --target "${targets[@]/#/fuzz_}"

export ASAN_OPTIONS=detect_leaks=0:allocator_may_return_null=1
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
for target in "${targets[@]}"; do
  corpus=build-fuzz/corpus/$target
  mkdir -p "$corpus" "fuzz/$target/regressions"
  echo "== $target: $seconds s"
  # A fault stops one target's run; the others still run.
  build-fuzz/bin/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -malloc_limit_mb=1024 -print_final_stats=1 \
    -artifact_prefix="fuzz/$target/regressions/" "$corpus" "fuzz/$target/seeds" || true
done
