#!/usr/bin/env bash
# The pairwise benchmarks compare what two builds wrote: a build against itself agrees
# (for every kind of refused row), and a build whose output differs is caught, in the
# message or, with --ignore-message, beyond it. Small batches: the times do not count.
#
#   tests/bench/check_pair_scripts.sh MIROVEN_CALC
set -u
calc=$1
bench=$(cd "$(dirname "$0")/../../bench" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# A build whose output differs from miroven-calc's by the sed expression given.
changed() {
    printf '#!/bin/sh\n"%s" "$@" | sed "%s"\n' "$calc" "$2" >"$work/$1"
    chmod +x "$work/$1"
}
changed message 's/入力されていません$/入力されていない/'
changed figure 's/,row 1,[0-9]*/,row 1,0/'
changed ledger 's/,特定,/,NISA,/'

failures=0
# check NAME EXPECTED_STATUS COMMAND...
check() {
    local name=$1 expected=$2 got
    shift 2
    "$@" >"$work/out" 2>&1
    got=$?
    if [ "$got" -ne "$expected" ]; then
        echo "FAIL: $name: exit $got, expected $expected"
        sed 's/^/    /' "$work/out"
        failures=$((failures + 1))
    fi
}
# check_share NAME PERCENT COMMAND...: agrees, and refuses that share of every batch
check_share() {
    local name=$1 percent=$2
    shift 2
    check "$name" 0 "$@"
    local shares
    shares=$(grep -c "^ *$percent % of the rows refused" "$work/out")
    [ "$shares" -eq 3 ] || { echo "FAIL: $name: $shares of 3 batches refused $percent %"; failures=$((failures + 1)); }
}

pair=("$bench/bench_pair.sh")
check_share "missing, the default" 1.0 "${pair[@]}" "$calc" "$calc" 1000 1
for range in narrow wide; do
    for rules in classic current; do
        check_share "input beyond the range, $range, $rules" 40.0 \
            "${pair[@]}" --refused 40 --kind input --range $range --rules $rules "$calc" "$calc" 1000 1
    done
done
check_share "overflow, narrow" 40.0 "${pair[@]}" --refused 40 --kind overflow "$calc" "$calc" 1000 1
check "a message worded otherwise" 1 "${pair[@]}" "$calc" "$work/message" 1000 1 purchase
check "a message worded otherwise, messages left out" 0 \
    "${pair[@]}" --ignore-message "$calc" "$work/message" 1000 1 purchase
check "a figure changed, messages left out" 1 "${pair[@]}" --ignore-message "$calc" "$work/figure" 1000 1 purchase
check "usage: an unknown kind" 2 "${pair[@]}" --kind typo "$calc" "$calc" 1000 1
check "ledger: the same build" 0 "$bench/ledger_bench.sh" --pair "$calc" "$calc" 1000 10 1
check "ledger: an output changed" 1 "$bench/ledger_bench.sh" --pair "$calc" "$work/ledger" 1000 10 1

echo "$failures failed"
[ "$failures" -eq 0 ]
