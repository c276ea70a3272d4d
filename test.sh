#!/usr/bin/env bash
# Installs what the tests need, builds everything and runs every test: once in build/,
# again under AddressSanitizer and UndefinedBehaviorSanitizer in build-asan/, and the
# fuzz targets for a short bounded time in build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

miroven_install_packages "${MIROVEN_PACKAGES[@]}" "${MIROVEN_TEST_PACKAGES[@]}"

miroven_build build
(cd build && ctest --output-on-failure)

miroven_build build-asan -DMIROVEN_SANITIZE=ON
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# Packaging and the many-copies stress test, which drives the program from outside,
# run once, in the plain build.
(cd build-asan && ctest --output-on-failure -E 'install_and_package|tst_single_instance_stress')

cmake -S . -B build-fuzz -G Ninja -DCMAKE_CXX_COMPILER=clang++ -DMIROVEN_FUZZ=ON \
    -DBUILD_TESTING=OFF
cmake --build build-fuzz --target fuzzers -j "$(nproc)"
cd build-fuzz
ctest --output-on-failure
