#!/usr/bin/env bash
# Builds the libraries without windows (platform, engine, command line and their tests) with
# AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/, and runs their tests.
#   scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."
layers=${VANTOREL_SANITIZE_LAYERS:-"platform;engine;cli"}
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_SANITIZE=ON \
  -DVANTOREL_LAYERS="$layers" >/dev/null
cmake --build build-sanitize -j "$(nproc)"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-sanitize --output-on-failure --timeout 600 -j "$(nproc)" -E '^install_'
