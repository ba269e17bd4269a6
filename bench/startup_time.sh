#!/usr/bin/env bash
# Time from launch to a painted main window, median of five runs each, under
# Xvfb: a bare Qt widget window as the yardstick, the main window with empty
# panes (as before it embedded a browser), and the main window with the
# engine's panes, for which the time until all four panes hold their browser
# views is shown too.
# Usage: bench/startup_time.sh [BUILD_FOLDER]   (configured with -DHOSTLORE_BUILD_BENCH=ON)
set -euo pipefail
build=$(realpath "${1:-build/release}")
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi
cmake --build "$build" --target startup_bare startup_window startup_panes >/dev/null

declare -A times
for round in 1 2 3 4 5; do
    for probe in startup_bare startup_window startup_panes; do
        while read -r what ms; do
            times[$probe/$what]+="$ms "
        done < <(HOSTLORE_LAUNCH_NS=$(date +%s%N) "$build/bench/$probe" 2>/dev/null)
    done
done

median() { tr ' ' '\n' | grep . | sort -n | sed -n 3p; }
bare=$(median <<<"${times[startup_bare/window]}")
for key in startup_bare/window startup_window/window startup_panes/window startup_panes/panes; do
    value=$(median <<<"${times[$key]}")
    printf '%-22s median %7.1f ms  (%4.2fx bare)   runs: %s\n' "$key" "$value" \
        "$(awk "BEGIN{print $value / $bare}")" "${times[$key]}"
done
