#!/usr/bin/env bash
# A second start of vk930config.exe with a file hands the file to the running window and
# ends (a window of its own would keep it running): the first window's caption then names
# the file.
#   shell_open_test.sh WINE VK930CONFIG_EXE CLOSE_FRAME_EXE
set -euo pipefail
wine=$1 program=$2 close_frame=$3
fail() { echo "shell_open_test: $*" >&2; exit 1; }
[ -n "${WINEPREFIX:-}" ] || fail "WINEPREFIX names no Wine prefix; run scripts/windows_test.sh"
dir=$(mktemp -d)
first=
cleanup() {
    [ -z "$first" ] || kill "$first" 2>/dev/null || true
    rm -rf "$dir"
}
trap cleanup EXIT
printf 'SLEEP:45\nEND\n' >"$dir/unit 7.pcg"

"$wine" "$program" --link none &
first=$!
"$wine" "$close_frame" --keep || fail "the first window never came"
timeout 60 "$wine" "$program" --link none "Z:$dir/unit 7.pcg" ||
    fail "the second start ended with status $? instead of handing its file over"
"$wine" "$close_frame" --caption-has "unit 7.pcg" ||
    fail "the running window's caption never named the handed file (status $?)"
wait "$first" || fail "the first window ended with status $?"
first=
echo "shell_open_test: the second start's file opened in the running window"
