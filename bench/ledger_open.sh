#!/usr/bin/env bash
# The ledger window opening a large file: generates EVENTS events (default 100,000) over
# HOLDINGS holdings (default 1,000) as bench/ledger_bench.sh does, builds the window as
# shipped (the project's default build type, hardened) in build-bench/, and times RUNS
# openings (default 5) from the request to the table painted, on a private Xvfb. The
# load average is printed alongside: a busy machine skews the figures.
#
#   bench/ledger_open.sh [EVENTS] [HOLDINGS] [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

events=${1:-100000}
holdings=${2:-1000}
runs=${3:-5}
for n in "$events" "$holdings" "$runs"; do
    case $n in '' | 0 | *[!0-9]*) echo "usage: bench/ledger_open.sh [EVENTS] [HOLDINGS] [RUNS]" >&2; exit 2 ;; esac
done
build=build-bench
miroven_install_packages "${MIROVEN_PACKAGES[@]}" libxcb1-dev xvfb
miroven_configure "$build" -DBUILD_TESTING=OFF -DMIROVEN_BENCH=ON >/dev/null
miroven_build "$build" ledger_open >/dev/null

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v events="$events" -v holdings="$holdings" -f bench/ledger_rows.awk >"$work/in.csv"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$events events over $holdings holdings, $(du -h "$work/in.csv" | cut -f1) of CSV"
HOME=$work XDG_RUNTIME_DIR=$work xvfb-run -a "$build/bench/ledger_open" "$work/in.csv" "$runs"
