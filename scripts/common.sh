# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run.

# Debian packages needed to build, run and test.
MIROVEN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6 libgl-dev libxcb1-dev
    fonts-noto-cjk xvfb xauth
)

# Only for the tests: desktop-file and package checks, the fuzzers and their references.
MIROVEN_TEST_PACKAGES=(
    desktop-file-utils appstream dpkg-dev file
    clang libclang-rt-14-dev llvm libgmp-dev libmpfr-dev
)

miroven_install_packages() {
    local missing=() pkg
    for pkg in "$@"; do
        dpkg-query -W -f='${Status}' "$pkg" 2>/dev/null | grep -q "install ok installed" \
            || missing+=("$pkg")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    echo "Installing: ${missing[*]}"
    local sudo=()
    [ "$(id -u)" -eq 0 ] || sudo=(sudo)
    "${sudo[@]}" apt-get update -qq
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
        "${missing[@]}"
}

# miroven_build BUILD_DIR [cmake args...]
miroven_build() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
    cmake --build "$dir" -j "$(nproc)"
}
