#!/usr/bin/env bash
# The window's longest gap during a query with a 5 MB whois reply, with the
# engine's browser panes and with empty panes, alternately, under Xvfb.
# Usage: bench/whois_stall.sh [BUILD_FOLDER] [ROUNDS]   (configured with -DHOSTLORE_BUILD_BENCH=ON)
set -euo pipefail
build=$(realpath "${1:-build/release}")
rounds=${2:-2}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$rounds"
fi
cmake --build "$build" --target whois_stall_bench >/dev/null
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for round in $(seq "$rounds"); do
    for kind in engine blank; do
        XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
            "$build/bench/whois_stall_bench" "$kind" 2>/dev/null
    done
done
