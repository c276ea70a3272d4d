#!/usr/bin/env bash
# Builds the fuzz targets in build-check/ with clang (coverage, AddressSanitizer and
# UndefinedBehaviorSanitizer in the code under test, checked; the same build serves the
# tests under sanitizers in ./test.sh) and runs each of them:
#
#   fuzz/run.sh                each target for 6 seconds (what ./test.sh does)
#   fuzz/run.sh --seconds S    each target for S seconds
#   fuzz/run.sh --runs N       each target for N executions
#
# Two targets run at a time, under nice. Prints one line per target: executions,
# executions per second, edges covered (cov) and coverage features (ft), and the
# outcome; a target that found a fault names the input it saved.
set -euo pipefail
cd "$(dirname "$0")/.."
source scripts/common.sh

seconds=6
runs=0
while [ $# -gt 0 ]; do
    case $1 in
        --seconds) seconds=${2:-}; shift 2 ;;
        --runs) runs=${2:-}; shift 2 ;;
        *) echo "usage: fuzz/run.sh [--seconds S | --runs N]" >&2; exit 2 ;;
    esac
done
for n in "$seconds" "$runs"; do
    case $n in '' | *[!0-9]*) echo "usage: fuzz/run.sh [--seconds S | --runs N]" >&2; exit 2 ;; esac
done

build=$MIROVEN_CHECKED_BUILD
miroven_install_packages clang libclang-rt-14-dev llvm libgmp-dev libmpfr-dev
miroven_configure_checked -DMIROVEN_FUZZ_SECONDS="$seconds" -DMIROVEN_FUZZ_RUNS="$runs" >/dev/null
nice cmake --build "$build" --target fuzzers -j "$(miroven_jobs)"

log=$build/fuzz.log
status=0
(cd "$build" && nice ctest -j "$(miroven_jobs)" -V -L fuzz) >"$log" 2>&1 || status=$?

# The instrumentation check and its own test, as CTest saw them.
grep -E '^[0-9]+: .*(objects with code carry|carries no|holds no code|cannot be read)' "$log" | sed 's/^[0-9]*: /  /' || true
grep -E 'Test +#[0-9]+: fuzz_instrument' "$log" | sed 's/^ *[0-9]*\/[0-9]* /  /' || true
echo
printf '  %-20s %12s %9s %6s %6s  %s\n' target executions exec/s cov ft outcome
for target in $(sed -n 's/^miroven_add_fuzzer(\(.*\))$/\1/p' fuzz/CMakeLists.txt); do
    number=$(grep -E "^[0-9]+: Test command: .*/fuzz/$target( |\$)" "$log" | head -n1 | cut -d: -f1)
    lines=$(grep "^$number: " "$log" | sed "s/^$number: //")
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' <<<"$lines" | tail -n1)
    [ -n "$done_line" ] || done_line=$(grep -E '^#[0-9]+[[:space:]]+(NEW|REDUCE|pulse|INITED)' <<<"$lines" | tail -n1)
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' <<<"$lines")
    per_second=$(sed -n 's/^stat::average_exec_per_sec: *//p' <<<"$lines")
    cov=$(sed -n 's/.* cov: \([0-9]*\).*/\1/p' <<<"$done_line")
    ft=$(sed -n 's/.* ft: \([0-9]*\).*/\1/p' <<<"$done_line")
    if grep -q "Test *#$number: $target \.* *Passed" "$log"; then
        outcome=passed
    else
        outcome="FAILED $(grep -oE 'Test.*artifact.*|written to .*|SUMMARY: .*|violated: .*' <<<"$lines" | tr '\n' ' ')"
    fi
    printf '  %-20s %12s %9s %6s %6s  %s\n' "$target" "${executions:--}" "${per_second:--}" "${cov:--}" "${ft:--}" "$outcome"
done
echo
if [ "$status" -ne 0 ]; then
    echo "fuzzing failed; the whole log is $log" >&2
    grep -E '^[0-9]+: (==[0-9]+==|SUMMARY|violated|texts|.*runtime error|artifact_prefix|Test unit written)' "$log" >&2 || true
fi
exit "$status"
