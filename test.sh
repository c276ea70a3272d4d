#!/usr/bin/env bash
# Installs what the tests need, builds everything in build/ and runs every test.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

miroven_install_packages "${MIROVEN_PACKAGES[@]}"
miroven_build build
cd build
ctest --output-on-failure
