#!/usr/bin/env bash
# Builds the fuzz targets with clang-14's libFuzzer and runs each for SECONDS,
# FUZZ_JOBS at a time (default 1), at low priority. Each target works in
# build/fuzz-runs/TARGET/: its growing corpus (seeded from corpus/TARGET), its
# log and any finding (crash-*, leak-*, timeout-*, oom-*). A summary follows.
# FUZZ_OPTIONS adds libFuzzer options, e.g. "-max_len=16384 -len_control=0".
#
#   tests/fuzz/run_fuzzers.sh SECONDS [TARGET...]
set -euo pipefail

if [ $# -lt 1 ] || ! [[ $1 =~ ^[0-9]+$ ]]; then
    echo "usage: $0 SECONDS [TARGET...]" >&2
    exit 2
fi
seconds=$1
shift
top=$(cd "$(dirname "$0")/../.." && pwd)
seeds=$top/tests/fuzz/corpus
build=$top/build/fuzz
runs=$top/build/fuzz-runs
jobs=${FUZZ_JOBS:-1}

if [ $# -gt 0 ]; then
    targets=("$@")
else
    mapfile -t targets < <(ls "$seeds")
fi

cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DHOSTLORE_FUZZ=ON >/dev/null
nice cmake --build "$build" --target "${targets[@]/%/_fuzzer}"

# The settings target writes a file per input; tmpfs spares the disk.
export TMPDIR=/dev/shm

run_target() {
    local target=$1 folder=$runs/$1
    mkdir -p "$folder/corpus"
    cp -n "$seeds/$target"/* "$folder/corpus/"
    (cd "$folder" && nice "$build/tests/fuzz/${target}_fuzzer" corpus \
        -max_total_time="$seconds" -timeout=10 -print_final_stats=1 \
        -artifact_prefix="$folder/" ${FUZZ_OPTIONS:-} >"$folder/log.txt" 2>&1) || true
}

running=0
for target in "${targets[@]}"; do
    run_target "$target" &
    running=$((running + 1))
    if [ "$running" -ge "$jobs" ]; then
        wait -n
        running=$((running - 1))
    fi
done
wait

printf '\n%-16s %12s %8s %8s  %s\n' target executions exec/s corpus findings
for target in "${targets[@]}"; do
    folder=$runs/$target
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$folder/log.txt")
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$folder/log.txt")
    corpus=$(find "$folder/corpus" -type f | wc -l)
    findings=$(cd "$folder" && { ls crash-* leak-* timeout-* oom-* 2>/dev/null || true; } | tr '\n' ' ')
    printf '%-16s %12s %8s %8s  %s\n' "$target" "${executions:-?}" "${speed:-?}" "$corpus" \
        "${findings:-none}"
done
