#!/usr/bin/env bash
# Builds the libFuzzer targets with clang and runs each for the given number
# of seconds (default 60), starting from the seed corpus in fuzz/corpus/.
# Fails on any crash, hang or leak. New inputs go to build-fuzz/corpus/, so the
# seeds in the repository stay as they are.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}

scripts/install-deps.sh clang libclang-rt-14-dev
build=build-fuzz
CXX=clang++ cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DTAVIR340_FUZZ=ON -DBUILD_TESTING=OFF >/dev/null
cmake --build "$build" -j "$(nproc)"

# One target per core at a time: each still gets its seconds of a core to
# itself, and the run takes a fraction of the time.
targets=(fuzz_contentfile fuzz_contentsave fuzz_moduleanswer fuzz_contentrecord fuzz_manifest fuzz_lockfile fuzz_journalprobe fuzz_contacts)
run_target() {
    local target=$1 name=${1#fuzz_} status=0
    mkdir -p "$build/corpus/$name"
    "$build/bin/$target" "$build/corpus/$name" "fuzz/corpus/$name" \
        -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix="$build/$target-" >"$build/$target.log" 2>&1 || status=$?
    echo "$status" >"$build/$target.status"
}
running=0
for target in "${targets[@]}"; do
    if [ "$running" -ge "$(nproc)" ]; then
        wait -n || true
        running=$((running - 1))
    fi
    echo "== $target: ${seconds}s"
    run_target "$target" &
    running=$((running + 1))
done
wait

passed=0
failed=0
for target in "${targets[@]}"; do
    echo "== $target"
    grep -E '^(#[0-9]+\s+DONE|stat::number_of_executed_units|stat::peak_rss_mb|INFO: seed corpus)|ERROR|SUMMARY|Test unit written' \
        "$build/$target.log" || true
    status=$(cat "$build/$target.status" 2>/dev/null || echo 1)
    if [ "$status" -ne 0 ]; then
        echo "$target failed (exit $status); see $build/$target.log"
        failed=$((failed + 1))
    else
        passed=$((passed + 1))
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
