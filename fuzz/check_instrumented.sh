#!/usr/bin/env bash
# check_instrumented.sh NM LIBRARY...
# Refuses (exit 1) a static library that a fuzz target links unless every object in it
# that holds code was compiled with the fuzzer's coverage and with AddressSanitizer,
# and the library holds UndefinedBehaviorSanitizer checks. Without them the fuzzer is
# neither guided by the library's branches nor told of its memory faults.
set -euo pipefail
nm=$1
shift
status=0
for library in "$@"; do
    # "library:object: [address] type name" for every symbol of every object.
    if ! symbols=$("$nm" -A "$library"); then
        echo "$library: cannot be read" >&2
        status=1
        continue
    fi
    if verdict=$(awk -v library="$(basename "$library")" '
        {
            split($1, where, ":"); object = where[2]
            type = $(NF - 1); name = $NF
            # Constructors that the sanitizers add are not code under test.
            if (type ~ /^[TtWw]$/ && name !~ /^(asan|sancov|ubsan)\./) code[object] = 1
            if (name ~ /^__sanitizer_cov_(8bit_counters|trace_pc_guard|bool_flag)_init$/) coverage[object] = 1
            if (name == "__asan_init") asan[object] = 1
            if (name ~ /^__ubsan_handle_/) ubsan++
        }
        END {
            for (o in code) {
                objects++
                if (!(o in coverage)) { blind = blind " " o; bad = 1 }
                if (!(o in asan)) { unsanitized = unsanitized " " o; bad = 1 }
            }
            if (objects == 0) { print library ": holds no code"; exit 1 }
            if (blind != "") print library ": carries no fuzzer coverage in:" blind
            if (unsanitized != "") print library ": carries no AddressSanitizer in:" unsanitized
            if (ubsan == 0) { print library ": carries no reference to an UndefinedBehaviorSanitizer handler"; bad = 1 }
            if (bad) exit 1
            printf "%s: all %d objects with code carry fuzzer coverage and AddressSanitizer; %d references to UndefinedBehaviorSanitizer handlers\n", library, objects, ubsan
        }' <<<"$symbols"); then
        echo "$verdict"
    else
        echo "$verdict" >&2
        status=1
    fi
done
exit $status
