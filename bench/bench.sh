#!/usr/bin/env bash
# Batch benchmark: streams a generated CSV of ROWS rows (default 1,000,000) through
# miroven-calc and prints the rows per second and the peak resident memory.
#
#   bench/bench.sh [ROWS] [BUILD_DIR] [narrow|wide] [ascii|utf-8|cp932] [classic|current]
#                  [purchase|redemption|distribution] [REFUSED_PERCENT] [missing|input|overflow]
#
# BUILD_DIR defaults to build/, the memo to ASCII, the rules to classic and the
# calculator to purchase. Redemption and distribution rows are taxed about half the
# time and return principal (a NAV below the principal) about a third of the time.
#
# BUILD_DIR defaults to build/. With "wide" the rows hold real-world amounts (funds up
# to 3,000,000, NAVs 20,000 to 35,000) and run with --range wide. The memo column is
# ASCII by default; "utf-8" and "cp932" give it a Japanese memo in that encoding, and
# the output is checked to be in it.
#
# The rows mix the fee on top and from the funds, and one in a hundred is refused (a
# NAV of 0), so the message path is timed too; REFUSED_PERCENT and the kind of refusal
# (bench/bench_rows.awk) make a batch refused in bulk instead. Load on the machine skews
# the figure: the load average is printed alongside.
set -euo pipefail
cd "$(dirname "$0")/.."

rows=${1:-1000000}
build=${2:-build}
range=${3:-narrow}
encoding=${4:-ascii}
rules=${5:-classic}
calculator=${6:-purchase}
refused=${7:-1}
kind=${8:-missing}
usage() {
    echo "usage: bench/bench.sh [ROWS] [BUILD_DIR] [narrow|wide] [ascii|utf-8|cp932] [classic|current]" \
        "[purchase|redemption|distribution] [REFUSED_PERCENT] [missing|input|overflow]" >&2
    exit 2
}
case $rows in '' | *[!0-9]*) usage ;; esac
case $rules in classic | windows | current) ;; *) usage ;; esac
case $calculator in purchase | redemption | distribution) ;; *) usage ;; esac
case $refused in '' | *[!0-9.]*) usage ;; esac
case $kind in missing | input | overflow) ;; *) usage ;; esac
case $range in
    narrow) scale=1; base=9000 ;;
    wide) scale=100; base=20000 ;;
    *) usage ;;
esac
case $encoding in
    ascii) memo='row' ;;
    utf-8 | cp932) memo='積立・ソフト表示' ;; # ソ and 表 end in 0x5C in CP932
    *) usage ;;
esac
[ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j 2 --target miroven-calc >/dev/null
program=$build/miroven-calc

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
awk -v rows="$rows" -v scale="$scale" -v base="$base" -v memo="$memo" -v calculator="$calculator" \
    -v refused="$refused" -v kind="$kind" -v range="$range" -f bench/bench_rows.awk >"$work/in.csv"
if [ "$encoding" = cp932 ]; then
    iconv -f UTF-8 -t CP932 "$work/in.csv" >"$work/in.cp932.csv"
    mv "$work/in.cp932.csv" "$work/in.csv"
fi

load=$(cut -d' ' -f1-3 /proc/loadavg)
status=0
/usr/bin/time -f '%e %U %S %M' -o "$work/time" "$program" "$calculator" --csv --range "$range" --rules "$rules" <"$work/in.csv" >"$work/out.csv" \
    || status=$?
[ "$status" -le 1 ] || { echo "miroven-calc failed with status $status" >&2; exit 1; }
# time adds a line of its own before the figures when the status is not 0.
read -r seconds user system peak_kib < <(tail -n 1 "$work/time")
written=$(($(wc -l <"$work/out.csv") - 1))
[ "$written" -eq "$rows" ] || { echo "wrote $written rows of $rows" >&2; exit 1; }
if [ "$encoding" != ascii ]; then
    iconv -f "$encoding" -t UTF-8 "$work/out.csv" >/dev/null || { echo "output is not $encoding" >&2; exit 1; }
fi

refused_rows=$(awk -F, 'NR > 1 && $NF != "" { n++ } END { print n + 0 }' "$work/out.csv")

awk -v calculator="$calculator" -v rules="$rules" -v range="$range" -v encoding="$encoding" -v rows="$rows" -v refused="$refused_rows" -v s="$seconds" -v cpu="$user $system" -v kib="$peak_kib" -v bytes="$(stat -c %s "$work/in.csv")" 'BEGIN {
    split(cpu, t, " ")
    printf "%s %s range, %s, %s rules: %d rows (%.1f MB, %d refused) in %.2f s (CPU %.2f s): %.0f rows/s, peak RSS %.1f MB\n",
        calculator, range, encoding, rules, rows, bytes / 1e6, refused, s, t[1] + t[2], (s > 0 ? rows / s : 0), kib / 1024
}'
echo "load average before the run: $load on $(nproc) cores"
