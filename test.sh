#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test in stages, each timed:
#   build/        the program and all tests, optimised as shipped; CTest runs them in
#                 parallel, the single-instance stress test alone
#   build-check/  one clang build for the in-process tests, under AddressSanitizer and
#                 UndefinedBehaviorSanitizer, and the fuzz targets (the code under test
#                 instrumented and checked for it), each run for a few seconds
# Compiles through ccache when it is installed; no debug information unless asked for
# (MIROVEN_DEBUG_INFO=ON ./test.sh).
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
jobs=$(miroven_jobs)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

plain_build() {
    miroven_configure_tests
    miroven_build build
}
plain_tests() { (cd build && ctest --output-on-failure -j "$jobs"); }
checked_build() {
    miroven_configure_checked
    miroven_build "$MIROVEN_CHECKED_BUILD" unit_tests fuzzers
}
sanitizer_tests() { (cd "$MIROVEN_CHECKED_BUILD" && ctest --output-on-failure -j "$jobs" -L unit); }

start=$(date +%s)
miroven_stage "install packages" \
    miroven_install_packages "${MIROVEN_PACKAGES[@]}" "${MIROVEN_TEST_PACKAGES[@]}"
miroven_stage "build" plain_build
miroven_stage "tests" plain_tests
miroven_stage "sanitizer and fuzz build" checked_build
miroven_stage "tests under sanitizers" sanitizer_tests
miroven_stage "fuzz runs" fuzz/run.sh
echo
miroven_stage_times
echo "  $(printf '%-34s %5d s' total $(($(date +%s) - start)))"
