#!/usr/bin/env bash
# Total memory of the program and its browser-engine processes (PSS and RSS)
# once a query has loaded all four service panes from a loopback HTTP server.
# Runs a copy of the program under Xvfb in a folder of its own, with settings
# that point the panes at the server.
# Usage: bench/pane_memory.sh [BUILD_FOLDER]
set -euo pipefail
build=$(realpath "${1:-build/release}")
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" "$build"
fi
cmake --build "$build" --target hostlore >/dev/null

work=$(mktemp -d)
program=""
server=""
cleanup() {
    [ -n "$program" ] && kill "$program" 2>/dev/null && wait "$program" 2>/dev/null
    [ -n "$server" ] && kill "$server" 2>/dev/null && wait "$server" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

# Answers every GET with a small page and logs its target, one per line.
cat >"$work/server.py" <<'PY'
import http.server, sys
class Pages(http.server.BaseHTTPRequestHandler):
    def do_GET(self):
        body = ("<html><head><title>%s</title></head><body><h1>%s</h1></body></html>"
                % (self.path, self.path)).encode()
        self.send_response(200)
        self.send_header("Content-Type", "text/html")
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

mkdir "$work/program"
cp "$build/src/hostlore" "$build/src/libhostlore_web_engine.so" "$work/program/"
printf '[general]\r\ndefault_url=%s/queried\r\nget_ie=false\r\n[whois]\r\nserver=127.0.0.1\r\n[url]\r\nSite_Info_url=%s/site?url=\r\nWhois_Source_url=%s/whois/\r\nBackward_Links_url=%s/links?q=\r\nSimilar_Pages_url=%s/similar?q=\r\n' \
    "$base" "$base" "$base" "$base" "$base" >"$work/program/settings.ini"
XDG_DATA_HOME="$work/data" XDG_CACHE_HOME="$work/cache" "$work/program/hostlore" >/dev/null 2>&1 &
program=$!

for _ in $(seq 600); do
    [ "$(grep -cE '^/(site|whois|links|similar)' "$work/requests")" -ge 4 ] && break
    sleep 0.1
done
echo "requests: $(grep -E '^/(site|whois|links|similar)' "$work/requests" | tr '\n' ' ')"
sleep 3  # let the four pages render

# The program and every process it started.
family() {
    echo "$1"
    for child in $(ps -o pid= --ppid "$1"); do family "$child"; done
}
pss=0 rss=0 count=0
for pid in $(family "$program"); do
    read -r p r < <(awk '/^Pss:/{p=$2} /^Rss:/{r=$2} END{print p, r}' "/proc/$pid/smaps_rollup")
    pss=$((pss + p)) rss=$((rss + r)) count=$((count + 1))
done
printf 'processes: %d   PSS total: %.1f MiB   RSS total: %.1f MiB\n' "$count" \
    "$(awk "BEGIN{print $pss/1024}")" "$(awk "BEGIN{print $rss/1024}")"
