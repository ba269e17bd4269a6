#!/usr/bin/env bash
# Runs a test program against a DNS server of its own: a network namespace
# whose /etc/hosts and /etc/resolv.conf (bind-mounted by "ip netns exec") point
# at a dnsmasq on 127.0.0.1 inside it, serving the zone example.test and the
# names of the test whois and RDAP servers (support/whois_test_world.h), and
# international names below it and under .xn--zckzah; the web servers' names,
# 192.0.2.10 to .19 and .32, are served by the tests themselves, nginx and
# apache2 at .30 and .31 by web_servers/with_web_servers.sh. Every name under
# .batch, and www and mail of example.silent, are 192.0.2.10 too, for runs of
# many sites. The test blocks
# 192.0.2.0/24, 203.0.113.0/24 and 2001:db8::/64 are local in the namespace, so
# a test can serve on the very address that a name resolves to. Reverse
# questions for 198.18.0.0/24 are passed on to 127.0.0.1 port 5300, where a test
# can hold a name server that never answers (SilentNameServer).
#
# The zones under "example" (dns/zones/) come from knot on 127.0.0.1 port 5353,
# signed here with keys made for this run by kzonesign: signed.example with
# every record type DNS Records shows, broken.example with signatures dated
# 40 days back that have expired, unsigned.example without a DS record;
# questions about silent.example go to a port where nothing answers. The
# program gets the trust anchor of "example" from HOSTLORE_TEST_TRUST_ANCHOR
# through its settings. A second dnsmasq on 127.0.0.3 passes the zones on
# without their signatures, as a resolver that knows nothing of DNSSEC does,
# and keeps no cache, so that a question asked again still gets the zone's TTLs.
# Without root the program runs without any of it, and its tests skip themselves.
set -euo pipefail

if [ "$(id -u)" -ne 0 ] || ! command -v dnsmasq >/dev/null || ! command -v ip >/dev/null ||
    ! command -v knotd >/dev/null || ! command -v kzonesign >/dev/null; then
    echo "with_test_dns: needs root, ip, dnsmasq, knotd and kzonesign; the DNS tests will be" \
        "skipped" >&2
    exec "$@"
fi

# shellcheck source=tests/support/test_namespace.sh
source "$(dirname "$0")/../support/test_namespace.sh"
here=$(dirname "$0")
work=$(mktemp -d)
servers=()

cleanup() {
    stop_server_groups "${servers[@]}"
    remove_test_namespace
    rm -rf "$work"
}
trap cleanup EXIT

new_test_namespace hostlore-dns
name="$test_namespace"
etc="$test_namespace_etc"
printf '127.0.0.1 localhost\n203.0.113.77 hosts-file.example.test\n' >"$etc/hosts"
printf 'nameserver 127.0.0.1\noptions timeout:1 attempts:2\n' >"$etc/resolv.conf"
printf 'hosts: files dns\n' >"$etc/nsswitch.conf"
for block in 192.0.2.1/24 203.0.113.1/24; do
    ip -n "$name" addr add "$block" dev lo
done
# IPv6 makes a whole block local only as a route, and binds to its addresses
# only when binding to addresses not on an interface is allowed.
ip -n "$name" -6 addr add 2001:db8::1/64 dev lo nodad
ip -n "$name" -6 route add local 2001:db8::/64 dev lo
ip netns exec "$name" sysctl -q net.ipv6.ip_nonlocal_bind=1

