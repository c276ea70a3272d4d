# Shared by run.sh and test.sh: install what is missing, then configure and build.
# Sourced, not run.

# Debian packages needed to build, run and test.
MIROVEN_PACKAGES=(
    cmake ninja-build g++ pkg-config
    qt6-base-dev qt6-svg-dev qt6-charts-dev libqt6opengl6-dev qt6-qpa-plugins libqt6svg6 libgl-dev libxcb1-dev
    qt6-translations-l10n fonts-noto-cjk xvfb xauth
)

# Only for the tests: desktop-file and package checks, the fuzzers and their references,
# the Japanese manual page as man shows it, lintian on the package, the benchmark
# scripts' timing.
MIROVEN_TEST_PACKAGES=(
    desktop-file-utils appstream dpkg-dev file man-db lintian
    clang libclang-rt-14-dev llvm libgmp-dev libmpfr-dev time
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

# miroven_configure BUILD_DIR [cmake args...]: compiles through ccache when it is
# installed. Paths under the source tree are hashed relative to it, so that another
# clone of the project finds what this one compiled.
miroven_configure() {
    local dir=$1
    shift
    local launcher=()
    if command -v ccache >/dev/null; then
        launcher=("-DCMAKE_CXX_COMPILER_LAUNCHER=env;CCACHE_BASEDIR=$PWD;CCACHE_NOHASHDIR=1;ccache")
    else
        launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=)
    fi
    cmake -S . -B "$dir" -G Ninja "${launcher[@]}" "$@"
}

# Debug information in the builds that test.sh and fuzz/run.sh make: off unless asked
# for (MIROVEN_DEBUG_INFO=ON ./test.sh), as it costs much of their compile time.
MIROVEN_DEBUG_INFO=${MIROVEN_DEBUG_INFO:-OFF}

# miroven_configure_tests: build/, the program and every test, optimised as shipped.
# Files of a library are compiled together where they can be (CMAKE_UNITY_BUILD).
miroven_configure_tests() {
    miroven_configure build -DBUILD_TESTING=ON -DCMAKE_UNITY_BUILD=ON \
        -DMIROVEN_DEBUG_INFO="$MIROVEN_DEBUG_INFO" "$@"
}

# miroven_configure_checked [cmake args...]: build-check/, one clang build for both the
# in-process tests under AddressSanitizer and UndefinedBehaviorSanitizer and the fuzz
# targets: every library carries the sanitizers and the fuzzer's coverage. Assertions
# stay on; -O1 keeps the fuzzers quick without the compile time of -O2.
MIROVEN_CHECKED_BUILD=build-check
miroven_configure_checked() {
    miroven_configure "$MIROVEN_CHECKED_BUILD" -DCMAKE_CXX_COMPILER=clang++ \
        -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g" \
        -DMIROVEN_FUZZ=ON -DBUILD_TESTING=ON -DCMAKE_UNITY_BUILD=ON \
        -DMIROVEN_DEBUG_INFO="$MIROVEN_DEBUG_INFO" "$@"
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
