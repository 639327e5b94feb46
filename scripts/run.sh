#!/usr/bin/env bash
# Builds and starts the program on the built-in simulated terminal. The terminal's state is
# kept in the user's data folder, so what is programmed is still there at the next start.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/build.sh
data="${XDG_DATA_HOME:-$HOME/.local/share}/VK930Config"
mkdir -p "$data"
exec build/src/cli/vk930ctl --link "sim:$data/terminal.bin" "${@:-info}"
