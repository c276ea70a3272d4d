#!/usr/bin/env bash
# Installs what the tests need, then builds and runs every test in stages, each timed:
#   build/        the program and all tests; CTest runs them in parallel, the
#                 single-instance stress test alone
#   build-asan/   only the in-process tests, under AddressSanitizer and
#                 UndefinedBehaviorSanitizer
#   build-fuzz/   the fuzz targets (clang, the code under test instrumented and
#                 checked for it), each for a few seconds
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh
jobs=$(miroven_jobs)

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1

plain_build() {
    miroven_configure build -DBUILD_TESTING=ON
    miroven_build build
}
plain_tests() { (cd build && ctest --output-on-failure -j "$jobs"); }
sanitizer_build() {
    # Unoptimised, which compiles faster and keeps assertions on; the sanitizers
    # check the same code either way.
    miroven_configure build-asan -DBUILD_TESTING=ON -DMIROVEN_SANITIZE=ON -DCMAKE_BUILD_TYPE=Debug
    miroven_build build-asan unit_tests
}
sanitizer_tests() { (cd build-asan && ctest --output-on-failure -j "$jobs" -L unit); }

start=$(date +%s)
miroven_stage "install packages" \
    miroven_install_packages "${MIROVEN_PACKAGES[@]}" "${MIROVEN_TEST_PACKAGES[@]}"
miroven_stage "build" plain_build
miroven_stage "tests" plain_tests
miroven_stage "sanitizer build" sanitizer_build
miroven_stage "tests under sanitizers" sanitizer_tests
miroven_stage "fuzz build and runs" fuzz/run.sh
echo
miroven_stage_times
echo "  $(printf '%-34s %5d s' total $(($(date +%s) - start)))"
