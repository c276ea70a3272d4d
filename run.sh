#!/usr/bin/env bash
# Installs what Miroven needs, builds the program alone (no tests, fuzzers or
# benchmark) in build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

miroven_install_packages "${MIROVEN_PACKAGES[@]}"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available to show Miroven. To start it anyway on a virtual screen" >&2
    echo "that nobody sees: xvfb-run ./run.sh   (stop it with Ctrl+C)" >&2
    exit 1
fi
miroven_configure build -DBUILD_TESTING=OFF
miroven_build build miroven
exec build/miroven
