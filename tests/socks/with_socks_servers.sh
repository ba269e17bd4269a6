#!/usr/bin/env bash
# Runs a test program next to real SOCKS servers: a network namespace of its
# own with a dante server (SOCKS 4 and 5, no authentication) and a microsocks
# server (SOCKS 5, user name and password) on 127.0.0.1 inside it. The name
# target.socks.test stands for 127.0.0.1 in the namespace's hosts file, so only
# a proxy can turn it into an address. Without root the program runs without
# them, and its tests skip themselves.
set -euo pipefail

if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null || ! command -v danted >/dev/null ||
    ! command -v microsocks >/dev/null; then
    echo "with_socks_servers: needs root, ip, danted and microsocks; the SOCKS server tests" \
        "will be skipped" >&2
    exec "$@"
fi

# shellcheck source=tests/support/test_namespace.sh
source "$(dirname "$0")/../support/test_namespace.sh"
work=$(mktemp -d)
dante_port=1080
microsocks_port=1081
microsocks_user="hostlore"
microsocks_password="proxy-secret"
servers=()

cleanup() {
    local status=$?
    if [ "$status" -ne 0 ] && [ -f "$work/danted.log" ]; then
        cat "$work/danted.log" >&2
    fi
    stop_server_groups "${servers[@]}"
    remove_test_namespace
    rm -rf "$work"
}
trap cleanup EXIT

new_test_namespace hostlore-socks
name="$test_namespace"
etc="$test_namespace_etc"
printf '127.0.0.1 localhost target.socks.test\n' >"$etc/hosts"
printf 'hosts: files\n' >"$etc/nsswitch.conf"

cat >"$work/danted.conf" <<EOF
logoutput: $work/danted.log
internal: 127.0.0.1 port = $dante_port
external: 127.0.0.1
clientmethod: none
socksmethod: none
user.privileged: root
user.unprivileged: nobody
client pass { from: 127.0.0.0/8 to: 0.0.0.0/0 }
socks pass { from: 127.0.0.0/8 to: 0.0.0.0/0 command: connect }
EOF

setsid ip netns exec "$name" danted -f "$work/danted.conf" -p "$work/danted.pid" \
    >"$work/danted.out" 2>&1 &
servers+=($!)
setsid ip netns exec "$name" microsocks -i 127.0.0.1 -p "$microsocks_port" \
    -u "$microsocks_user" -P "$microsocks_password" >"$work/microsocks.out" 2>&1 &
servers+=($!)

listening() {
    ip netns exec "$name" bash -c "exec 3<>/dev/tcp/127.0.0.1/$1" 2>/dev/null
}
for port in "$dante_port" "$microsocks_port"; do
    for _ in $(seq 1 50); do
        listening "$port" && break
        sleep 0.1
    done
    if ! listening "$port"; then
        echo "with_socks_servers: no SOCKS server listens on port $port" >&2
        cat "$work"/*.out >&2 || true
        exit 1
    fi
done

ip netns exec "$name" env HOSTLORE_TEST_SOCKS=1 \
    HOSTLORE_TEST_DANTE_PORT="$dante_port" \
    HOSTLORE_TEST_MICROSOCKS_PORT="$microsocks_port" \
    HOSTLORE_TEST_MICROSOCKS_USER="$microsocks_user" \
    HOSTLORE_TEST_MICROSOCKS_PASSWORD="$microsocks_password" \
    "$@"
