#!/usr/bin/env bash
# Runs a test program beside Debian's nginx and Apache, inside the namespace
# of dns/with_test_dns.sh (which runs this script): nginx.example.test
# (192.0.2.30, nginx.conf) and apache.example.test (192.0.2.31, apache2.conf)
# on ports 80, 8080 and 443, serving a certificate of a test authority of
# their own (HOSTLORE_TEST_WEB_CA), files under HOSTLORE_TEST_WEB_ROOT, and
# nginx's log of requests with their connections (HOSTLORE_TEST_NGINX_LOG).
# Without root or the servers the program runs without them, and its tests
# skip themselves.
set -euo pipefail

nginx=/usr/sbin/nginx
apache=/usr/sbin/apache2
modules=/usr/lib/apache2/modules
if [ "$(id -u)" -ne 0 ] || [ "${HOSTLORE_TEST_DNS:-}" != 1 ] || [ ! -x "$nginx" ] ||
    [ ! -x "$apache" ]; then
    echo "with_web_servers: needs root, the test DNS namespace, nginx and apache2; the real" \
        "server tests will be skipped" >&2
    exec "$@"
fi

here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/support/test_namespace.sh
source "$here/../support/test_namespace.sh"
work=$(mktemp -d)
chmod 755 "$work"
servers=()

cleanup() {
    local status=$?
    if [ "$status" -ne 0 ]; then
        cat "$work"/*-error.log >&2 2>/dev/null || true
    fi
    stop_server_groups "${servers[@]}"
    rm -rf "$work"
}
trap cleanup EXIT

bash "$here/../support/make_test_ca.sh" "$work/ca" >/dev/null 2>&1
mkdir -p "$work/www/dir" "$work/www-80/dir" "$work/apache" "$work/nginx-body"
printf '<p>index</p>\n' >"$work/www/index.html"
printf '<p>dated</p>\n' >"$work/www/dated.html"
printf '<p>dir</p>\n' >"$work/www/dir/index.html"
printf '<p>port 80</p>\n' >"$work/www-80/dir/index.html"
chmod -R a+rX "$work/www" "$work/www-80"

fill() {
    sed -e "s|@WORK@|$work|g" -e "s|@MODULES@|$modules|g" -e "s|@CHAIN@|$work/ca/web.pem|g" \
        -e "s|@KEY@|$work/ca/web.key|g" "$1" >"$2"
}
fill "$here/nginx.conf" "$work/nginx.conf"
fill "$here/apache2.conf" "$work/apache2.conf"

setsid "$nginx" -c "$work/nginx.conf" >"$work/nginx.out" 2>&1 &
servers+=($!)
setsid "$apache" -d "$work/apache" -f "$work/apache2.conf" -DFOREGROUND >"$work/apache.out" 2>&1 &
servers+=($!)

listening() {
    bash -c "exec 3<>/dev/tcp/$1/$2" 2>/dev/null
}
for server in 192.0.2.30 192.0.2.31; do
    for port in 80 8080 443; do
        for _ in $(seq 1 50); do
            listening "$server" "$port" && break
            sleep 0.1
        done
        if ! listening "$server" "$port"; then
            echo "with_web_servers: nothing listens on $server:$port" >&2
            cat "$work"/*.out >&2 || true
            exit 1
        fi
    done
done

HOSTLORE_TEST_WEB_SERVERS=1 HOSTLORE_TEST_WEB_CA="$work/ca/root.pem" \
    HOSTLORE_TEST_WEB_ROOT="$work/www" HOSTLORE_TEST_NGINX_LOG="$work/nginx-access.log" "$@"
