#!/usr/bin/env bash
# Builds the libFuzzer targets with clang into build/fuzz and runs each for a fixed time from its
# seeds in tests/fuzz/corpus/<name>. New inputs go to build/fuzz/corpus/<name>, crashes to
# build/fuzz/crashes/<name>; the repository's corpora are left alone unless FUZZ_MERGE=1.
#   FUZZ_SECONDS=60      time per target
#   FUZZ_TARGETS="a b"   the targets to run (all by default)
#   FUZZ_JOBS=1          targets run at once (each takes one core)
#   FUZZ_MERGE=1         afterwards, merge into tests/fuzz/corpus/<name> the inputs of
#                        build/fuzz/corpus/<name> that add coverage (then commit them)
set -uo pipefail
cd "$(dirname "$0")/.."
seconds=${FUZZ_SECONDS:-60}
jobs=${FUZZ_JOBS:-1}
build=build/fuzz

cmake -S . -B "$build" -DNPD_FUZZ=ON -DCMAKE_BUILD_TYPE=Debug \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ >/dev/null || exit 1
cmake --build "$build" -j2 >/dev/null || cmake --build "$build" -j1 || exit 1
targets=${FUZZ_TARGETS:-$(sed -n 's/^set(NPD_FUZZ_TARGETS \(.*\))$/\1/p' tests/fuzz/targets.cmake)}

# Runs one target; its verdict goes to build/fuzz/<name>.status, its figures to <name>.summary.
run_target() { # name
    local name=$1 corpus=$build/corpus/$1 crashes=$build/crashes/$1 log=$build/$1.log
    mkdir -p "$corpus" "$crashes"
    # New inputs land in the first folder given; the repository's seeds are only read.
    nice "$build/${name}_fuzz" "$corpus" "tests/fuzz/corpus/$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -max_len=4096 \
        -artifact_prefix="$crashes/" -print_final_stats=1 >"$log" 2>&1
    local status=$?
    local done_line runs
    done_line=$(grep -E '^#[0-9]+[[:space:]]+DONE' "$log" | tail -1)
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    printf '%-17s %s runs in %s s; %s\n' "$name" "${runs:-?}" "$seconds" \
        "${done_line:-no final line}" >"$build/$name.summary"
    if [ "$status" -ne 0 ]; then
        tail -40 "$log"
        echo "==== $name FAILED (exit status $status): reproducer in $crashes, log in $log;"
        echo "     once fixed, keep the reproducer: copy it into tests/fuzz/crashes/$name/"
    fi
    echo "$status" >"$build/$name.status"
}

for name in $targets; do
    while [ "$(jobs -rp | wc -l)" -ge "$jobs" ]; do
        wait -n
    done
    echo "==== $name: ${seconds} s"
    run_target "$name" &
done
wait

failed=()
echo
echo "==== summary (DONE line: cov = edges covered, ft = features, corp = corpus entries/bytes)"
for name in $targets; do
    sed 's/^/  /' "$build/$name.summary"
    [ "$(cat "$build/$name.status")" = 0 ] || failed+=("$name")
    if [ "${FUZZ_MERGE:-0}" = 1 ]; then
        before=$(find "tests/fuzz/corpus/$name" -type f | wc -l)
        "$build/${name}_fuzz" -merge=1 "tests/fuzz/corpus/$name" "$build/corpus/$name" \
            >"$build/$name.merge.log" 2>&1 || failed+=("$name (merge)")
        after=$(find "tests/fuzz/corpus/$name" -type f | wc -l)
        echo "  $name: $((after - before)) inputs merged into tests/fuzz/corpus/$name"
    fi
done
if [ ${#failed[@]} -ne 0 ]; then
    echo "failed: ${failed[*]}"
    exit 1
fi
