# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run.

# Debian packages needed to build, run and test.
MIROVEN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-qpa-plugins libqt6svg6 libgl-dev libxcb1-dev
    qt6-translations-l10n fonts-noto-cjk xvfb xauth
)

# Only for the tests: desktop-file and package checks, the fuzzers and their references,
# the Japanese manual page as man shows it, lintian on the package.
MIROVEN_TEST_PACKAGES=(
    desktop-file-utils appstream dpkg-dev file man-db lintian
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

# Parallel jobs for builds and test runs: the machines are shared, so at most two.
miroven_jobs() {
    local n
    n=$(nproc)
    [ "$n" -gt 2 ] && n=2
    echo "$n"
}

# miroven_configure BUILD_DIR [cmake args...]
miroven_configure() {
    local dir=$1
    shift
    cmake -S . -B "$dir" -G Ninja "$@"
}

# miroven_build BUILD_DIR [target...]: only the targets named, or everything.
miroven_build() {
    local dir=$1
    shift
    local targets=()
    [ $# -gt 0 ] && targets=(--target "$@")
    cmake --build "$dir" -j "$(miroven_jobs)" "${targets[@]}"
}

# miroven_stage NAME COMMAND...: runs one stage and records how long it took; the
# times are printed by miroven_stage_times. A failing stage stops the script.
MIROVEN_STAGE_TIMES=()
miroven_stage() {
    local name=$1 start status=0
    shift
    echo "=== $name"
    start=$(date +%s)
    # In a subshell of its own, so that `set -e` holds inside the stage's commands
    # (it would not in a `cmd || ...` list).
    ("$@") &
    wait $! || status=$?
    MIROVEN_STAGE_TIMES+=("$(printf '%-34s %5d s' "$name" $(($(date +%s) - start)))")
    echo "=== $name: $(($(date +%s) - start)) s"
    if [ "$status" -ne 0 ]; then
        echo "=== $name FAILED (exit $status)" >&2
        miroven_stage_times >&2
        exit "$status"
    fi
}

miroven_stage_times() {
    local line
    echo "Stage times:"
    for line in "${MIROVEN_STAGE_TIMES[@]}"; do echo "  $line"; done
}
