#!/usr/bin/env bash
# Broker file benchmark: ROWS rows (default 1,000,000) of 楽天's 取引履歴（投資信託）
# download over FUNDS funds (default 20), made by bench/rakuten_rows.awk and written as
# the broker writes it (CP932, CRLF), read by miroven-calc ledger; prints the time, the
# rows per second and the peak resident memory, with the load average before the run.
#
#   [RUNS=3] bench/broker_bench.sh [ROWS] [FUNDS] [BUILD_DIR | MIROVEN_CALC]
#
# BUILD_DIR (default build) is built first; a miroven-calc binary given instead is run
# as it is.
#
# Only the reading is timed, not the making of the file. Load on the machine skews the
# figures: quote them with a load average below 0.5.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: bench/broker_bench.sh [ROWS] [FUNDS] [BUILD_DIR | MIROVEN_CALC]" >&2
    exit 2
}
rows=${1:-1000000}
funds=${2:-20}
build=${3:-build}
case $rows in '' | 0 | *[!0-9]*) usage ;; esac
case $funds in '' | 0 | *[!0-9]*) usage ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The broker's own name for the download; the reader goes by the header, not the name.
input="$work/tradehistory(INVST)_20250108.csv"
awk -v rows="$rows" -v funds="$funds" -f bench/rakuten_rows.awk | iconv -f UTF-8 -t CP932 >"$input"
# On disk before the clock starts: its write-back would otherwise be timed with the reading.
sync "$input"

if [ -f "$build" ] && [ -x "$build" ]; then
    program=$build
else
    [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DBUILD_TESTING=OFF >/dev/null
    cmake --build "$build" -j 2 --target miroven-calc >/dev/null
    program=$build/miroven-calc
fi

# RUNS readings (default 3) of the same file; the one of median time is reported. The
# first may still meet the machine busy from making the file.
runs=${RUNS:-3}
case $runs in '' | 0 | *[!0-9]*) usage ;; esac
: >"$work/times"
for _ in $(seq "$runs"); do
    load=$(cut -d' ' -f1-3 /proc/loadavg)
    status=0
    /usr/bin/time -f '%e %U %S %M' -o "$work/time" "$program" ledger "$input" >"$work/out.csv" 2>"$work/err" || status=$?
    if [ "$status" -gt 1 ]; then
        echo "broker: miroven-calc ledger refused the file (status $status):" >&2
        head -n 5 "$work/err" | sed 's/^/    /' >&2
        exit 1
    fi
    echo "$(tail -n 1 "$work/time") $load" >>"$work/times"
done
echo "broker: each reading (seconds, user, system, peak KiB, load average before):"
sed 's/^/    /' "$work/times"
read -r seconds user system peak_kib load < <(sort -n "$work/times" | sed -n "$(((runs + 1) / 2))p")
# Every row of the file has its row; a year-end settlement adds one of its own.
settlements=$(grep -c ',年末精算,' "$work/out.csv" || true)
written=$(($(wc -l <"$work/out.csv") - 1 - settlements))
[ "$written" -eq "$rows" ] || { echo "broker: wrote $written rows of $rows" >&2; exit 1; }
# A refused row has a message and no figures (a posted row's message says where the file's
# own figures differ); the output keeps the input's CR LF, which is no part of the message.
first_figure=$(($(head -n 1 "$work/out.csv" | tr ',' '\n' | grep -n -x -m 1 source | cut -d: -f1) + 1))
refused=$(awk -F, -v figure="$first_figure" 'NR > 1 { sub(/\r$/, "") } NR > 1 && $NF != "" && $figure == "" { n++ } END { print n + 0 }' "$work/out.csv")

awk -v rows="$rows" -v funds="$funds" -v refused="$refused" -v settlements="$settlements" -v s="$seconds" -v cpu="$user $system" -v kib="$peak_kib" -v bytes="$(stat -c %s "$input")" 'BEGIN {
    split(cpu, t, " ")
    printf "broker: %d rows of 楽天 trade history (%.1f MB) over %d funds, %d refused, %d year-end settlements, in %.2f s (CPU %.2f s): %.0f rows/s, peak RSS %.1f MB\n",
        rows, bytes / 1e6, funds, refused, settlements, s, t[1] + t[2], (s > 0 ? rows / s : 0), kib / 1024
}'
echo "median of $runs readings; load average before it: $load on $(nproc) cores"
