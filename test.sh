#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test: once in build/,
# then again under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

miroven_install_packages "${MIROVEN_PACKAGES[@]}"

miroven_build build
(cd build && ctest --output-on-failure)

miroven_build build-asan -DMIROVEN_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export LSAN_OPTIONS=suppressions=$PWD/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Packaging is checked once, in the plain build.
cd build-asan
ctest --output-on-failure -E install_and_package
