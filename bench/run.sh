#!/usr/bin/env bash
# Start-up benchmark: Miroven against three plain Qt windows (a bare one, one with a line
# of Japanese text, one with the main menu's controls), each started many times on a
# private Xvfb, alternating.
#
#   bench/run.sh [RUNS]        RUNS per program, default 20
#   bench/run.sh RUNS OPTION... also a second Miroven, built with these CMake options
#                              (say -DMIROVEN_HARDENING=OFF), started in turn with the first
#
# Builds what it needs in build-bench/ (the project's default build type), prints the
# median time from fork() to the first window being mapped, the CPU time the program
# used by then, and the median peak resident memory, side by side with their ratios.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

runs=${1:-20}
case $runs in
    '' | *[!0-9]*) echo "usage: bench/run.sh [RUNS [CMAKE_OPTION...]]" >&2; exit 2 ;;
esac
baseline_options=("${@:2}")
[ "$runs" -ge 1 ] || { echo "RUNS must be at least 1" >&2; exit 2; }
warmups=2
build=build-bench

miroven_install_packages "${MIROVEN_PACKAGES[@]}" libxcb1-dev xvfb
# The benchmark's own targets are built only when asked for.
cmake -S . -B "$build" -G Ninja -DBUILD_TESTING=OFF -DMIROVEN_BENCH=ON
cmake --build "$build" -j "$(nproc)" --target miroven bare_window text_window controls_window startup_probe

