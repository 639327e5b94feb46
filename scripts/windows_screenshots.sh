#!/usr/bin/env bash
# Saves the pictures of the Win32 window in docs/screenshots/windows: the main form after Read
# Device Info, the About box, the Get and firmware dialogs, the Tools menu's Compare, Backups
# and Service history dialogs and the form during an upload,
# drawn by Wine on a virtual display (xvfb-run) in a prefix of their own with Wine's fonts,
# the upload over a paced vk930-sim behind COM3. Needs the cross build of
# scripts/windows_test.sh (build-windows/); not part of the tests.
set -euo pipefail
cd "$(dirname "$0")/.."
out=build-windows
[ -f "$out/CMakeCache.txt" ] || { echo "windows_screenshots: run scripts/windows_test.sh first" >&2; exit 1; }
cmake --build build -j2 --target vk930-sim >/dev/null
cmake --build "$out" -j2 --target win32_screenshots >/dev/null

export WINEPREFIX="$PWD/$out/wineprefix-display"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
scratch="$(mktemp -d)"
sim=""
cleanup() {
    if [ -n "$sim" ]; then kill "$sim" 2>/dev/null || true; fi
    rm -f "$WINEPREFIX/dosdevices/com3"
    rm -rf "$scratch"
}
trap cleanup EXIT

screen=(-a -s "-screen 0 1024x768x24 -dpi 96")
# The prefix first: COM3 is a link in it.
xvfb-run "${screen[@]}" bash scripts/wine_prefix.sh --display

build/src/sim/vk930-sim --link "$scratch/com3" --pace "sim:$scratch/terminal.bin" &
sim=$!
for _ in $(seq 100); do [ -L "$scratch/com3" ] && break; sleep 0.05; done
ln -sfn "$scratch/com3" "$WINEPREFIX/dosdevices/com3"
mkdir -p "$scratch/pictures" docs/screenshots/windows
# Everything Wine draws goes to the virtual display of this one run.
xvfb-run "${screen[@]}" bash -c '
    set -euo pipefail
    wineserver -p >/dev/null 2>&1 || true
    trap "wineserver -k 2>/dev/null || true" EXIT
    wine "$1" "Z:$2" COM3 "Z:$3"
' windows_screenshots "$out/tests/win32window/win32_screenshots.exe" "$scratch/pictures" \
    "$PWD/tests/data/hsbt15.a20"
for picture in "$scratch"/pictures/*.bmp; do
    name=$(basename "$picture" .bmp)
    python3 scripts/bmp_to_png.py "$picture" "docs/screenshots/windows/$name.png"
    echo "docs/screenshots/windows/$name.png"
done
