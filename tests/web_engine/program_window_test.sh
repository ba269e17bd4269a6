#!/usr/bin/env bash
# The program as a user starts it, under Xvfb, with settings that point its
# four panes at a loopback server whose pages write to their console: across
# start-up and the automatic first query, the process maps one main window and
# never replaces it; and its terminal shows the engine's start-up report and
# the pages' console messages only with --verbose.
# Usage: program_window_test.sh PROGRAM ENGINE_MODULE
set -euo pipefail
program=$1
module=$2

for tool in xvfb-run xdotool python3; do
    if ! command -v "$tool" >/dev/null; then
        echo "program_window_test: needs $tool; skipped" >&2
        exit 77
    fi
done
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$@"
fi

work=$(mktemp -d)
server=""
running=""
cleanup() {
    for pid in $running $server; do
        kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null || true
    done
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "program_window_test: $*" >&2
    exit 1
}

# Every page tells its console, then asks for /shown, which the log records.
cat >"$work/server.py" <<'PY'
import http.server, sys
class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = (b"<html><head><title>pane</title><script>"
                b"console.warn('pane page shown'); fetch('/shown');"
                b"</script></head><body>pane</body></html>")
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
        self.send_header("Cache-Control", "no-store")
        self.send_header("Content-Length", str(len(body)))
        self.end_headers()
        self.wfile.write(body)
        print(self.path, file=sys.stderr, flush=True)
    def log_message(self, *args):
        pass
server = http.server.HTTPServer(("127.0.0.1", 0), Pages)
print(server.server_address[1], flush=True)
server.serve_forever()
PY
python3 "$work/server.py" >"$work/port" 2>"$work/requests" &
server=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
base="http://127.0.0.1:$(cat "$work/port")"

# A copy of its own, so that its settings file lands in the scratch folder.
mkdir "$work/program"
cp "$program" "$work/program/hostlore"
cp "$(dirname "$program")/libhostlore_window.so" "$module" "$work/program/"

# Runs the program until its four panes have shown their pages and a second
# more; notes the ids of its visible windows every tenth of a second.
run_program() {
    local name=$1
    shift
    printf '[general]\r\ndefault_url=%s/queried\r\nget_ie=false\r\n[whois]\r\nserver=127.0.0.1\r\n[url]\r\nSite_Info_url=%s/site?url=\r\nWhois_Source_url=%s/whois/\r\nBackward_Links_url=%s/links?q=\r\nSimilar_Pages_url=%s/similar?q=\r\n' \
        "$base" "$base" "$base" "$base" "$base" >"$work/program/settings.ini"
    : >"$work/requests"
    env -u QT_QPA_PLATFORM XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" \
        "$work/program/hostlore" "$@" >"$work/$name.out" 2>&1 &
    running=$!
    : >"$work/$name.windows"
    local shown_at=""
    for _ in $(seq 600); do
        xdotool search --onlyvisible --pid "$running" 2>/dev/null >>"$work/$name.windows" || true
        if [ -z "$shown_at" ] && [ "$(grep -cx /shown "$work/requests")" -ge 4 ]; then
            shown_at=$SECONDS
        fi
        [ -n "$shown_at" ] && [ $((SECONDS - shown_at)) -ge 2 ] && break
        sleep 0.1
    done
    kill "$running" && wait "$running" || true
    running=""
    [ -n "$shown_at" ] || fail "$name: the panes never showed their pages"
    local windows
    windows=$(sort -u "$work/$name.windows" | wc -l)
    [ "$windows" -eq 1 ] ||
        fail "$name: the process showed $windows different windows: $(sort -u "$work/$name.windows" | tr '\n' ' ')"
}

run_program quiet
if grep -E '^(qt\.webenginecontext|js:)' "$work/quiet.out"; then
    fail "without --verbose the terminal shows the lines above"
fi

run_program verbose --verbose
grep -q '^qt.webenginecontext:' "$work/verbose.out" ||
    fail "--verbose shows no start-up report of the engine"
grep -q '^js: pane page shown' "$work/verbose.out" ||
    fail "--verbose shows no console message of the pages"
