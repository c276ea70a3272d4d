#!/usr/bin/env bash
# Installs what Miroven needs, builds it in build/ and starts it.
set -euo pipefail
cd "$(dirname "$0")"
source scripts/common.sh

miroven_install_packages "${MIROVEN_PACKAGES[@]}"
miroven_build build
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display is available to show Miroven; start it with: xvfb-run ./run.sh" >&2
    exit 1
fi
exec build/miroven
