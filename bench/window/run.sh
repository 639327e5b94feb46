#!/usr/bin/env bash
# Runs the window's benchmarks and prints their figures and ratios:
#   start to first painted window and peak memory of vk930config, against a bare Qt window
#   and against a bare window with a menu and a label (the font set-up any text needs);
#   appending 100,000 entries to the operation log;
#   the event loop's longest gap and the repaints a second during long commands over a paced
#   vk930-sim, before and now (offscreen only: it takes about two minutes).
# On the offscreen platform, and on a virtual X display when xvfb-run is installed.
# RUNS=N sets the number of starts of each program (default 21).
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/build.sh >/dev/null
bin=build/bench/window
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -m 700 "$scratch/runtime"
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime"
mkdir -p "$XDG_CONFIG_HOME"

run_all() {
    "$@" "$bin/bench_startup" "${RUNS:-21}" \
        build/src/window/vk930config --link sim --settings "$XDG_CONFIG_HOME/bench.ini" --exit-when-shown \
        -- "$bin/bench_bare_window" -- "$bin/bench_bare_window" --text
    "$@" "$bin/bench_log_append"
}

echo "== offscreen platform"
run_all env QT_QPA_PLATFORM=offscreen
if command -v xvfb-run >/dev/null; then
    echo "== X11 (xvfb-run)"
    run_all xvfb-run -a -s "-screen 0 1024x768x24"
fi

echo "== long commands over a paced vk930-sim (offscreen)"
QT_QPA_PLATFORM=offscreen "$bin/bench_command_gaps"
