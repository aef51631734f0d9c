#!/usr/bin/env bash
# Builds the libraries without windows (platform, engine, model, languages, job, command line)
# and their tests with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/,
# and runs those tests (label "windowless"): any memory fault, leak or undefined behaviour
# fails the test that meets it.
#   scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_SANITIZE=ON >/dev/null
targets=(vantorel-merge platform_tests model_tests settings_tests lang_tests job_tests engine_tests
  engine_hostile_tests cli_tests cli_hostile_tests preview_tests pageview_tests)
cmake --build build-sanitize -j "$(nproc)" --target "${targets[@]}"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-sanitize --output-on-failure --timeout 600 -j "$(nproc)" -L windowless
