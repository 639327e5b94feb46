#!/usr/bin/env bash
# Makes the Wine prefix $WINEPREFIX once: Wine's own fonts in windows/Fonts (without them the
# dialogs get a Linux font and the wrong size) and the "null" graphics driver, so that windows
# are made, laid out and tested without a display. A prefix that has both is left alone.
set -euo pipefail
: "${WINEPREFIX:?WINEPREFIX names the prefix to make}"
marker="$WINEPREFIX/.vk930-prefix"
[ -f "$marker" ] && exit 0
echo "== making the Wine prefix $WINEPREFIX"
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1
wineserver -w
mkdir -p "$WINEPREFIX/drive_c/windows/Fonts"
cp /usr/share/wine/fonts/* "$WINEPREFIX/drive_c/windows/Fonts/"
wine reg add 'HKCU\Software\Wine\Drivers' /v Graphics /d null /f >/dev/null 2>&1
wineserver -w
touch "$marker"
