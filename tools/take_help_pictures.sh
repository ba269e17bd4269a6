#!/usr/bin/env bash
# Takes the manual's pictures, one per page and one of the about box, and the
# README's screenshot of the real window under Xvfb: into help/pictures/ and
# docs/screenshot.png, or all into OUTPUT-FOLDER when one is given. The program
# runs in namespaces of its own: a private network with a web server (HTTP,
# and HTTPS with a certificate made here for it) and a whois server that
# help_pictures itself answers for, a host name and name files of its own, so
# the pictures are the same on every machine and nothing reaches the Internet.
# Needs xvfb (xvfb-run), openssl, dnsmasq, iproute2 and util-linux's unshare
# (as root, or with unprivileged user namespaces).
# Usage: tools/take_help_pictures.sh [BUILD-FOLDER [OUTPUT-FOLDER]]
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" != --inside ]; then
    build=${1:-build/release}
    output=${2:-}
    [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target help_pictures
    # Mapped to root only when not root already: the name server cannot drop
    # its privileges inside a mapped namespace.
    map=(--map-root-user)
    [ "$(id -u)" -ne 0 ] || map=()
    exec unshare --net --mount --uts "${map[@]}" "$0" --inside "$build" "$output"
fi
build=$2
output=$3

# Inside the namespaces: the machine the pictures show.
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
hostname workstation
ip link set lo up
ip addr add 12.1.1.1/32 dev lo
if ip link add eth0 type dummy 2>/dev/null; then
    ip link set eth0 address 52:54:00:12:34:ab
    ip addr add 192.168.1.23/24 dev eth0
    ip link set eth0 up
    ip route add default via 192.168.1.1 dev eth0
fi
cat >"$work/hosts" <<'HOSTS'
127.0.0.1 localhost
192.168.1.23 workstation.home.example workstation
12.1.1.1 www.hostlore.example
12.1.1.2 mail.hostlore.example
12.1.1.4 shop.example.net
12.1.1.7 news.example.org
127.0.0.1 whois.hostlore.example
HOSTS
printf 'search home.example\nnameserver 192.168.1.1\n' >"$work/resolv.conf"
printf 'hosts: files dns\n' >"$work/nsswitch.conf"
for file in hosts resolv.conf nsswitch.conf; do
    mount --bind "$work/$file" "/etc/$file"
done

# The home router's name server, with the zone DNS Records shows.
ip addr add 192.168.1.1/32 dev lo
dnsmasq --conf-file=/dev/null --keep-in-foreground --no-resolv --no-hosts --pid-file= \
    --listen-address=192.168.1.1 --bind-interfaces \
    --auth-server=ns1.hostlore.example,192.168.1.1 --auth-zone=hostlore.example \
    --auth-soa=2026120901,hostmaster.hostlore.example,3600,600,1209600 \
    --auth-sec-servers=ns2.hostlore.example \
    --host-record=hostlore.example,12.1.1.1 --host-record=www.hostlore.example,12.1.1.1 \
    --host-record=mail.hostlore.example,12.1.1.2 --mx-host=hostlore.example,mail.hostlore.example,10 \
    --txt-record=hostlore.example,"v=spf1 mx -all" \
    --txt-record=_dmarc.hostlore.example,"v=DMARC1; p=reject" \
    --dns-rr=hostlore.example,257,0005697373756574727573742e6578616d706c65 &
name_server=$!
trap 'kill "$name_server"; rm -rf "$work"' EXIT

# The web site's certificate, from an authority that only this run trusts.
openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 3650 \
    -subj "/O=Example Trust Services/CN=Example Trust Root" \
    -addext basicConstraints=critical,CA:TRUE -addext keyUsage=critical,keyCertSign \
    -keyout "$work/root.key" -out "$work/root.pem" 2>/dev/null
openssl req -new -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes \
    -subj "/CN=www.hostlore.example" -keyout "$work/site.key" -out "$work/site.csr" 2>/dev/null
printf 'subjectAltName=DNS:www.hostlore.example\nextendedKeyUsage=serverAuth\n' >"$work/site.ext"
openssl x509 -req -in "$work/site.csr" -CA "$work/root.pem" -CAkey "$work/root.key" \
    -CAcreateserial -days 397 -extfile "$work/site.ext" -out "$work/site.pem" 2>/dev/null

locale -a 2>/dev/null | grep -qix en_US.utf8 && export LC_ALL=en_US.UTF-8 || export LC_ALL=C.UTF-8
export TZ=UTC
pictures=${output:-help/pictures}
mkdir -p "$pictures" "$work/home/user"
mount --bind "$work/home" /home
HOME=/home/user SSL_CERT_FILE="$work/root.pem" SSL_CERT_DIR="$work" \
    xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
    "$build/tools/help_pictures" "$pictures" "$work/site.pem" "$work/site.key"
cp "$pictures/general-info.png" "${output:-docs}/screenshot.png"
