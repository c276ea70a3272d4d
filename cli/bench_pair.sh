#!/usr/bin/env bash
# Pairwise batch benchmark: the same generated batch through two miroven-calc builds,
# run in turn (A B A B ...), with each one's median time and the ratio B / A.
#
#   cli/bench_pair.sh [OPTION...] A B [ROWS] [PAIRS] [CALCULATOR...]
#
# A and B are each a miroven-calc binary or a commit; a commit is built (the program
# alone, optimised as shipped) in build-pair/COMMIT from a worktree of its own. ROWS
# defaults to 1,000,000, PAIRS to 7, the calculators to all three. The batch passes no
# option beyond the calculator and --csv unless told to, so builds from before --rules
# take it too, and both outputs must be byte for byte the same.
#
# Options:
#   --refused PERCENT   the share of rows refused (default 1), spread evenly
#   --kind KIND         why they are refused (cli/bench_rows.awk): missing (a NAV of 0,
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
    echo "usage: cli/bench_pair.sh [--refused PERCENT] [--kind missing|input|overflow] [--range narrow|wide]" \
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

# The binary for A or B: itself when it is a program, else the commit built.
binary() {
    local given=$1
    if [ -x "$given" ] && [ -f "$given" ]; then
        echo "$given"
        return
    fi
    local commit
    commit=$(git rev-parse --verify -q "$given^{commit}") || { echo "neither a program nor a commit: $given" >&2; exit 2; }
    local dir=build-pair/$commit
    if [ ! -x "$dir/build/miroven-calc" ]; then
        [ -d "$dir/src" ] || git worktree add -q --detach "$dir/src" "$commit" >&2
        cmake -S "$dir/src" -B "$dir/build" -G Ninja -DBUILD_TESTING=OFF >&2
        cmake --build "$dir/build" -j 2 --target miroven-calc >&2
    fi
    echo "$dir/build/miroven-calc"
}
program_a=$(binary "$a")
program_b=$(binary "$b")

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Prints "wall cpu" of one run, and keeps its output for the comparison.
run() {
    local program=$1 calculator=$2 out=$3 status=0
    /usr/bin/time -f '%e %U %S' -o "$work/time" "$program" "$calculator" --csv "${options[@]}" <"$work/in.csv" >"$out" \
        || status=$?
    [ "$status" -le 1 ] || { echo "$program failed with status $status" >&2; exit 1; }
    tail -n 1 "$work/time" | awk '{ printf "%s %.2f\n", $1, $2 + $3 }'
}

median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

echo "A: $a ($program_a)"
echo "B: $b ($program_b)"
echo "rows: $refused % refused ($kind)${options[*]:+, options ${options[*]}}${ignore_message:+, messages not compared}"
echo "load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
printf '%-13s %7s | %9s %9s %7s %7s | %9s %9s %7s %7s\n' calculator rows \
    'wall A' 'wall B' 'B/A' 'pairs' 'CPU A' 'CPU B' 'B/A' 'pairs'
for calculator in "${calculators[@]}"; do
    case $calculator in purchase | redemption | distribution) ;; *) usage ;; esac
    awk -v rows="$rows" -v scale=1 -v base=9000 -v memo=row -v calculator="$calculator" \
        -v refused="$refused" -v kind="$kind" -v range="$range" -f cli/bench_rows.awk >"$work/in.csv"
    : >"$work/times"
    for ((i = 0; i < pairs; i++)); do
        read -r wall_a cpu_a < <(run "$program_a" "$calculator" "$work/out-a.csv")
        read -r wall_b cpu_b < <(run "$program_b" "$calculator" "$work/out-b.csv")
        echo "$wall_a $wall_b $cpu_a $cpu_b" >>"$work/times"
    done
    if [ -n "$ignore_message" ]; then
        # The generated rows hold no quoted field, so the message is what follows the last comma.
        cmp -s <(sed 's/,[^,]*$//' "$work/out-a.csv") <(sed 's/,[^,]*$//' "$work/out-b.csv") \
            || { echo "$calculator: the two outputs differ beyond the message" >&2; exit 1; }
    else
        cmp -s "$work/out-a.csv" "$work/out-b.csv" || { echo "$calculator: the two outputs differ" >&2; exit 1; }
    fi
    column() { awk -v c="$1" '{ print $c }' "$work/times" | median; }
    ratios() { awk -v x="$1" -v y="$2" '{ print ($x > 0 ? $y / $x : 0) }' "$work/times" | median; }
    wa=$(column 1) wb=$(column 2) ca=$(column 3) cb=$(column 4)
    printf '%-13s %7d | %8.2fs %8.2fs %7.3f %7.3f | %8.2fs %8.2fs %7.3f %7.3f\n' "$calculator" "$rows" \
        "$wa" "$wb" "$(awk -v a="$wa" -v b="$wb" 'BEGIN { print (a > 0 ? b / a : 0) }')" "$(ratios 1 2)" \
        "$ca" "$cb" "$(awk -v a="$ca" -v b="$cb" 'BEGIN { print (a > 0 ? b / a : 0) }')" "$(ratios 3 4)"
done
echo "B/A: the ratio of the medians; pairs: the median of each pair's ratio"