probe=$build/bench/startup_probe
declare -A program=(
    [bare]=$build/bench/bare_window
    [text]=$build/bench/text_window
    [controls]=$build/bench/controls_window
    [miroven]=$build/miroven
)
order=(bare text controls miroven)
if [ ${#baseline_options[@]} -gt 0 ]; then
    cmake -S . -B "$build-baseline" -G Ninja -DBUILD_TESTING=OFF "${baseline_options[@]}"
    cmake --build "$build-baseline" -j "$(nproc)" --target miroven
    program[baseline]=$build-baseline/miroven
    order+=(baseline)
fi
reversed=()
for name in "${order[@]}"; do reversed=("$name" "${reversed[@]}"); done

work=$(mktemp -d)
xvfb_pid=
cleanup() {
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null && wait "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Xvfb picks a free display itself and writes its number once it accepts clients.
# -noreset: otherwise it resets after every run, when its last client leaves, and may
# turn away the next probe meanwhile.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb.log" &
xvfb_pid=$!
for _ in $(seq 100); do
    grep -q . "$work/display" 2>/dev/null && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.1
done
display=:$(head -n1 "$work/display" 2>/dev/null || true)
if [ "$display" = ":" ]; then
    echo "Xvfb did not start:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

# The per-user runtime directory is a tmpfs on a desktop; use one here too when there
# is one, fresh for every start, so that the single-instance lock never interferes.
runtime_parent=/dev/shm
[ -d "$runtime_parent" ] && [ -w "$runtime_parent" ] || runtime_parent=${TMPDIR:-/tmp}

# measure NAME: one start of program NAME; appends "map cpu rss" to $work/NAME.
measure() {
    local name=$1 runtime line
    runtime=$(mktemp -d -p "$runtime_parent" miroven-bench.XXXXXX)
    chmod 700 "$runtime"
    # A fixed, minimal environment: the same for every program and every run.
    if ! line=$(env -i PATH=/usr/bin:/bin HOME="$work" LANG=C.UTF-8 DISPLAY="$display" \
        XDG_RUNTIME_DIR="$runtime" QT_QPA_PLATFORM=xcb \
        "$probe" -- "${program[$name]}"); then
        rm -rf "$runtime"
        echo "measuring $name failed" >&2
        exit 1
    fi
    rm -rf "$runtime"
    [ "${2:-}" = warmup ] && return 0
    # map_ms=M cpu_ms=C wait_ms=W maxrss_kb=K
    awk '{ for (i = 1; i <= NF; i++) { split($i, kv, "="); v[kv[1]] = kv[2] }
           print v["map_ms"], v["cpu_ms"], v["maxrss_kb"] }' <<<"$line" >>"$work/$name"
}

load_before=$(cut -d' ' -f1-3 /proc/loadavg)
for name in "${order[@]}"; do
    for _ in $(seq "$warmups"); do measure "$name" warmup; done
done
for i in $(seq "$runs"); do
    # Alternate the order so that a drift in the machine's load hits every program alike.
    if [ $((i % 2)) -eq 1 ]; then seq_names=("${order[@]}"); else seq_names=("${reversed[@]}"); fi
    for name in "${seq_names[@]}"; do measure "$name"; done
done
load_after=$(cut -d' ' -f1-3 /proc/loadavg)

# median FILE COLUMN
median() {
    cut -d' ' -f"$2" "$1" | sort -g | awk '{ v[NR] = $1 }
        END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'
}
declare -A map cpu rss
for name in "${order[@]}"; do
    map[$name]=$(median "$work/$name" 1)
    cpu[$name]=$(median "$work/$name" 2)
    rss[$name]=$(median "$work/$name" 3)
done

echo
echo "Start-up of Miroven, $runs runs per program (after $warmups warm-ups), medians, Xvfb $display"
echo "load average before: $load_before   after: $load_after   ($(nproc) CPUs)"
echo
awk -v bm="${map[bare]}" -v bc="${cpu[bare]}" -v br="${rss[bare]}" \
    -v tm="${map[text]}" -v tc="${cpu[text]}" -v tr="${rss[text]}" \
    -v km="${map[controls]}" -v kc="${cpu[controls]}" -v kr="${rss[controls]}" \
    -v mm="${map[miroven]}" -v mc="${cpu[miroven]}" -v mr="${rss[miroven]}" 'BEGIN {
    printf "%-30s %14s %14s %16s\n", "", "time to map", "CPU to map", "peak RSS"
    printf "%-30s %11.1f ms %11.1f ms %13d kB\n", "bare window", bm, bc, br
    printf "%-30s %11.1f ms %11.1f ms %13d kB\n", "window with Japanese text", tm, tc, tr
    printf "%-30s %11.1f ms %11.1f ms %13d kB\n", "window with the same controls", km, kc, kr
    printf "%-30s %11.1f ms %11.1f ms %13d kB\n", "Miroven", mm, mc, mr
    printf "%-30s %13.2fx %13.2fx %12.2fx (%+.1f %%)\n", "Miroven / bare window",
        mm / bm, mc / bc, mr / br, (mr / br - 1) * 100
    printf "%-30s %13.2fx %13.2fx %12.2fx (%+.1f %%)\n", "Miroven / text window",
        mm / tm, mc / tc, mr / tr, (mr / tr - 1) * 100
    printf "%-30s %13.2fx %13.2fx %12.2fx (%+.1f %%)\n", "Miroven / same controls",
        mm / km, mc / kc, mr / kr, (mr / kr - 1) * 100
    print ""
    printf "target against the text window: time <= 1.05x: %s, memory <= 1.05x: %s\n",
        (mm / tm <= 1.05) ? "met" : "NOT met", (mr / tr <= 1.05) ? "met" : "NOT met"
}'
if [ -n "${program[baseline]:-}" ]; then
    echo
    echo "baseline: Miroven built with ${baseline_options[*]}"
    awk -v bm="${map[baseline]}" -v bc="${cpu[baseline]}" -v br="${rss[baseline]}" \
        -v mm="${map[miroven]}" -v mc="${cpu[miroven]}" -v mr="${rss[miroven]}" 'BEGIN {
        printf "%-30s %11.1f ms %11.1f ms %13d kB\n", "baseline", bm, bc, br
        printf "%-30s %13.3fx %13.3fx %12.3fx\n", "Miroven / baseline", mm / bm, mc / bc, mr / br
    }'
fi
