#!/usr/bin/env bash
# Runs a command while vk930ctl of the Linux build numbers a series of three simulated
# terminals with the parameter file the window's series test programs, so that the test can
# hold the window's series records to vk930ctl's. The command learns where they are from
# VK930_CTL_SERIES_LOG (the service log) and VK930_CTL_SERIES_EXIT (vk930ctl's exit status, a
# file written once it has ended). Without a vk930ctl the command runs alone.
#   with_ctl_series.sh VK930CTL COMMAND [ARGS...]
set -euo pipefail
ctl=$1
shift
if [ ! -x "$ctl" ]; then
    exec "$@"
fi
dir=$(mktemp -d)
waiter=""
cleanup() {
    # vk930ctl itself, then the shell waiting for it: neither outlives the command.
    if [ -f "$dir/ctl.pid" ]; then kill "$(cat "$dir/ctl.pid")" 2>/dev/null || true; fi
    if [ -n "$waiter" ]; then kill "$waiter" 2>/dev/null || true; fi
    wait 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
printf 'HEADING:SERIES\r\nEND\r\n' >"$dir/p.pcg"
# vk930ctl waits its 4 s after each ID write for real: the terminals stay until then. It runs
# beside the command, which waits for its exit file.
(
    XDG_STATE_HOME="$dir/state" "$ctl" --settings "$dir/ctl.ini" \
        --link "sim?series=3&remove=4500&plugin=300" series --next --count 3 --set "$dir/p.pcg" \
        >"$dir/ctl.out" 2>&1 &
    echo $! >"$dir/ctl.pid"
    status=0
    wait $! || status=$?
    echo "$status" >"$dir/ctl.exit.tmp"
    mv "$dir/ctl.exit.tmp" "$dir/ctl.exit"
) &
waiter=$!
export VK930_CTL_SERIES_LOG="$dir/state/VK930Config/service-log.jsonl"
export VK930_CTL_SERIES_EXIT="$dir/ctl.exit"
"$@"
