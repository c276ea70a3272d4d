#!/usr/bin/env bash
# Ledger benchmark: replays a generated CSV of EVENTS events (default 1,000,000) over
# HOLDINGS holdings (default 1,000) through miroven-calc ledger and prints the time,
# the events per second and the peak resident memory.
#
#   bench/ledger_bench.sh [EVENTS] [HOLDINGS] [BUILD_DIR]
#   bench/ledger_bench.sh --pair A B [EVENTS] [HOLDINGS] [PAIRS]
#
# With --pair, the same history goes through two builds in turn (A B A B ...), PAIRS
# times (default 7), as bench/bench_pair.sh does with a batch: A and B are each a
# miroven-calc binary or a commit (built in build-pair/COMMIT); it prints each build's
# median wall-clock and CPU time with the ratio B / A, and fails when the two outputs are
# not byte for byte the same.
#
# Each holding runs through purchases by units and by amount (with a fee rate),
# distributions paid out and reinvested, and partial redemptions, over ten years; a
# fifth of the holdings are in NISA, and about one row in a hundred is refused (a NAV
# of 0), so the message path is timed too. Memory should grow with the holdings, not
# the events: run it with 100,000 events as well to see. Load on the machine skews the
# figures: the load average is printed alongside.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: bench/ledger_bench.sh [EVENTS] [HOLDINGS] [BUILD_DIR]" >&2
    echo "       bench/ledger_bench.sh --pair A B [EVENTS] [HOLDINGS] [PAIRS]" >&2
    exit 2
}
pair=
if [ "${1:-}" = --pair ]; then
    [ $# -ge 3 ] || usage
    pair=1 a=$2 b=$3
    shift 3
fi
events=${1:-1000000}
holdings=${2:-1000}
case $events in '' | *[!0-9]*) usage ;; esac
case $holdings in '' | 0 | *[!0-9]*) usage ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v events="$events" -v holdings="$holdings" -f bench/ledger_rows.awk >"$work/in.csv"

if [ -n "$pair" ]; then
    pairs=${3:-7}
    case $pairs in '' | *[!0-9]* | 0) usage ;; esac
    source bench/pairs.sh
    program_a=$(pair_binary "$a")
    program_b=$(pair_binary "$b")
    echo "A: $a ($program_a)"
    echo "B: $b ($program_b)"
    echo "ledger: $events events over $holdings holdings"
    pair_header ledger events
    for ((i = 0; i < pairs; i++)); do
        pair_run "$work/a.times" "$work/out-a.csv" "$program_a" ledger "$work/in.csv"
        pair_run "$work/b.times" "$work/out-b.csv" "$program_b" ledger "$work/in.csv"
    done
    pair_row ledger "$events" "$work/a.times" "$work/b.times"
    pair_footer
    # Builds on either side of a change of the ledger's defaults (say the roundings of a
    # retention or a distribution) differ in those figures: the times stand, the exit fails.
    if ! cmp -s "$work/out-a.csv" "$work/out-b.csv"; then
        echo "ledger: the two outputs differ in $(diff "$work/out-a.csv" "$work/out-b.csv" | grep -c '^>') rows" >&2
        exit 1
    fi
    exit 0
fi

build=${3:-build}
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j 2 --target miroven-calc >/dev/null
program=$build/miroven-calc

load=$(cut -d' ' -f1-3 /proc/loadavg)
status=0
/usr/bin/time -f '%e %U %S %M' -o "$work/time" "$program" ledger "$work/in.csv" >"$work/out.csv" || status=$?
[ "$status" -le 1 ] || { echo "miroven-calc failed with status $status" >&2; exit 1; }
read -r seconds user system peak_kib < <(tail -n 1 "$work/time")
# Every event has its row; a year-end settlement adds one of its own.
settlements=$(grep -c ',年末精算,' "$work/out.csv" || true)
written=$(($(wc -l <"$work/out.csv") - 1 - settlements))
[ "$written" -eq "$events" ] || { echo "wrote $written rows of $events" >&2; exit 1; }
refused=$(awk -F, 'NR > 1 && $NF != "" { n++ } END { print n + 0 }' "$work/out.csv")

awk -v events="$events" -v holdings="$holdings" -v refused="$refused" -v settlements="$settlements" -v s="$seconds" -v cpu="$user $system" -v kib="$peak_kib" -v bytes="$(stat -c %s "$work/in.csv")" 'BEGIN {
    split(cpu, t, " ")
    printf "ledger: %d events (%.1f MB) over %d holdings, %d refused, %d year-end settlements, in %.2f s (CPU %.2f s): %.0f events/s, peak RSS %.1f MB\n",
        events, bytes / 1e6, holdings, refused, settlements, s, t[1] + t[2], (s > 0 ? events / s : 0), kib / 1024
}'
echo "load average before the run: $load on $(nproc) cores"
