#!/usr/bin/env bash
# Configures and builds into build/ (two jobs: the machines have two cores).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh
source scripts/build_options.sh
cmake_options build
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${cmake_options[@]}" "$@" >/dev/null
cmake --build build -j2
