#!/usr/bin/env bash
# run_test.sh's verdicts: skipped (77) only for a run that passed and skipped a check;
# every other run keeps its own exit status.
set -u
runner=$(dirname "$0")/run_test.sh
failures=0
# check NAME EXPECTED_STATUS SCRIPT
check() {
    local got
    "$runner" bash -c "$3" >/dev/null 2>&1
    got=$?
    if [ "$got" -ne "$2" ]; then
        echo "FAIL: $1: exit $got, expected $2"
        failures=$((failures + 1))
    fi
}
check "passed" 0 'echo "PASS   : T::f()"; exit 0'
check "passed, one check skipped" 77 'echo "SKIP   : T::f() no Xvfb"; echo "PASS   : T::g()"; exit 0'
check "skip reported on stderr" 77 'echo "SKIP   : T::f() needs root" >&2; exit 0'
check "failed, one check skipped" 1 'echo "SKIP   : T::f() no Xvfb"; echo "FAIL!  : T::g()"; exit 1'
check "crashed after a skip" 134 'echo "SKIP   : T::f()"; kill -ABRT $$'
check "the word in a message" 0 'echo "QDEBUG : T::f() SKIP   : quoted"; exit 0'
echo "$((6 - failures)) passed, $failures failed"
[ "$failures" -eq 0 ]
