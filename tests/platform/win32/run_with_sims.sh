#!/usr/bin/env bash
# Runs a Windows test program under Wine with simulated terminals behind Wine COM ports:
# COM3 a healthy terminal, COM4 one that stops answering at its second request, COM5 and COM6
# ones that go away at their second and first request, COM7 a series of three terminals that
# come and go (each removed 0.3 s after its restart). COM9 is left free.
#   run_with_sims.sh VK930_SIM WINE PROGRAM [ARGS...]
set -euo pipefail
sim=$1 wine=$2
shift 2
if [ -z "${WINEPREFIX:-}" ] || [ ! -d "$WINEPREFIX/dosdevices" ]; then
    echo "run_with_sims: WINEPREFIX names no Wine prefix; run scripts/windows_test.sh" >&2
    exit 1
fi
if [ ! -x "$sim" ]; then
    echo "run_with_sims: no vk930-sim at $sim; build it (cmake --build build --target vk930-sim)" >&2
    exit 1
fi
dir=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    wait 2>/dev/null || true
    rm -f "$WINEPREFIX"/dosdevices/com{3,4,5,6,7,9}
    rm -rf "$dir"
}
trap cleanup EXIT

serve() {  # serve PORT SPEC
    "$sim" --link "$dir/$1" "$2" 2>"$dir/$1.err" &
    pids+=($!)
    for _ in $(seq 200); do [ -L "$dir/$1" ] && break; sleep 0.05; done
    [ -L "$dir/$1" ] || { cat "$dir/$1.err" >&2; exit 1; }
    ln -sfn "$dir/$1" "$WINEPREFIX/dosdevices/$1"
}
rm -f "$WINEPREFIX/dosdevices/com9"
serve com3 "sim"
serve com4 "sim?stall=2"
serve com5 "sim?hangup=2"
serve com6 "sim?hangup=1"
serve com7 "sim?series=3&remove=300&plugin=100"
"$wine" "$@"
