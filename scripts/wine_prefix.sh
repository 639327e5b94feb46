#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX once: Wine's own fonts in windows/Fonts (without them the
# dialogs get a Linux font and the wrong size) and the "null" graphics driver, so that windows
# are made, laid out and tested without a display. With --display the prefix draws on the X
# display instead, with frames of Wine's own (no window manager's), for pictures. A prefix
# that has been made is left alone.
#   wine_prefix.sh [--display]
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix to make}"
display=0
[ "${1:-}" = "--display" ] && display=1
marker="$WINEPREFIX/.vk930-prefix"
[ -f "$marker" ] && exit 0
echo "== making the Wine prefix $WINEPREFIX"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
if [ $display -eq 1 ]; then
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
else
    wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
fi
wineserver -w
touch "$marker"
