#!/usr/bin/env bash
# Takes the manual's pictures (help/pictures/) and the README's screenshot
# (docs/screenshot.png) of the real window under Xvfb. The program runs in
# namespaces of its own: a private network with a web and a whois server that
# help_pictures itself answers for, a host name and name files of its own, so
# the pictures are the same on every machine and nothing reaches the Internet.
# Needs xvfb (xvfb-run), iproute2 and util-linux's unshare (as root, or with
# unprivileged user namespaces). Usage: tools/take_help_pictures.sh [BUILD-FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}

if [ "${1:-}" != --inside ]; then
    [ -f "$build/CMakeCache.txt" ] || cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
    cmake --build "$build" --target help_pictures
    exec unshare --net --mount --uts --map-root-user "$0" --inside "$build"
fi
build=$2

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

locale -a 2>/dev/null | grep -qix en_US.utf8 && export LC_ALL=en_US.UTF-8 || export LC_ALL=C.UTF-8
export TZ=UTC
mkdir -p help/pictures "$work/home/user"
mount --bind "$work/home" /home
HOME=/home/user xvfb-run --auto-servernum --server-args="-screen 0 1024x768x24" \
    "$build/tools/help_pictures" help/pictures
cp help/pictures/general-info.png docs/screenshot.png
