#!/usr/bin/env bash
# Runs a command in a network namespace whose only name server is
# delaying_dns on 127.0.0.1, answering reverse questions after DELAY_MS.
# Needs root.  usage: with_delaying_dns.sh DELAYING_DNS DELAY_MS COMMAND...
set -euo pipefail
server=$1 delay=$2
shift 2
name="hostlore-delay-$$"
etc="/etc/netns/$name"
cleanup() {
    [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null || true
    ip netns delete "$name" 2>/dev/null || true
    rm -rf "$etc"
}
trap cleanup EXIT
ip netns add "$name"
ip -n "$name" link set lo up
mkdir -p "$etc"
printf '127.0.0.1 localhost\n' >"$etc/hosts"
printf 'nameserver 127.0.0.1\noptions timeout:5 attempts:1\n' >"$etc/resolv.conf"
printf 'hosts: files dns\n' >"$etc/nsswitch.conf"
ip netns exec "$name" "$server" 127.0.0.1 53 "$delay" &
server_pid=$!
sleep 0.3
ip netns exec "$name" "$@"
