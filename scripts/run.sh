#!/usr/bin/env bash
# Builds and starts the window on the built-in simulated terminal. The terminal's state is
# kept in the user's data folder, so what is programmed is still there at the next start.
# Without a display it says so and runs the command-line tool's "info" instead.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
data="${XDG_DATA_HOME:-$HOME/.local/share}/VK930Config"
mkdir -p "$data"
link="sim:$data/terminal.bin"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "run: no display (neither DISPLAY nor WAYLAND_DISPLAY is set): running 'vk930ctl info' instead" >&2
    exec build/src/cli/vk930ctl --link "$link" info
fi
exec build/src/window/vk930config --link "$link" "$@"
