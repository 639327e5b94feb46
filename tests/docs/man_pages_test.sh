#!/usr/bin/env bash
# The manual pages format without a warning from man (as lintian checks them) and hold no
# control character but tab and line feed.
#   man_pages_test.sh DIR    (the folder of *.1)
set -uo pipefail
dir="$1"
command -v man >/dev/null || { echo "man is not installed: skipped"; exit 77; }
failures=0
for page in "$dir"/*.1; do
    warnings="$(LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 \
        man --warnings -E UTF-8 -l -Tutf8 -Z "$page" 2>&1 >/dev/null)"
    if [ -n "$warnings" ]; then
        echo "FAIL: $page: $warnings"
        failures=$((failures + 1))
    fi
    if grep -nP '[\x00-\x08\x0B-\x1F\x7F]' "$page"; then
        echo "FAIL: $page holds a control character (above)"
        failures=$((failures + 1))
    fi
done
[ $failures -eq 0 ] && echo "man_pages: every page formats cleanly"
exit $((failures > 0))
