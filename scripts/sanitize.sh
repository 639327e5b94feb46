#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer into build-asan/ and
# runs the whole test suite there.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/build_options.sh
cmake_options build-asan
cmake -S . -B build-asan -DCMAKE_BUILD_TYPE=Debug -DVK930_SANITIZE=ON "${cmake_options[@]}" >/dev/null
cmake --build build-asan -j2
export ASAN_OPTIONS="detect_leaks=1:abort_on_error=1:strict_string_checks=1"
export UBSAN_OPTIONS="print_stacktrace=1:halt_on_error=1"
# Leaks inside the system's font and display libraries are theirs, not ours.
export LSAN_OPTIONS="suppressions=$PWD/scripts/lsan.supp:print_suppressions=0"
# The random kill test's 50 rounds run in the native suite; here its processes only need to
# meet the sanitizers, which a few rounds do.
export VK930_CHAOS_ROUNDS="${VK930_CHAOS_ROUNDS:-8}"
# Three tests only scale up what shorter series tests run (forty and a hundred terminals, mostly
# waiting for the terminals to restart); the native suite runs them, here they would add minutes
# and no code path.
long_series='^(RegistrySeries\.FourBenchesNumberOneHundred|SeriesCli\.(FourPortsOfTen|TenTerminalsOnOnePort))'
cd build-asan
ctest -j2 --output-on-failure --timeout 600 -E "$long_series"
