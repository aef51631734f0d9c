#!/usr/bin/env bash
# Builds the libraries without windows (platform, engine, model, languages, job, command line)
# and their tests with AddressSanitizer and UndefinedBehaviorSanitizer in build-sanitize/,
# and runs those tests (label "windowless"): any memory fault, leak or undefined behaviour
# fails the test that meets it. Built with clang, whose UBSan also checks conversions of real
# numbers to integers (GCC's does not); with GCC when clang is missing.
#   scripts/sanitize.sh
set -euo pipefail
cd "$(dirname "$0")/.."
compilers=()
if command -v clang >/dev/null && command -v clang++ >/dev/null; then
  compilers=(-DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++)
  # A folder configured with another compiler is configured anew.
  if [ -f build-sanitize/CMakeCache.txt ] &&
    ! grep -q '^CMAKE_CXX_COMPILER:[A-Z]*=.*clang++' build-sanitize/CMakeCache.txt; then
    rm -rf build-sanitize/CMakeCache.txt build-sanitize/CMakeFiles
  fi
fi
# ccache, where a developer has it, spares rebuilding what did not change.
launchers=()
if command -v ccache >/dev/null; then
  launchers=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build-sanitize -DCMAKE_BUILD_TYPE=Debug -DVANTOREL_SANITIZE=ON "${compilers[@]}" \
  "${launchers[@]}" >/dev/null
targets=(vantorel-merge platform_tests model_tests settings_tests lang_tests job_tests engine_tests
  engine_hostile_tests cli_tests cli_hostile_tests preview_tests pageview_tests fuzz_replay)
# Set before the build, which runs the tests to list them. Some test programs link the engine's
# objects and its shared library both; clang's AddressSanitizer takes the two copies of its
# globals for an ODR violation (GCC's does not look), so that check is off.
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1:detect_odr_violation=0
cmake --build build-sanitize -j "$(nproc)" --target "${targets[@]}"
export LSAN_OPTIONS=suppressions=$PWD/scripts/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
ctest --test-dir build-sanitize --output-on-failure --timeout 600 -j "$(nproc)" -L windowless
