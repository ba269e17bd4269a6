#!/usr/bin/env bash
# Sets up a Debian 12 machine for Hostlore, then builds and starts it ("run")
# or builds and runs every test in a normal, an address/undefined-behaviour
# sanitizer and a thread sanitizer build ("test").
set -euo pipefail
cd "$(dirname "$0")"

PACKAGES=(cmake ninja-build g++ pkg-config qt6-base-dev qt6-webengine-dev libgl-dev
          libjpeg62-turbo-dev liblz4-dev librsvg2-bin libgtest-dev fonts-dejavu-core dnsmasq-base
          iproute2 locales dante-server microsocks desktop-file-utils appstream dpkg-dev file
          python3-jsonschema)
# Locales whose date formats the tests compare.
LOCALES=(en_US.UTF-8 de_DE.UTF-8)

as_root() {
    if [ "$(id -u)" -eq 0 ]; then "$@"; else sudo "$@"; fi
}

install_packages() {
    local missing=()
    for package in "${PACKAGES[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed" ||
            missing+=("$package")
    done
    if [ "${#missing[@]}" -gt 0 ]; then
        as_root apt-get update
        as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends \
            "${missing[@]}"
    fi
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
        install_packages
        build build/release hostlore -DCMAKE_BUILD_TYPE=Release
        exec build/release/src/hostlore
        ;;
    test)
        install_packages
        generate_locales
        build build/release all -DCMAKE_BUILD_TYPE=Release
        build build/asan all -DCMAKE_BUILD_TYPE=Debug -DHOSTLORE_SANITIZE=address
        build build/tsan all -DCMAKE_BUILD_TYPE=Debug -DHOSTLORE_SANITIZE=thread
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
