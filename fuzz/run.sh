#!/usr/bin/env bash
# Runs the fuzzers of a QUORVEL_FUZZ build at low priority, each with the memory limits and the
# per-input timeout, and prints one line per target and a summary.
#
# usage: fuzz/run.sh BUILD_DIR [--seconds N | --runs N] [TARGET...]
#   --seconds N   run each target for N seconds (default 10)
#   --runs N      run each target for N executions instead
# FUZZ_JOBS targets run side by side (default 1); inputs are at most FUZZ_MAX_LEN bytes
# (default 16384). The corpus grows in BUILD_DIR/fuzz-corpus/<target>; a fault leaves its
# input in BUILD_DIR/fuzz-artifacts/<target>/ and the log in BUILD_DIR/fuzz-logs/<target>.log.
set -uo pipefail
cd "$(dirname "$0")/.."

build=${1:?usage: fuzz/run.sh BUILD_DIR [--seconds N | --runs N] [TARGET...]}
shift
limit=(-max_total_time=10)
case "${1:-}" in
--seconds) limit=(-max_total_time="$2"); shift 2 ;;
--runs) limit=(-runs="$2"); shift 2 ;;
esac
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_geometry_document fuzz_designs_document fuzz_codes_document
             fuzz_numbers_document fuzz_statistics_document fuzz_number_text fuzz_command_line
             fuzz_document_json)
fi

seeds="$build/fuzz-seeds"
rm -rf "$seeds"
"$build/bin/make_seeds" "$seeds" resources/class "$build/bin/class" >/dev/null || exit 1
mkdir -p "$build/fuzz-logs"

# Runs one target and leaves its summary line in fuzz-logs/<target>.result.
run_one() {
    local t=$1
    local corpus="$build/fuzz-corpus/$t" artifacts="$build/fuzz-artifacts/$t"
    local log="$build/fuzz-logs/$t.log" result="$build/fuzz-logs/$t.result"
    mkdir -p "$corpus" "$artifacts" "$seeds/$t"
    local inputs=("$corpus" "$seeds/$t")
    [ -d "fuzz/regressions/$t" ] && inputs+=("fuzz/regressions/$t")
    local start status seconds runs rate size
    start=$(date +%s)
    UBSAN_OPTIONS=print_stacktrace=1 nice -n 10 "$build/bin/$t" -rss_limit_mb=512 \
        -malloc_limit_mb=256 -timeout=1 -max_len="${FUZZ_MAX_LEN:-16384}" -print_final_stats=1 \
        -artifact_prefix="$artifacts/" "${limit[@]}" "${inputs[@]}" >"$log" 2>&1
    status=$?
    seconds=$(($(date +%s) - start))
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    size=$(find "$corpus" -type f | wc -l)
    if [ $status -eq 0 ]; then
        printf '%-26s %12s runs %6s s %8s/s corpus %5s  ok\n' \
            "$t" "${runs:-0}" "$seconds" "${rate:-?}" "$size" >"$result"
    else
        {
            printf '%-26s %12s runs %6s s  FAILED (exit %s), see %s\n' \
                "$t" "${runs:-0}" "$seconds" "$status" "$log"
            grep -m3 -E '(ERROR|SUMMARY|fuzz target:|runtime error)' "$log" | sed 's/^/    /'
            ls "$artifacts" | sed 's/^/    artifact: /'
        } >"$result"
    fi
}

running=0
for t in "${targets[@]}"; do
    rm -f "$build/fuzz-logs/$t.result"
    run_one "$t" &
    running=$((running + 1))
    if [ "$running" -ge "${FUZZ_JOBS:-1}" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

failed=0
total=0
for t in "${targets[@]}"; do
    result="$build/fuzz-logs/$t.result"
    if [ -f "$result" ]; then
        cat "$result"
        grep -q ' ok$' "$result" || failed=$((failed + 1))
        total=$((total + $(awk 'NR == 1 { print $2 }' "$result")))
    else
        echo "$t: no result"
        failed=$((failed + 1))
    fi
done
echo "fuzz summary: ${#targets[@]} targets, $total runs, $failed failed"
[ "$failed" -eq 0 ]
