#!/usr/bin/env bash
# Time from launch to a painted main window, median of ROUNDS runs each, under
# Xvfb: a bare Qt widget window as the yardstick, the main window with empty
# panes (as before it embedded a browser), the main window with the engine's
# panes, for which the time until all four panes hold their browser views is
# shown too, and the program itself as it is started (its window a module it
# loads, the engine's module beside it), which reports its first paint through
# a plug-in the toolkit loads into it (about a millisecond of its time); then
# the processor time each had used by its first paint, which a busy machine
# does not stretch. With a second build folder (an earlier version, built the
# same way) its probes run in the same rounds, for a before and after. Each
# launch waits a moment first: one started while the last one's processes and
# the display server are still winding down was seen to take up to a quarter
# longer, and by how much depended on which probe came before it.
# Usage: bench/startup_time.sh [BUILD_FOLDER] [BASELINE_BUILD_FOLDER] [ROUNDS]
#   (configured with -DHOSTLORE_BUILD_BENCH=ON)
set -euo pipefail
build=$(realpath "${1:-build/release}")
baseline=${2:+$(realpath "$2")}
rounds=${3:-5}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build" "$baseline" "$rounds"
fi
folders=("$build")
[ -n "$baseline" ] && folders+=("$baseline")
cmake --build "$build" --target first_paint_plugin >/dev/null
for folder in "${folders[@]}"; do
    cmake --build "$folder" --target startup_bare startup_window startup_panes hostlore >/dev/null
done

# run_probe FOLDER PROBE: prints what the probe reports; a run that never
# reports is cut off and missing from the medians.
run_probe() {
    if [ "$2" = hostlore ]; then
        QT_PLUGIN_PATH="$build/bench/plugins" QT_QPA_GENERIC_PLUGINS=hostlorefirstpaint \
            HOSTLORE_LAUNCH_NS=$(date +%s%N) timeout 60 "$1/src/hostlore" 2>/dev/null || true
    else
        HOSTLORE_LAUNCH_NS=$(date +%s%N) timeout 60 "$1/bench/$2" 2>/dev/null || true
    fi
}

declare -A times
for _ in $(seq "$rounds"); do
    for folder in "${folders[@]}"; do
        label=$([ "$folder" = "$build" ] && echo "" || echo "before ")
        for probe in startup_bare startup_window startup_panes hostlore; do
            sleep 0.3
            while read -r what ms; do
                times[$label$probe/$what]+="$ms "
            done < <(run_probe "$folder" "$probe")
        done
    done
done

median() { tr ' ' '\n' | grep . | sort -n | awk '{v[NR]=$1} END{print (NR%2) ? v[(NR+1)/2] : (v[NR/2]+v[NR/2+1])/2}'; }
for label in "" "before "; do
    [ -z "$label" ] || [ -n "$baseline" ] || continue
    bare=$(median <<<"${times[${label}startup_bare/window]}")
    for key in startup_bare/window startup_window/window startup_panes/window startup_panes/panes \
        hostlore/window; do
        [ -n "${times[$label$key]:-}" ] || continue
        value=$(median <<<"${times[$label$key]}")
        printf '%-29s median %7.1f ms  (%4.2fx bare)   runs: %s\n' "$label$key" "$value" \
            "$(awk "BEGIN{print $value / $bare}")" "${times[$label$key]}"
    done
    # Probes of earlier builds did not report processor time.
    [ -n "${times[${label}startup_bare/window_cpu]:-}" ] || continue
    bare_cpu=$(median <<<"${times[${label}startup_bare/window_cpu]}")
    for key in startup_bare/window_cpu startup_window/window_cpu startup_panes/window_cpu \
        hostlore/window_cpu; do
        [ -n "${times[$label$key]:-}" ] || continue
        value=$(median <<<"${times[$label$key]}")
        printf '%-29s median %7.1f ms  (%4.2fx bare)   runs: %s\n' "$label$key" "$value" \
            "$(awk "BEGIN{print $value / $bare_cpu}")" "${times[$label$key]}"
    done
done