# sign_zones: the zones under "example" signed into $work/signed, and the
# trust anchor in $work/trust-anchor.key.
sign_zones() {
    mkdir -p "$work/zones" "$work/signed" "$work/knot-db"
    cp "$here"/zones/*.zone "$work/zones/"
    local zones
    for zones in zones signed; do
        sed -e "s#@WORK@#$work#g" -e "s#@ZONES@#$work/$zones#g" "$here/knot.conf" \
            >"$work/knot-$zones.conf"
    done
    sign() { kzonesign -c "$work/knot-zones.conf" -o "$work/signed" "$@" >>"$work/sign.log" 2>&1; }
    ds() { keymgr -c "$work/knot-zones.conf" "$1" ds | grep " 13 2 "; }
    sign signed.example
    # New keys take the time given as their own, so they were valid then.
    sign -t "$(($(date +%s) - 40 * 86400))" broken.example
    ds signed.example >>"$work/zones/example.zone"
    ds broken.example >>"$work/zones/example.zone"
    sign example
    ds example >"$work/trust-anchor.key"
    cp "$work/zones/unsigned.example.zone" "$work/signed/"
}
if ! sign_zones; then
    echo "with_test_dns: the test zones could not be signed" >&2
    cat "$work/sign.log" >&2 || true
    exit 1
fi
setsid ip netns exec "$name" knotd -c "$work/knot-signed.conf" 2>"$work/knotd.log" &
servers+=($!)

setsid ip netns exec "$name" dnsmasq --keep-in-foreground --conf-file=/dev/null \
    --listen-address=127.0.0.1 --bind-interfaces --port=53 \
    --no-resolv --no-hosts --no-poll --user=root --pid-file="$work/dnsmasq.pid" \
    --log-facility="$work/dnsmasq.log" \
    --address=/#/ \
    --host-record=www.example.test,192.0.2.10 \
    --host-record=expired.example.test,192.0.2.11 \
    --host-record=future.example.test,192.0.2.12 \
    --host-record=wrong.example.test,192.0.2.13 \
    --host-record=self-signed.example.test,192.0.2.14 \
    --host-record=untrusted.example.test,192.0.2.15 \
    --host-record=stall.example.test,192.0.2.16 \
    --host-record=loop.example.test,192.0.2.17 \
    --host-record=relative.example.test,192.0.2.18 \
    --host-record=ftp.example.test,192.0.2.19 \
    --host-record=nginx.example.test,192.0.2.30 \
    --host-record=apache.example.test,192.0.2.31 \
    --host-record=hints.example.test,192.0.2.32 \
    --host-record=three.example.test,193.200.1.1 \
    --host-record=three.example.test,12.1.1.1 \
    --host-record=three.example.test,62.0.0.1 \
    --cname=alias.example.test,www.example.test \
    --host-record=www.example.thin,192.0.2.10 \
    --address=/batch/192.0.2.10 \
    --host-record=www.example.silent,192.0.2.10 \
    --host-record=mail.example.silent,192.0.2.10 \
    --host-record=whois.iana.org,192.0.2.60 \
    --host-record=whois.nic.test,192.0.2.61 \
    --host-record=whois.thin.test,192.0.2.62 \
    --host-record=whois.registrar.test,192.0.2.63 \
    --host-record=whois.moved.test,192.0.2.64 \
    --host-record=whois.loop-a.test,192.0.2.65 \
    --host-record=whois.loop-b.test,192.0.2.66 \
    --host-record=whois.silent.test,192.0.2.67 \
    --host-record=whois.rir.test,192.0.2.68 \
    --host-record=whois.gone.test,192.0.2.69 \
    --host-record=data.iana.test,192.0.2.70 \
    --host-record=rdap.nic.test,192.0.2.71 \
    --host-record=rdap.registrar.test,192.0.2.72 \
    --host-record=www.example.nowhois,192.0.2.10 \
    --host-record=dual.example.test,192.0.2.20,2001:db8::20 \
    --host-record=v6only.example.test,2001:db8::30 \
    --host-record=v6only.example.test,2001:db8::31 \
    --host-record=whois6.example.test,2001:db8::43 \
    --host-record=xn--bcher-kva.example.test,192.0.2.40,2001:db8::40 \
    --cname=www.xn--bcher-kva.example.test,xn--bcher-kva.example.test \
    --host-record=xn--r8jz45g.xn--zckzah,192.0.2.41 \
    --synth-domain=example.test,198.51.100.0/24,host- \
    --ptr-record=7.100.51.198.in-addr.arpa,seven.example.test \
    --ptr-record=9.100.51.198.in-addr.arpa,nine.example.test \
    --server=/0.18.198.in-addr.arpa/127.0.0.1#5300 \
    --server=/example/127.0.0.1#5353 \
    --server=/silent.example/127.0.0.1#5301 &
servers+=($!)
setsid ip netns exec "$name" dnsmasq --keep-in-foreground --conf-file=/dev/null \
    --listen-address=127.0.0.3 --bind-interfaces --port=53 \
    --no-resolv --no-hosts --no-poll --user=root --pid-file="$work/stripping.pid" \
    --log-facility="$work/stripping.log" \
    --server=127.0.0.1#5353 --filter-rr=RRSIG --cache-size=0 &
servers+=($!)

for _ in $(seq 1 50); do
    if ip netns exec "$name" getent hosts www.example.test >/dev/null 2>&1; then
        break
    fi
    sleep 0.1
done
if ! ip netns exec "$name" getent hosts www.example.test >/dev/null 2>&1; then
    echo "with_test_dns: the test DNS server did not answer" >&2
    cat "$work/dnsmasq.log" >&2 || true
    exit 1
fi

zones_loaded() {
    local zone
    for zone in example signed.example broken.example unsigned.example; do
        ip netns exec "$name" knotc -c "$work/knot-signed.conf" zone-status "$zone" 2>/dev/null |
            grep -q "serial: [0-9]" || return 1
    done
}
for _ in $(seq 1 50); do
    zones_loaded && break
    sleep 0.1
done
if ! zones_loaded; then
    echo "with_test_dns: knot did not load the test zones" >&2
    cat "$work/knotd.log" >&2 || true
    exit 1
fi

ip netns exec "$name" env HOSTLORE_TEST_DNS=1 HOSTLORE_TEST_TRUST_ANCHOR="$work/trust-anchor.key" \
    "$@"
