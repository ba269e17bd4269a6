#!/usr/bin/env bash
# Sets up a Debian 12 machine for Hostlore, then builds and starts it ("run")
# or builds and runs every test in a normal, an address/undefined-behaviour
# sanitizer and a thread sanitizer build ("test").
set -euo pipefail
cd "$(dirname "$0")"

# What building and running need.
PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-webengine-dev libgl-dev
          libjpeg62-turbo-dev liblz4-dev libc-ares-dev libssl-dev libpsl-dev publicsuffix
          libunbound-dev dns-root-data librsvg2-bin help2man)
# What only the tests need.
TEST_PACKAGES=(libgtest-dev fonts-dejavu-core dnsmasq-base iproute2 locales dante-server
               microsocks desktop-file-utils appstream dpkg-dev file lintian python3-jsonschema
               xvfb xauth xdotool python3 openssl nginx-light apache2 knot knot-dnssecutils
               bash-completion)
# Packages that enable and start a daemon on installation, with its name: the
# tests start their own servers in a namespace of their own, so none may stay.
DAEMONS=(dante-server:danted nginx-light:nginx apache2:apache2 apache2:apache-htcacheclean
         knot:knot)
# Locales whose date formats the tests compare.
LOCALES=(en_US.UTF-8 de_DE.UTF-8)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

# stop_daemon NAME: disabled at boot and stopped, under systemd or init scripts.
stop_daemon() {
    local daemon=$1
    if command -v systemctl >/dev/null; then
        as_root systemctl disable "$daemon.service" >/dev/null 2>&1 || true
        as_root systemctl stop "$daemon.service" >/dev/null 2>&1 || true
    fi
    if [ -e "/etc/init.d/$daemon" ]; then
        as_root update-rc.d "$daemon" disable >/dev/null 2>&1 || true
        as_root invoke-rc.d --force "$daemon" stop >/dev/null 2>&1 || true
    fi
}

# install_packages PACKAGE...: installs those not installed yet, and leaves no
# daemon that they bring enabled or running.
install_packages() {
    local missing=() package
    for package in "$@"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    if [ "${#missing[@]}" -eq 0 ]; then
        return
    fi
    as_root apt-get update
    # Maintainer scripts ask policy-rc.d whether they may start a daemon; 101
    # says no. A policy the machine has already stays as it is.
    local policy=/usr/sbin/policy-rc.d made_policy=false status=0
    if [ ! -e "$policy" ]; then
        printf '#!/bin/sh\nexit 101\n' | as_root tee "$policy" >/dev/null
        as_root chmod 755 "$policy"
        made_policy=true
    fi
    as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
        "${missing[@]}" || status=$?
    if $made_policy; then
        as_root rm -f "$policy"
    fi
    [ "$status" -eq 0 ] || exit "$status"
    # Enabling at boot does not ask the policy.
    local entry
    for entry in "${DAEMONS[@]}"; do
        if [[ " ${missing[*]} " == *" ${entry%%:*} "* ]]; then
            stop_daemon "${entry#*:}"
        fi
    done
}

generate_locales() {
    local missing=()
    for name in "${LOCALES[@]}"; do
        locale -a 2>/dev/null | grep -qix "${name/UTF-8/utf8}" || missing+=("$name")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        for name in "${missing[@]}"; do
            as_root sed -i "s/^# *\(${name} UTF-8\)/\1/" /etc/locale.gen
            grep -q "^${name} UTF-8" /etc/locale.gen || echo "${name} UTF-8" | as_root tee -a /etc/locale.gen >/dev/null
        done
        as_root locale-gen
    fi
}

# build FOLDER TARGET CMAKE-OPTIONS...
build() {
    local folder=$1 target=$2
    shift 2
    cmake -S . -B "$folder" -G Ninja "$@" >/dev/null
    cmake --build "$folder" --target "$target"
}

run_tests() {
    local folder=$1
    echo "== tests in $folder"
    ctest --test-dir "$folder" --output-on-failure -j2 --timeout 300 --label-exclude long
}

case "${1:-}" in
    run)
        install_packages "${PACKAGES[@]}"
        build build/release hostlore -DCMAKE_BUILD_TYPE=Release -DHOSTLORE_TESTS=OFF
        exec build/release/src/hostlore
        ;;
    test)
        install_packages "${PACKAGES[@]}" "${TEST_PACKAGES[@]}"
        generate_locales
        build build/release all -DCMAKE_BUILD_TYPE=Release -DHOSTLORE_TESTS=ON
        build build/asan all -DCMAKE_BUILD_TYPE=Debug -DHOSTLORE_SANITIZE=address -DHOSTLORE_TESTS=ON
        build build/tsan all -DCMAKE_BUILD_TYPE=Debug -DHOSTLORE_SANITIZE=thread -DHOSTLORE_TESTS=ON
        status=0
        for folder in build/release build/asan build/tsan; do
            run_tests "$folder" || status=1
        done
        exit "$status"
        ;;
    *)
        echo "usage: $0 run|test" >&2
        exit 2
        ;;
esac
