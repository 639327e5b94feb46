#!/usr/bin/env bash
# Builds and runs the whole fault matrix over the serial link (a few minutes); prints the
# table of cases tried and held per command and wire fault, then every case that did not
# hold (exit status 1). Arguments: the commands to run (identification commid get-raw
# get-keyed set-keyed set-raw firmware; default all).
set -euo pipefail
cd "$(dirname "$0")/.."
if [ ! -f build/CMakeCache.txt ]; then bash scripts/build.sh >/dev/null; fi
cmake --build build -j2 --target fault_matrix >/dev/null
exec build/bench/fault_matrix/fault_matrix "$@"
