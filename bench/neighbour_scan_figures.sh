#!/usr/bin/env bash
# The neighbourhood scan's figures, each against its own delaying name server:
# 21 addresses at 500 ms an answer, 255 at 100 ms, and 100 scans stopped in a
# row against a 3 s name server; the scan as it is beside the former one.
# Needs root.  Usage: bench/neighbour_scan_figures.sh [BUILD_FOLDER]
# (configured with -DHOSTLORE_BUILD_BENCH=ON)
set -euo pipefail
here=$(dirname "$0")
build=$(realpath "${1:-build/release}")
cmake --build "$build" --target delaying_dns neighbour_scan_bench >/dev/null
run() {
    "$here/with_delaying_dns.sh" "$build/bench/delaying_dns" "$1" \
        "$build/bench/neighbour_scan_bench" "${@:2}" 2>&1 | grep -v XDG_RUNTIME_DIR
}
run 500 scan 20
run 100 scan 254
run 3000 stops 100
