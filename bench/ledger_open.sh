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
awk -v events="$events" -v holdings="$holdings" 'BEGIN {
    print "date,fund,account,event,units,amount,nav,fee_rate,distribution,retention,memo"
    split("買付 買付 分配 再投資 買付 解約 分配 買付 解約 再投資", kinds, " ")
    for (i = 0; i < events; i++) {
        h = i % holdings
        round = int(i / holdings)
        t = i * 10 / events
        year = 2020 + int(t)
        month = 1 + int((t - int(t)) * 12)
        day = 1 + int(((t - int(t)) * 12 - (month - 1)) * 28)
        kind = kinds[round % 10 + 1]
        nav = (i % 100 == 99) ? 0 : 9000 + (h * 7 + round * 13) % 3000
        account = (h % 5 == 0) ? "NISA" : "特定"
        units = ""; amount = ""; rate = ""; dist = ""; retention = ""
        if (kind == "買付") {
            if (round % 2) { amount = 100000 + h * 10; rate = "1.65" } else units = 100000 + h
        } else if (kind == "分配" || kind == "再投資") {
            dist = 10 + round % 90
        } else {
            units = 20000; retention = "0.3"
        }
        printf "%04d-%02d-%02d,ファンド%d,%s,%s,%s,%s,%d,%s,%s,%s,row %d\n", year, month, day, h, account, kind, units, amount, nav, rate, dist, retention, i
    }
}' >"$work/in.csv"

echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "$events events over $holdings holdings, $(du -h "$work/in.csv" | cut -f1) of CSV"
HOME=$work XDG_RUNTIME_DIR=$work xvfb-run -a "$build/bench/ledger_open" "$work/in.csv" "$runs"
