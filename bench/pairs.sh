# shellcheck shell=bash
# What the pairwise benchmarks (bench_pair.sh, ledger_bench.sh --pair) share: a build
# given as a program or a commit, runs in turn, and the medians with their ratios.
# Sourced from the top of the source tree.

# The miroven-calc for GIVEN: itself when it is a program, else the commit built (the
# program alone, optimised as shipped) in build-pair/COMMIT from a worktree of its own.
pair_binary() {
    local given=$1
    if [ -x "$given" ] && [ -f "$given" ]; then
        echo "$given"
        return
    fi
    local commit
    commit=$(git rev-parse --verify -q "$given^{commit}") || { echo "neither a program nor a commit: $given" >&2; return 2; }
    local dir=build-pair/$commit
    if [ ! -x "$dir/build/miroven-calc" ]; then
        [ -d "$dir/src" ] || git worktree add -q --detach "$dir/src" "$commit" >&2
        cmake -S "$dir/src" -B "$dir/build" -G Ninja -DBUILD_TESTING=OFF >&2
        cmake --build "$dir/build" -j 2 --target miroven-calc >&2
    fi
    echo "$dir/build/miroven-calc"
}

# pair_run TIMES OUT PROGRAM [ARG...]: runs the program (standard input as given),
# writes its output to OUT and appends "wall cpu" (seconds) to TIMES. A status above 1
# (1 is a refused row) fails.
pair_run() {
    local times=$1 out=$2 status=0
    shift 2
    /usr/bin/time -f '%e %U %S' -o "$out.time" "$@" >"$out" || status=$?
    if [ "$status" -gt 1 ]; then
        echo "$1 failed with status $status" >&2
        return 1
    fi
    # time adds a line of its own before the figures when the status is not 0.
    tail -n 1 "$out.time" | awk '{ printf "%s %.2f\n", $1, $2 + $3 }' >>"$times"
}

pair_median() { sort -g | awk '{ v[NR] = $1 } END { print (NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2) }'; }

pair_header() {
    echo "load average before the runs: $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) cores"
    printf '%-13s %7s | %9s %9s %7s %7s | %9s %9s %7s %7s\n' "$1" "$2" \
        'wall A' 'wall B' 'B/A' 'pairs' 'CPU A' 'CPU B' 'B/A' 'pairs'
}

# pair_row LABEL COUNT TIMES_A TIMES_B: each build's median wall-clock and CPU time,
# the ratio of the medians and the median of the pairs' ratios (each B against its A).
pair_row() {
    local label=$1 count=$2 a=$3 b=$4
    column() { awk -v c="$2" '{ print $c }' "$1" | pair_median; }
    ratios() { paste -d' ' "$a" "$b" | awk -v c="$1" '{ print ($c > 0 ? $(c + 2) / $c : 0) }' | pair_median; }
    local wa wb ca cb
    wa=$(column "$a" 1) wb=$(column "$b" 1) ca=$(column "$a" 2) cb=$(column "$b" 2)
    printf '%-13s %7d | %8.2fs %8.2fs %7.3f %7.3f | %8.2fs %8.2fs %7.3f %7.3f\n' "$label" "$count" \
        "$wa" "$wb" "$(awk -v a="$wa" -v b="$wb" 'BEGIN { print (a > 0 ? b / a : 0) }')" "$(ratios 1)" \
        "$ca" "$cb" "$(awk -v a="$ca" -v b="$cb" 'BEGIN { print (a > 0 ? b / a : 0) }')" "$(ratios 2)"
}

pair_footer() { echo "B/A: the ratio of the medians; pairs: the median of each pair's ratio"; }
