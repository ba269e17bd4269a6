#!/usr/bin/env bash
# The picture taker run as the README says, into a folder of its own: it ends
# well, takes every picture the manual shows, each a PNG, and the screenshot is
# the General Info page's picture.
# Usage: take_help_pictures_test.sh BUILD-FOLDER
set -euo pipefail
build=$1
source=$(cd "$(dirname "$0")/../.." && pwd)

for tool in xvfb-run openssl unshare; do
    if ! command -v "$tool" >/dev/null; then
        echo "take_help_pictures_test: needs $tool; skipped" >&2
        exit 77
    fi
done
if ! unshare --net --mount --uts --map-root-user true 2>/dev/null; then
    echo "take_help_pictures_test: cannot make namespaces here; skipped" >&2
    exit 77
fi

output=$(mktemp -d)
trap 'rm -rf "$output"' EXIT
fail() {
    echo "take_help_pictures_test: $*" >&2
    exit 1
}

status=0
"$source/tools/take_help_pictures.sh" "$build" "$output" >"$output/taken.txt" || status=$?
[ "$status" -eq 0 ] || fail "the tool ended with status $status"

for picture in $(grep -o 'pictures/[a-z-]*\.png' "$source/help/index.html" | sort -u); do
    [ -f "$output/${picture#pictures/}" ] || fail "the manual shows $picture, which was not taken"
done
while read -r file; do
    case "$file" in "$output"/*.png) ;; *) continue ;; esac
    [ "$(head -c 8 "$file" | od -An -tx1 | tr -d ' \n')" = 89504e470d0a1a0a ] ||
        fail "$file is no PNG picture"
done <"$output/taken.txt"
cmp -s "$output/screenshot.png" "$output/general-info.png" ||
    fail "the screenshot is not the General Info page"
echo "take_help_pictures_test: $(grep -c '\.png$' "$output/taken.txt") pictures taken"
