#!/usr/bin/env bash
# Saves the pictures of the window and its dialogs in docs/screenshots, drawn on a virtual
# display (xvfb-run), so that they look the same on every machine; the picture of an upload
# is taken over a paced vk930-sim.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p docs/screenshots
scratch="$(mktemp -d)"
sim=""
trap 'if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi; rm -rf "$scratch"' EXIT
# The window's own folders stay out of the user's home.
mkdir -m 700 "$scratch/runtime"
build/src/sim/vk930-sim --link "$scratch/vk" --pace "sim:$scratch/terminal.bin" &
sim=$!
for _ in $(seq 50); do [ -e "$scratch/vk" ] && break; sleep 0.1; done
XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" \
    XDG_STATE_HOME="$scratch/state" \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    build/src/window/vk930-screenshots docs/screenshots "$scratch/vk" tests/data/hsbt15.a20
