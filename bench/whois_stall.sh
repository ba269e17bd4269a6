#!/usr/bin/env bash
# The window's longest gap during a query with a 5 MB whois reply, with the
# engine's browser panes and with empty panes, alternately, under Xvfb; with
# another build of the engine module as a third kind when one is given.
# Usage: bench/whois_stall.sh [BUILD_FOLDER] [ROUNDS] [NAME MODULE]
#   (configured with -DHOSTLORE_BUILD_BENCH=ON)
set -euo pipefail
build=$(realpath "${1:-build/release}")
rounds=${2:-2}
other=("${@:3:2}")
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$rounds" "${other[@]}"
fi
cmake --build "$build" --target whois_stall_bench >/dev/null
home=$(mktemp -d)
trap 'rm -rf "$home"' EXIT
for round in $(seq "$rounds"); do
    kinds=("engine" "blank")
    [ "${#other[@]}" -eq 2 ] && kinds+=("engine ${other[*]}")
    for kind in "${kinds[@]}"; do
        # shellcheck disable=SC2086 # the kind's words are the arguments
        XDG_DATA_HOME="$home/data" XDG_CACHE_HOME="$home/cache" \
            "$build/bench/whois_stall_bench" $kind 2>/dev/null
    done
done
