#!/usr/bin/env bash
# Saves the pictures of the window and its dialogs in docs/screenshots, drawn on a virtual
# display (xvfb-run), so that they look the same on every machine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
mkdir -p docs/screenshots
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
# The window's own folders stay out of the user's home.
mkdir -m 700 "$scratch/runtime"
XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/runtime" \
    xvfb-run -a -s "-screen 0 1024x768x24 -dpi 96" \
    build/src/window/vk930-screenshots docs/screenshots
