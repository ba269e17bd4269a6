#!/usr/bin/env bash
# Starts the program RUNS times with a query whose web, whois and DNS servers
# take the connection or query and never answer, asks it to close while the
# query hangs (SIGTERM, which closes its windows as the user would), and checks
# that every run ends within a second, saved its URL history, exited cleanly
# and printed no sanitizer report. The servers and the host name silent.test
# live in a network namespace of its own, so only root can run it.
# Usage: shutdown_under_load.sh PROGRAM SILENT_SERVERS [RUNS]
set -euo pipefail
program=$1
silent_servers=$2
runs=${3:-10}
limit_ms=1000
# ThreadSanitizer pauses a second at exit of its own accord; that pause is not
# the program's. Like every test, it looks only at code built with it.
export TSAN_OPTIONS="${TSAN_OPTIONS:+$TSAN_OPTIONS:}ignore_noninstrumented_modules=1:atexit_sleep_ms=0"

if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null; then
    echo "shutdown_under_load: needs root and ip for a network namespace; skipped" >&2
    exit 77
fi

# shellcheck source=tests/support/test_namespace.sh
source "$(dirname "$0")/../support/test_namespace.sh"
work=$(mktemp -d)
servers_pid=""
program_pid=""
cleanup() {
    for pid in "$program_pid" "$servers_pid"; do
        if [ -n "$pid" ]; then
            kill -KILL "$pid" 2>/dev/null || true
            wait "$pid" 2>/dev/null || true
        fi
    done
    remove_test_namespace
    rm -rf "$work"
}
trap cleanup EXIT

new_test_namespace hostlore-shutdown
printf '127.0.0.1 localhost silent.test\n' >"$test_namespace_etc/hosts"
printf 'nameserver 127.0.0.1\n' >"$test_namespace_etc/resolv.conf"
printf 'hosts: files dns\n' >"$test_namespace_etc/nsswitch.conf"

: >"$work/contacts"
ip netns exec "$test_namespace" "$silent_servers" >"$work/contacts" &
servers_pid=$!
for _ in $(seq 1 100); do
    grep -qx ready "$work/contacts" && break
    sleep 0.05
done
if ! grep -qx ready "$work/contacts"; then
    echo "shutdown_under_load: the silent servers did not start" >&2
    exit 1
fi

# A copy of its own, so that its settings file lands in the scratch folder.
mkdir "$work/program"
cp "$program" "$work/program/hostlore"
cp "$(dirname "$program")/libhostlore_window.so" "$work/program/"
settings="$work/program/settings.ini"

contacts() { grep -cx "$1" "$work/contacts" || true; }
now_ms() { echo $(($(date +%s%N) / 1000000)); }

fail() {
    echo "shutdown_under_load: run $run: $*" >&2
    sed 's/^/    program: /' "$work/output" >&2
    exit 1
}

slowest=0
for run in $(seq 1 "$runs"); do
    printf '[general]\r\ndefault_url=http://silent.test/\r\nget_ie=false\r\nexecute=true\r\n[whois]\r\nserver=127.0.0.1\r\n' \
        >"$settings"
    rm -f "$work/program/hostlore.ini"
    http=$(contacts http)
    whois=$(contacts whois)
    dns=$(contacts dns)
    ip netns exec "$test_namespace" "$work/program/hostlore" >"$work/output" 2>&1 &
    program_pid=$!

    # The query is under way once all three servers have been reached.
    deadline=$(($(now_ms) + 60000))
    until [ "$(contacts http)" -gt "$http" ] && [ "$(contacts whois)" -gt "$whois" ] &&
        [ "$(contacts dns)" -gt "$dns" ]; do
        kill -0 "$program_pid" 2>/dev/null || fail "the program ended before its query got under way"
        [ "$(now_ms)" -lt "$deadline" ] || fail "the query did not reach all three servers"
        sleep 0.02
    done

    asked=$(now_ms)
    kill -TERM "$program_pid"
    while kill -0 "$program_pid" 2>/dev/null && [ $(($(now_ms) - asked)) -le "$limit_ms" ]; do
        sleep 0.01
    done
    took=$(($(now_ms) - asked))
    if kill -0 "$program_pid" 2>/dev/null; then
        fail "still running ${took} ms after it was asked to close"
    fi
    status=0
    wait "$program_pid" || status=$?
    program_pid=""
    [ "$status" -eq 0 ] || fail "exit status $status"
    # Only closing writes the history section; the settings above have none.
    awk '/^\[/ { inHistory = ($0 ~ /^\[last_url\]/) } inHistory && /http:\/\/silent\.test\// { found = 1 }
         END { exit !found }' "$settings" || fail "the URL history was not saved"
    if grep -qE 'AddressSanitizer|LeakSanitizer|ThreadSanitizer|runtime error:' "$work/output"; then
        fail "a sanitizer report"
    fi
    [ "$took" -gt "$slowest" ] && slowest=$took
done
echo "shutdown_under_load: $runs runs, each closed within ${slowest} ms (limit ${limit_ms} ms)"
