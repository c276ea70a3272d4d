#!/usr/bin/env bash
# Pairwise batch benchmark: the same generated batch through two miroven-calc builds,
# run in turn (A B A B ...), with each one's median time and the ratio B / A.
#
#   bench/bench_pair.sh [OPTION...] A B [ROWS] [PAIRS] [CALCULATOR...]
#
# A and B are each a miroven-calc binary or a commit; a commit is built (the program
# alone, optimised as shipped) in build-pair/COMMIT from a worktree of its own. ROWS
# defaults to 1,000,000, PAIRS to 7, the calculators to all three. The batch passes no
# option beyond the calculator and --csv unless told to, so builds from before --rules
# take it too, and both outputs must be byte for byte the same.
#
# Options:
#   --refused PERCENT   the share of rows refused (default 1), spread evenly
#   --kind KIND         why they are refused (bench/bench_rows.awk): missing (a NAV of 0,
#                       the default), input (a NAV beyond the range), overflow (a figure
#                       beyond it)
#   --range wide, --rules current   passed to both builds, and the rows made to suit
#   --ignore-message    compare every column but the last, the message: for a build
#                       whose messages were worded otherwise
#
# Times are the wall clock and the CPU (user + system) of each run; a median is taken
# over the PAIRS runs of a build, and "median of ratios" over the pairs, each pair's B
# against its A. The load average is printed: on a busy machine compare the CPU times.
set -euo pipefail
cd "$(dirname "$0")/.."

usage() {
    echo "usage: bench/bench_pair.sh [--refused PERCENT] [--kind missing|input|overflow] [--range narrow|wide]" \
        "[--rules classic|current] [--ignore-message] A B [ROWS] [PAIRS] [purchase|redemption|distribution ...]" >&2
    exit 2
}
refused=1 kind=missing range=narrow options=() ignore_message=
while [ $# -gt 0 ]; do
    case $1 in
        --refused) [ $# -ge 2 ] || usage; refused=$2; shift 2 ;;
        --kind) [ $# -ge 2 ] || usage; kind=$2; shift 2 ;;
        --range) [ $# -ge 2 ] || usage; range=$2; options+=(--range "$2"); shift 2 ;;
        --rules) [ $# -ge 2 ] || usage; options+=(--rules "$2"); shift 2 ;;
        --ignore-message) ignore_message=1; shift ;;
        --*) usage ;;
        *) break ;;
    esac
done
case $refused in '' | *[!0-9.]*) usage ;; esac
case $kind in missing | input | overflow) ;; *) usage ;; esac
case $range in narrow | wide) ;; *) usage ;; esac
[ $# -ge 2 ] || usage
a=$1 b=$2
rows=${3:-1000000}
pairs=${4:-7}
shift $(($# < 4 ? $# : 4))
calculators=("$@")
[ ${#calculators[@]} -gt 0 ] || calculators=(purchase redemption distribution)
case $rows in '' | *[!0-9]*) usage ;; esac
case $pairs in '' | *[!0-9]* | 0) usage ;; esac

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
source bench/pairs.sh
program_a=$(pair_binary "$a")
program_b=$(pair_binary "$b")

echo "A: $a ($program_a)"
echo "B: $b ($program_b)"
echo "rows: $refused % refused ($kind)${options[*]:+, options ${options[*]}}${ignore_message:+, messages not compared}"
pair_header calculator rows
for calculator in "${calculators[@]}"; do
    case $calculator in purchase | redemption | distribution) ;; *) usage ;; esac
    awk -v rows="$rows" -v scale=1 -v base=9000 -v memo=row -v calculator="$calculator" \
        -v refused="$refused" -v kind="$kind" -v range="$range" -f bench/bench_rows.awk >"$work/in.csv"
    rm -f "$work/a.times" "$work/b.times"
    for ((i = 0; i < pairs; i++)); do
        pair_run "$work/a.times" "$work/out-a.csv" "$program_a" "$calculator" --csv "${options[@]}" <"$work/in.csv"
        pair_run "$work/b.times" "$work/out-b.csv" "$program_b" "$calculator" --csv "${options[@]}" <"$work/in.csv"
    done
    if [ -n "$ignore_message" ]; then
        # The generated rows hold no quoted field, so the message is what follows the last comma.
        cmp -s <(sed 's/,[^,]*$//' "$work/out-a.csv") <(sed 's/,[^,]*$//' "$work/out-b.csv") \
            || { echo "$calculator: the two outputs differ beyond the message" >&2; exit 1; }
    else
        cmp -s "$work/out-a.csv" "$work/out-b.csv" || { echo "$calculator: the two outputs differ" >&2; exit 1; }
    fi
    pair_row "$calculator" "$rows" "$work/a.times" "$work/b.times"
    awk -F, 'NR > 1 && $NF != "" { n++ } END { printf "%13s %.1f %% of the rows refused\n", "", 100 * n / (NR - 1) }' \
        "$work/out-a.csv"
done
pair_footer
