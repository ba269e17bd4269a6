#!/usr/bin/env bash
# DNS Records' figures against the test zones of tests/dns/with_test_dns.sh, in
# one run of it: the page for the signed zone beside dig one after another and
# all at once, and 100 queries stopped in a row against a name server that
# never answers. Needs root and dig (bind9-dnsutils).
# Usage: bench/dns_records_figures.sh [BUILD_FOLDER [ROUNDS]]
# (configured with -DHOSTLORE_BUILD_BENCH=ON)
set -euo pipefail
here=$(dirname "$0")
build=$(realpath "${1:-build/release}")
rounds=${2:-25}
cmake --build "$build" --target dns_records_bench >/dev/null
"$here/../tests/dns/with_test_dns.sh" bash -c '"$0" page "$1" && "$0" stops 100' \
    "$build/bench/dns_records_bench" "$rounds" 2>&1 | grep -v XDG_RUNTIME_DIR
