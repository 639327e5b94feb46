#!/usr/bin/env bash
# Builds and runs every test: the format and the Markdown links, the test suite, the Debian
# package (built, checked, installed, exercised and removed), the core and its Windows back
# ends cross-built with MinGW and run under Wine, the same suite built with AddressSanitizer
# and UndefinedBehaviorSanitizer, and each fuzz target for a short while.
# VK930_QUICK=1 runs the checks and the native test suite alone.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
echo "== format check"
bash scripts/check_format.sh
echo "== links of the Markdown files"
python3 scripts/check_links.py
(cd build && ctest -j2 --output-on-failure --timeout 300)
if [ "${VK930_QUICK:-0}" = 1 ]; then exit 0; fi
echo "== the Debian package"
bash scripts/package_test.sh
echo "== the core and its Windows back ends, cross-built, under Wine"
bash scripts/windows_test.sh
echo "== the test suite with AddressSanitizer and UndefinedBehaviorSanitizer"
bash scripts/sanitize.sh
echo "== fuzz targets, 20 seconds each"
bash scripts/fuzz.sh 20
